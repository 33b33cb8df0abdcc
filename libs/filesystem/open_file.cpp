#include "open_file.h"

#include <sys/types.h>

#include <utility>

namespace vfs {

#if !defined(_WIN32)
static_assert(sizeof(off_t) >= sizeof(std::int64_t), "fseeko and ftello must reach past 4 GiB");
#endif

SharedStream OpenStream(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return nullptr;
  return SharedStream(file, [](std::FILE* stream) { std::fclose(stream); });
}

std::int64_t StreamLength(std::FILE* stream) {
#if defined(_WIN32)
  if (_fseeki64(stream, 0, SEEK_END) != 0) return -1;
  return _ftelli64(stream);
#else
  if (fseeko(stream, 0, SEEK_END) != 0) return -1;
  return ftello(stream);
#endif
}

bool SeekTo(std::FILE* stream, std::int64_t offset) {
#if defined(_WIN32)
  return _fseeki64(stream, offset, SEEK_SET) == 0;
#else
  return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

OpenFile::OpenFile(SharedStream stream, std::int64_t base, std::int64_t length)
    : stream_(std::move(stream)), base_(base), length_(length) {}

long OpenFile::Read(void* buffer, long count) {
  const std::int64_t left = length_ - position_;
  // No more than count, so the result fits the long it is returned in.
  const long wanted = count < left ? count : static_cast<long>(left);
  if (wanted <= 0) return 0;
  // The stream may be shared with other open files of the same package, so every read seeks to
  // its own position first.
  if (!SeekTo(stream_.get(), base_ + position_)) return 0;
  std::clearerr(stream_.get());
  std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(wanted), stream_.get());
  position_ += static_cast<std::int64_t>(got);
  return static_cast<long>(got);
}

}  // namespace vfs
