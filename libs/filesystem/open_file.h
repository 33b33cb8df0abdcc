// A file opened for reading: a window of a stream with its own read position. A loose file is a
// window over its whole stream; a file in a package is a window into the package's stream, which
// all files of that package share.
//
// Positions and lengths are 64-bit everywhere inside the library. A long, which fseek, ftell and
// the library's own FS_length and FS_read work with, has 32 bits on Windows: a file or package over
// 2 GiB would be measured wrong, and one over 4 GiB as a cut length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

namespace vfs {

using SharedStream = std::shared_ptr<std::FILE>;

// Opens a file for binary reading, shared so that the stream lives as long as its last user.
// Null when the file cannot be opened.
SharedStream OpenStream(const char* path);

// The length of the whole stream, whose position it leaves at the end; -1 when it cannot be told.
std::int64_t StreamLength(std::FILE* stream);

// Moves the stream's position to offset from its start; false when that fails.
bool SeekTo(std::FILE* stream, std::int64_t offset);

class OpenFile {
 public:
  // The window starts at base and holds length bytes of stream.
  OpenFile(SharedStream stream, std::int64_t base, std::int64_t length);

  std::int64_t Length() const { return length_; }

  // Reads up to count bytes (count >= 0, buffer not null) from the read position and moves the
  // position past them. Returns the bytes read: fewer than count at the end of the file, 0 past
  // it. Only a stream that fails (a file changed on disk) gives fewer before the end.
  long Read(void* buffer, long count);

 private:
  SharedStream stream_;
  std::int64_t base_;
  std::int64_t length_;
  std::int64_t position_ = 0;
};

}  // namespace vfs
