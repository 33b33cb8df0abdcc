#include "pak_writer.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>

#include "pak_format.h"
#include "path_normalize.h"

namespace pak {
namespace {

bool CheckName(const std::string& name, std::set<std::string>* foldedNames, std::string* error) {
  if (!vfs::IsLookupName(name)) {
    *error = "cannot store the name \"" + name + "\": it could never be opened";
    return false;
  }
  if (!foldedNames->insert(vfs::FoldCase(name)).second) {
    *error = "two files are named \"" + name + "\" when case is ignored";
    return false;
  }
  return true;
}

// The size of a file, read from the file itself so that it matches the bytes copied later.
bool FileSize(const std::filesystem::path& path, std::uint32_t* size, std::string* error) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  std::streamoff end = file ? static_cast<std::streamoff>(file.tellg()) : -1;
  if (end < 0) {
    *error = "cannot read " + path.string();
    return false;
  }
  if (end > static_cast<std::streamoff>(kPakMaxSize)) {
    *error = path.string() + " is too large for a package";
    return false;
  }
  *size = static_cast<std::uint32_t>(end);
  return true;
}

// Copies exactly size bytes of the file to out. A file that changed size since it was measured
// is an error; reading stops at size either way, so a file that keeps growing cannot run on.
bool CopyFile(const std::filesystem::path& path, std::uint32_t size, std::ofstream& out,
              std::string* error) {
  std::ifstream file(path, std::ios::binary);
  char buffer[64 * 1024];
  std::uint32_t left = size;
  while (file && left > 0) {
    file.read(buffer, left < sizeof buffer ? left : sizeof buffer);
    out.write(buffer, file.gcount());
    left -= static_cast<std::uint32_t>(file.gcount());
  }
  if (left != 0 || file.peek() != std::ifstream::traits_type::eof()) {
    *error = "cannot read " + path.string() + " (or it changed while being stored)";
    return false;
  }
  return true;
}

// Sets *created once the output exists, so that a failure removes only what this call made.
bool Write(const std::filesystem::path& output, const std::vector<PakInput>& inputs, bool* created,
           std::string* error) {
  std::set<std::string> foldedNames;
  std::vector<std::uint32_t> sizes(inputs.size());
  std::uint64_t tableSize = 0;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (!CheckName(inputs[i].name, &foldedNames, error)) return false;
    if (!FileSize(inputs[i].path, &sizes[i], error)) return false;
    tableSize += kPakEntryFixedSize + inputs[i].name.size();
  }

  std::vector<unsigned char> head(kPakHeaderSize + tableSize);
  std::copy(std::begin(kPakMagic), std::end(kPakMagic), head.begin() + kPakMagicOffset);
  WriteU32(&head[kPakVersionOffset], kPakVersion);
  WriteU32(&head[kPakFileCountOffset], static_cast<std::uint32_t>(inputs.size()));
  WriteU32(&head[kPakTableSizeOffset], static_cast<std::uint32_t>(tableSize));

  std::uint64_t offset = head.size();
  unsigned char* entry = &head[kPakHeaderSize];
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string& name = inputs[i].name;
    WriteU32(entry, static_cast<std::uint32_t>(offset));
    WriteU32(entry + 4, sizes[i]);
    WriteU16(entry + 8, static_cast<std::uint16_t>(name.size()));
    std::copy(name.begin(), name.end(), entry + kPakEntryFixedSize);
    entry += kPakEntryFixedSize + name.size();
    offset += sizes[i];
  }
  if (offset > kPakMaxSize) {
    *error = "the files are too large for one package (2 GiB at most)";
    return false;
  }

  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  if (!out) {
    *error = "cannot create " + output.string();
    return false;
  }
  *created = true;
  out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (!CopyFile(inputs[i].path, sizes[i], out, error)) return false;
  }
  out.close();
  if (!out) {
    *error = "cannot write " + output.string();
    return false;
  }
  return true;
}

}  // namespace

bool WritePackage(const std::filesystem::path& output, const std::vector<PakInput>& inputs,
                  std::string* error) {
  bool created = false;
  if (Write(output, inputs, &created, error)) return true;
  std::error_code ignored;
  if (created) std::filesystem::remove(output, ignored);
  return false;
}

}  // namespace pak
