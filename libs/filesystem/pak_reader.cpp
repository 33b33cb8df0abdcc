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
  const std::int64_t package_size = StreamLength(stream);
  if (package_size < static_cast<std::int64_t>(kPakHeaderSize)) return std::nullopt;

  unsigned char header[kPakHeaderSize];
  if (!ReadAt(stream, 0, header, sizeof header)) return std::nullopt;
  if (std::memcmp(header + kPakMagicOffset, kPakMagic, sizeof kPakMagic) != 0) return std::nullopt;
  if (ReadU32(header + kPakVersionOffset) != kPakVersion) return std::nullopt;

  const std::uint32_t file_count = ReadU32(header + kPakFileCountOffset);
  const std::uint32_t table_size = ReadU32(header + kPakTableSizeOffset);
  // Both are checked against the package before anything is allocated for them.
  if (table_size > static_cast<std::uint64_t>(package_size) - kPakHeaderSize) return std::nullopt;
  if (file_count > table_size / kPakEntryFixedSize) return std::nullopt;

  std::vector<unsigned char> table(table_size);
  if (table_size > 0 && !ReadAt(stream, kPakHeaderSize, table.data(), table.size())) {
    return std::nullopt;
  }

  const std::uint64_t data_start = kPakHeaderSize + static_cast<std::uint64_t>(table_size);
  PakIndex index;
  std::size_t position = 0;
  for (std::uint32_t i = 0; i < file_count; ++i) {
    if (table.size() - position < kPakEntryFixedSize) return std::nullopt;
    const unsigned char* entry = table.data() + position;
    const std::uint32_t offset = ReadU32(entry);
    const std::uint32_t size = ReadU32(entry + 4);
    const std::uint16_t name_length = ReadU16(entry + 8);
    position += kPakEntryFixedSize;

    if (name_length == 0 || name_length > kPakMaxNameLength) return std::nullopt;
    if (table.size() - position < name_length) return std::nullopt;
    std::string name(reinterpret_cast<const char*>(table.data() + position), name_length);
    position += name_length;

    if (!IsLookupName(name)) return std::nullopt;
    if (size > kPakMaxSize) return std::nullopt;
    if (offset < data_start || std::uint64_t{offset} + size > std::uint64_t(package_size)) {
      return std::nullopt;
    }
    PakEntry value{offset, size};
    if (!index.emplace(FoldCase(name), value).second) return std::nullopt;
  }
  if (position != table.size()) return std::nullopt;
  return index;
}

}  // namespace vfs
