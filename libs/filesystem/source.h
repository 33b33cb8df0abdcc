// One place files come from: a folder on disk or a package. Sources get names already made safe by
// MakeLookupName, so they only join or look them up.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "open_file.h"

namespace vfs {

class Source {
 public:
  virtual ~Source() = default;

  // The file of that name, opened for reading, or nothing when this source does not have it.
  virtual std::optional<OpenFile> Open(const std::string& name) const = 0;

  // True when Open would find the file.
  virtual bool Exists(const std::string& name) const = 0;
};

// Serves the whole tree under folder: "x/y.txt" is folder/x/y.txt. Names match as the host's file
// system matches them (ignoring case on Windows, not on Linux). A folder that does not exist
// serves nothing.
std::unique_ptr<Source> MakeFolderSource(const std::string& folder);

// Serves the files of a package, ignoring ASCII case. The package is read and checked once, here;
// a package that is missing or damaged (see pak_format.h) serves nothing.
std::unique_ptr<Source> MakePackageSource(const std::string& path);

}  // namespace vfs
