#include "file.h"

#include <climits>

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

// The library answers with a long, which is wider than an int on 64-bit Linux: a length that an int
// cannot hold is refused rather than cut, because a cut length would have the file read in part as
// if that part were all of it.
int file::length() {
  const long result = FS_length(handle);
  if (result < 0 || result > INT_MAX) throw file_exception(file_exception::kLength);
  return static_cast<int>(result);
}

// A count beyond what was asked for cannot be true: the buffer holds no more than size bytes.
int file::read(void* buffer, int size) {
  const long result = FS_read(handle, buffer, size);
  if (result < 0 || result > size) throw file_exception(file_exception::kRead);
  return static_cast<int>(result);
}

void file::close() {
  if (handle != nullptr) FS_close(handle);
  handle = nullptr;
}

}  // namespace fs
