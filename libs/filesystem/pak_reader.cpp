#include "pak_reader.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "open_file.h"
#include "pak_format.h"
#include "path_normalize.h"

namespace vfs {
namespace {

using namespace pak;

bool ReadAt(std::FILE* stream, std::int64_t offset, unsigned char* bytes, std::size_t count) {
  return SeekTo(stream, offset) && std::fread(bytes, 1, count, stream) == count;
}

}  // namespace

std::optional<PakIndex> ReadPakIndex(std::FILE* stream) {
  const std::int64_t packageSize = StreamLength(stream);
  if (packageSize < static_cast<std::int64_t>(kPakHeaderSize)) return std::nullopt;

  unsigned char header[kPakHeaderSize];
  if (!ReadAt(stream, 0, header, sizeof header)) return std::nullopt;
  if (std::memcmp(header + kPakMagicOffset, kPakMagic, sizeof kPakMagic) != 0) return std::nullopt;
  if (ReadU32(header + kPakVersionOffset) != kPakVersion) return std::nullopt;

  const std::uint32_t fileCount = ReadU32(header + kPakFileCountOffset);
  const std::uint32_t tableSize = ReadU32(header + kPakTableSizeOffset);
  // Both are checked against the package before anything is allocated for them.
  if (tableSize > static_cast<std::uint64_t>(packageSize) - kPakHeaderSize) return std::nullopt;
  if (fileCount > tableSize / kPakEntryFixedSize) return std::nullopt;

  std::vector<unsigned char> table(tableSize);
  if (tableSize > 0 && !ReadAt(stream, kPakHeaderSize, table.data(), table.size())) {
    return std::nullopt;
  }

  const std::uint64_t dataStart = kPakHeaderSize + static_cast<std::uint64_t>(tableSize);
  PakIndex index;
  std::size_t position = 0;
  for (std::uint32_t i = 0; i < fileCount; ++i) {
    if (table.size() - position < kPakEntryFixedSize) return std::nullopt;
    const unsigned char* entry = table.data() + position;
    const std::uint32_t offset = ReadU32(entry);
    const std::uint32_t size = ReadU32(entry + 4);
    const std::uint16_t nameLength = ReadU16(entry + 8);
    position += kPakEntryFixedSize;

    if (nameLength == 0 || nameLength > kPakMaxNameLength) return std::nullopt;
    if (table.size() - position < nameLength) return std::nullopt;
    std::string name(reinterpret_cast<const char*>(table.data() + position), nameLength);
    position += nameLength;

    if (!IsLookupName(name)) return std::nullopt;
    if (size > kPakMaxSize) return std::nullopt;
    if (offset < dataStart || std::uint64_t{offset} + size > std::uint64_t(packageSize)) {
      return std::nullopt;
    }
    PakEntry value{offset, size};
    if (!index.emplace(FoldCase(name), value).second) return std::nullopt;
  }
  if (position != table.size()) return std::nullopt;
  return index;
}

}  // namespace vfs
