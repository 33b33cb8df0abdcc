#include "reader_doubles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "filesystem_api.h"
#include "log.h"

doubles::FileSystem doubles::state;

namespace {

using doubles::state;

constexpr char kBytes[] = "0123456789";  // those of "a.ini"
constexpr long kSize = sizeof kBytes - 1;

void Record(std::string& text, const char* format, va_list arguments) {
  char buffer[2048];
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  text += buffer;
}

}  // namespace

FS_HANDLE FS_open(const char* name, int mode) {
  if (mode != 0 || std::strcmp(name, "a.ini") != 0) return nullptr;
  ++state.opened;
  return reinterpret_cast<FS_HANDLE>(&state);
}

long FS_length(FS_HANDLE) {
  return state.length.value_or(kSize);
}

// Always from the start of the file, which is all the reader's user asks for; only ever asked
// for a length that FS_length gave.
long FS_read(FS_HANDLE, void* buffer, long count) {
  ++state.reads;
  const long size = std::min(kSize, count);
  std::memcpy(buffer, kBytes, static_cast<std::size_t>(size));
  return state.readCount.value_or(size);
}

int FS_close(FS_HANDLE) {
  ++state.closed;
  return 0;
}

void ConsolePrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Record(state.console, format, arguments);
  va_end(arguments);
}

void LogPrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Record(state.log, format, arguments);
  va_end(arguments);
}
