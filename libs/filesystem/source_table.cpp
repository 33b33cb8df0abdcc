#include "source_table.h"

#include "path_normalize.h"

namespace vfs {
namespace {

bool IsPackageName(const std::string& name) {
  static const std::string kSuffix = ".pak";
  return name.size() > kSuffix.size() &&
         FoldCase(name.substr(name.size() - kSuffix.size())) == kSuffix;
}

}  // namespace

bool SourceTable::Add(const std::string& name) {
  if (sources_.size() >= kCapacity) return false;
  sources_.push_back(IsPackageName(name) ? MakePackageSource(name) : MakeFolderSource(name));
  return true;
}

std::optional<OpenFile> SourceTable::Open(const std::string& lookupName) const {
  for (auto source = sources_.rbegin(); source != sources_.rend(); ++source) {
    if (std::optional<OpenFile> file = (*source)->Open(lookupName)) return file;
  }
  return std::nullopt;
}

bool SourceTable::Exists(const std::string& lookupName) const {
  for (auto source = sources_.rbegin(); source != sources_.rend(); ++source) {
    if ((*source)->Exists(lookupName)) return true;
  }
  return false;
}

}  // namespace vfs
