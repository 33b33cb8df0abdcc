#include "open_file.h"

#include <utility>

namespace vantor::fs {

SharedStream OpenStream(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return nullptr;
  return SharedStream(file, [](std::FILE* stream) { std::fclose(stream); });
}

OpenFile::OpenFile(SharedStream stream, long base, long length)
    : stream_(std::move(stream)), base_(base), length_(length) {}

long OpenFile::Read(void* buffer, long count) {
  long wanted = count < length_ - position_ ? count : length_ - position_;
  if (wanted <= 0) return 0;
  // The stream may be shared with other open files of the same package, so every read seeks to
  // its own position first.
  if (std::fseek(stream_.get(), base_ + position_, SEEK_SET) != 0) return 0;
  std::clearerr(stream_.get());
  std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(wanted), stream_.get());
  position_ += static_cast<long>(got);
  return static_cast<long>(got);
}

}  // namespace vantor::fs
