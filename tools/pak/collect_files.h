// Finds the files a package is built from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pak_writer.h"

namespace pak {

// Every regular file under folder, at any depth, named relative to folder with '/' separators and
// sorted by name, so that the same folder always gives the same package. skip (the package being
// written, when it lies inside folder) is left out. False with a message in *error when the
// folder cannot be read.
bool CollectFiles(const std::filesystem::path& folder, const std::filesystem::path& skip,
                  std::vector<PakInput>* inputs, std::string* error);

}  // namespace pak
