#include "pak_reader.h"
#include "path_normalize.h"
#include "source.h"

namespace vfs {
namespace {

class PackageSource : public Source {
 public:
  explicit PackageSource(const std::string& path) : stream_(OpenStream(path.c_str())) {
    if (!stream_) return;
    if (std::optional<PakIndex> index = ReadPakIndex(stream_.get())) index_ = std::move(*index);
    // A package with nothing to serve need not stay open.
    if (index_.empty()) stream_.reset();
  }

  std::optional<OpenFile> Open(const std::string& name) const override {
    const PakEntry* entry = Find(name);
    if (!entry) return std::nullopt;
    return OpenFile(stream_, entry->offset, entry->size);
  }

  bool Exists(const std::string& name) const override { return Find(name) != nullptr; }

 private:
  const PakEntry* Find(const std::string& name) const {
    auto found = index_.find(FoldCase(name));
    return found == index_.end() ? nullptr : &found->second;
  }

  SharedStream stream_;
  PakIndex index_;
};

}  // namespace

std::unique_ptr<Source> MakePackageSource(const std::string& path) {
  return std::make_unique<PackageSource>(path);
}

}  // namespace vfs
