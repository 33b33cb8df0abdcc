#include "file.h"

#include "log.h"

namespace fs {

void file::open(const char* name, int mode) {
  handle = FS_open(name, mode);
  if (handle == nullptr) {
    // Console only: the caller decides whether the failure is worth a log line.
    ConsolePrint("WARNING [file] cannot open file %s\n", name);
    throw file_exception(file_exception::kOpen);
  }
}

int file::length() {
  const long result = FS_length(handle);
  if (result == -1) throw file_exception(file_exception::kLength);
  return static_cast<int>(result);
}

int file::read(void* buffer, int size) {
  const long result = FS_read(handle, buffer, size);
  if (result == -1) throw file_exception(file_exception::kRead);
  return static_cast<int>(result);
}

void file::close() {
  if (handle != nullptr) FS_close(handle);
  handle = nullptr;
}

}  // namespace fs
