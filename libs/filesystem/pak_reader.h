// Reads and checks the table of contents of a package (format in pak_format.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>

namespace vfs {

struct PakEntry {
  std::int64_t offset;  // from the start of the package
  std::int64_t size;
};

// A package's files by name, the names folded to lower case (FoldCase).
using PakIndex = std::unordered_map<std::string, PakEntry>;

// The index of the package in stream, or nothing when the package breaks any rule of the format:
// a package is taken whole or not at all.
std::optional<PakIndex> ReadPakIndex(std::FILE* stream);

}  // namespace vfs
