// Writes packages in the format of pak_format.h.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pak {

struct PakInput {
  std::string name;            // the name inside the package, as IsLookupName wants it
  std::filesystem::path path;  // the file whose bytes are stored
};

// Writes a package holding the inputs, in the given order, to output. Refuses names that could
// never be opened (see IsLookupName), names that differ only in case, and packages over
// kPakMaxSize. On failure returns false with a message in *error and removes what it had written.
bool WritePackage(const std::filesystem::path& output, const std::vector<PakInput>& inputs,
                  std::string* error);

}  // namespace pak
