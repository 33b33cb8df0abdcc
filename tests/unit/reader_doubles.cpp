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

std::string Name(FS_HANDLE file) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(file));
}

const std::string& FileName(FS_HANDLE file) {
  return state.opened.at(reinterpret_cast<std::uintptr_t>(file) - 1);
}

void Record(std::string& text, const char* format, va_list arguments) {
  char buffer[2048];
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  text += buffer;
}

}  // namespace

FS_HANDLE FS_open(const char* name, int mode) {
  state.calls.push_back("FS_open(" + std::string(name) + ", " + std::to_string(mode) + ")");
  if (mode != 0 || state.files.count(name) == 0) return nullptr;
  // Handles are numbers, as the real library's are.
  state.opened.push_back(name);
  return reinterpret_cast<FS_HANDLE>(static_cast<std::uintptr_t>(state.opened.size()));
}

long FS_length(FS_HANDLE file) {
  state.calls.push_back("FS_length(#" + Name(file) + ")");
  if (state.failLength) return -1;
  const auto length = state.lengths.find(FileName(file));
  if (length != state.lengths.end()) return length->second;
  return static_cast<long>(state.files[FileName(file)].size());
}

// Always from the start of the file, which is all the reader's user asks for.
long FS_read(FS_HANDLE file, void* buffer, long count) {
  state.calls.push_back("FS_read(#" + Name(file) + ", " + std::to_string(count) + ")");
  if (state.failRead) return -1;
  const std::string& bytes = state.files[FileName(file)];
  const std::size_t size = std::min(bytes.size(), static_cast<std::size_t>(count));
  std::memcpy(buffer, bytes.data(), size);
  return static_cast<long>(size) + state.readSurplus;
}

int FS_close(FS_HANDLE file) {
  state.calls.push_back("FS_close(#" + Name(file) + ")");
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
