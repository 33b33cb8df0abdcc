#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

const char* TraceFileName() {
  static const char* name = [] {
    const char* value = std::getenv("VANTOR_TRACE");
    return (value && *value) ? value : nullptr;
  }();
  return name;
}

}  // namespace

bool TraceEnabled() {
  return TraceFileName() != nullptr;
}

void TraceLine(const char* format, ...) {
  const char* name = TraceFileName();
  if (!name) return;

  char line[kTraceLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);

  // Opened and closed per line: the two libraries and the tests share the file, and a process that
  // ends abruptly must not leave lines in a buffer.
  if (FILE* file = std::fopen(name, "ab")) {
    std::fputs(line, file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}
