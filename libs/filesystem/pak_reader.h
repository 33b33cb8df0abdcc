// Reads and checks the table of contents of a package (format in pak_format.h).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>

namespace vantor::fs {

struct PakEntry {
  long offset;  // from the start of the package
  long size;
};

// A package's files by name, the names folded to lower case (FoldCase).
using PakIndex = std::unordered_map<std::string, PakEntry>;

// The index of the package in stream, or nothing when the package breaks any rule of the format:
// a package is taken whole or not at all.
std::optional<PakIndex> ReadPakIndex(std::FILE* stream);

}  // namespace vantor::fs
