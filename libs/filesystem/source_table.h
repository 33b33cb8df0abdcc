// The registered sources, searched from the last registered to the first, so that loose files
// (registered after the packages) and higher-numbered packages override what came before.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "source.h"

namespace vfs {

class SourceTable {
 public:
  // Far more than the program's 66; the bound keeps a runaway caller from growing the table.
  static constexpr std::size_t kCapacity = 256;

  // Registers a package (a name ending in ".pak", any case) or a folder. False when the table is
  // full.
  bool Add(const std::string& name);

  // The file from the last source that has it.
  std::optional<OpenFile> Open(const std::string& lookupName) const;
  bool Exists(const std::string& lookupName) const;

  void Clear() { sources_.clear(); }

 private:
  std::vector<std::unique_ptr<Source>> sources_;
};

}  // namespace vfs
