// A file opened for reading: a window of a stream with its own read position. A loose file is a
// window over its whole stream; a file in a package is a window into the package's stream, which
// all files of that package share.
#pragma once

#include <cstdio>
#include <memory>

namespace vantor::fs {

using SharedStream = std::shared_ptr<std::FILE>;

// Opens a file for binary reading, shared so that the stream lives as long as its last user.
// Null when the file cannot be opened.
SharedStream OpenStream(const char* path);

class OpenFile {
 public:
  // The window starts at base and holds length bytes of stream.
  OpenFile(SharedStream stream, long base, long length);

  long length() const { return length_; }

  // Reads up to count bytes (count >= 0, buffer not null) from the read position and moves the
  // position past them. Returns the bytes read: fewer than count at the end of the file, 0 past
  // it. Only a stream that fails (a file changed on disk) gives fewer before the end.
  long Read(void* buffer, long count);

 private:
  SharedStream stream_;
  long base_;
  long length_;
  long position_ = 0;
};

}  // namespace vantor::fs
