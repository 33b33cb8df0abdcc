#include <cstdint>
#include <cstdio>

#include "source.h"

namespace vfs {
namespace {

class FolderSource : public Source {
 public:
  explicit FolderSource(const std::string& folder) : prefix_(folder) {
    if (!prefix_.empty() && prefix_.back() != '/' && prefix_.back() != '\\') prefix_ += '/';
  }

  std::optional<OpenFile> Open(const std::string& name) const override {
    SharedStream stream = OpenStream((prefix_ + name).c_str());
    if (!stream) return std::nullopt;
    std::FILE* file = stream.get();
    // POSIX opens a folder like a file; reading from it fails, which tells it apart from a file
    // (even an empty one, whose first read simply meets the end).
    if (std::fgetc(file) == EOF && std::ferror(file)) return std::nullopt;
    const std::int64_t length = StreamLength(file);
    if (length < 0) return std::nullopt;
    return OpenFile(std::move(stream), 0, length);
  }

  bool Exists(const std::string& name) const override { return Open(name).has_value(); }

 private:
  std::string prefix_;
};

}  // namespace

std::unique_ptr<Source> MakeFolderSource(const std::string& folder) {
  return std::make_unique<FolderSource>(folder);
}

}  // namespace vfs
