// The package format of Vantor data files (".pak"). This header is the one description of the
// format; the library's reader and the pak tool's writer both use it.
//
// A package is one file with three parts, all integers little-endian and of fixed width:
//
//   header (16 bytes)
//     offset 0   4 bytes  magic "VPAK"
//     offset 4   u32      format version, kPakVersion
//     offset 8   u32      number of files
//     offset 12  u32      size in bytes of the table of contents that follows the header
//
//   table of contents, one entry per file, packed without padding
//     u32      offset of the file's bytes, counted from the start of the package
//     u32      size of the file in bytes
//     u16      length of the name (1 to kPakMaxNameLength)
//     bytes    the name, without a terminating zero
//
//   stored files: the bytes of every file, uncompressed, after the table
//
// Names are stored in the form MakeLookupName (path_normalize.h) gives them, which is what
// FS_path_normalize writes: '/' between parts, no "." or ".." parts, no leading or trailing '/';
// also no ':' and no Windows device name. Lookups ignore ASCII case, so two names that differ only
// in case cannot share a package.
//
// A reader accepts a package only when all of it agrees: the magic and version match, the entries
// fill the table exactly, every name follows the rule above and is unique, and every file lies
// between the end of the table and the end of the package. A package that breaks any of these
// rules serves no file at all: half of a damaged package is not worth the risk of serving wrong
// bytes, and the other sources keep working.
//
// A package, and so every offset and size in it, stays below 2 GiB (kPakMaxSize).
#pragma once

#include <cstddef>
#include <cstdint>

#include "filesystem_api.h"

namespace pak {

inline constexpr char kPakMagic[4] = {'V', 'P', 'A', 'K'};
inline constexpr std::uint32_t kPakVersion = 1;

inline constexpr std::size_t kPakHeaderSize = 16;
inline constexpr std::size_t kPakMagicOffset = 0;
inline constexpr std::size_t kPakVersionOffset = 4;
inline constexpr std::size_t kPakFileCountOffset = 8;
inline constexpr std::size_t kPakTableSizeOffset = 12;

// Size of an entry without its name: offset, size and name length.
inline constexpr std::size_t kPakEntryFixedSize = 4 + 4 + 2;

// The library takes names of at most FS_MAX_PATH characters, so a longer stored name could never
// be opened.
inline constexpr std::size_t kPakMaxNameLength = FS_MAX_PATH;

// FS_length reports a file's length as a long: 32 bits on Windows.
inline constexpr std::uint32_t kPakMaxSize = 0x7FFFFFFF;

// Little-endian integers, byte by byte, so that the format does not depend on the host.
inline std::uint16_t ReadU16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t ReadU32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

inline void WriteU16(unsigned char* bytes, std::uint16_t value) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
}

inline void WriteU32(unsigned char* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace pak
