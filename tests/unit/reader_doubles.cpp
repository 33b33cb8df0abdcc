#include "reader_doubles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "filesystem_api.h"
#include "log.h"

doubles::FileSystem doubles::state;

namespace {

using doubles::state;

std::string Number(FS_HANDLE file) {
  return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(file));
}

void Record(std::string& text, const char* format, va_list arguments) {
  char buffer[2048];
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  text += buffer;
}

}  // namespace

FS_HANDLE FS_open(const char* name, int mode) {
  state.calls.push_back("FS_open(" + std::string(name) + ", " + std::to_string(mode) + ")");
  if (mode != 0 || std::strcmp(name, "a.ini") != 0) return nullptr;
  return reinterpret_cast<FS_HANDLE>(static_cast<std::uintptr_t>(++state.opened));
}

long FS_length(FS_HANDLE file) {
  state.calls.push_back("FS_length(" + Number(file) + ")");
  return state.length.value_or(static_cast<long>(state.bytes.size()));
}

// Always from the start of the file, which is all the reader's user asks for.
long FS_read(FS_HANDLE file, void* buffer, long count) {
  state.calls.push_back("FS_read(" + Number(file) + ", " + std::to_string(count) + ")");
  const std::size_t size = std::min(state.bytes.size(), static_cast<std::size_t>(count));
  std::memcpy(buffer, state.bytes.data(), size);
  return state.readCount.value_or(static_cast<long>(size));
}

int FS_close(FS_HANDLE file) {
  state.calls.push_back("FS_close(" + Number(file) + ")");
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
