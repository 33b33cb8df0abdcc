// Packages: the pak tool builds one from a folder and gives exit codes; the library reads back
// every file, and serves nothing at all of a damaged package while the other sources keep working.
#include <filesystem>
#include <functional>
#include <string>

#include "filesystem_fixture.h"
#include "pak_format.h"

namespace {

using namespace pak;
using PakToolTest = FilesystemTest;

TEST_F(PakToolTest, RoundTripOfAFolder) {
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte += static_cast<char>(i);
  const NamedBytes files = {{"empty.dat", ""},
                            {"bytes.bin", everyByte},
                            {"big.bin", std::string(300000, 'z')},
                            {"Maps/Level 1/Map.TXT", "map"},
                            {"maps/deep/er/and/deeper.txt", "deep"}};
  for (const auto& [name, bytes] : files) WriteFile("assets/" + name, bytes);
  // The package is written inside the folder it packs, twice: it must not pack itself.
  std::string errors;
  ASSERT_EQ(RunPak({"assets/data0.pak", "assets"}, &errors), kExitSuccess) << errors;
  ASSERT_EQ(RunPak({"assets/data0.pak", "assets"}, &errors), kExitSuccess) << errors;
  EXPECT_EQ(errors, "");

  ASSERT_EQ(FS_add_source("assets/data0.pak", 1, 0, 0), 1);
  for (const auto& [name, bytes] : files) EXPECT_EQ(FsReadAll(name.c_str()), bytes) << name;
  EXPECT_EQ(FS_exists("data0.pak"), 0);
}

TEST_F(PakToolTest, ExitCodes) {
  WriteFile("assets/a.txt", "a");
  std::string errors;
  EXPECT_EQ(RunPak({"out.pak", "assets", "extra"}, &errors), kExitUsage);
  EXPECT_NE(errors.find("usage: pak OUTPUT.pak FOLDER"), std::string::npos) << errors;
  EXPECT_EQ(RunPak({"out.pak", "missing"}, &errors), kExitError);
  EXPECT_EQ(RunPak({"assets", "assets"}, &errors), kExitError);  // the output is a folder
  EXPECT_TRUE(std::filesystem::is_directory("assets"));
  EXPECT_FALSE(std::filesystem::exists("out.pak"));
}

using PackageDamageTest = FilesystemTest;

// The package every case starts from, byte by byte as the format describes it, written out here
// rather than made by the writer, so that a mistake the reader and writer share cannot pass.
const unsigned char kPackage[] = {
    0x56, 0x50, 0x41, 0x4B,        // magic "VPAK"
    0x01, 0x00, 0x00, 0x00,        // version 1
    0x02, 0x00, 0x00, 0x00,        // 2 files
    0x1E, 0x00, 0x00, 0x00,        // a table of 30 bytes
    0x2E, 0x00, 0x00, 0x00,        // the first file at 46,
    0x05, 0x00, 0x00, 0x00,        // 5 bytes long,
    0x05, 0x00,                    // its name 5 bytes long:
    0x61, 0x2E, 0x74, 0x78, 0x74,  // "a.txt"
    0x33, 0x00, 0x00, 0x00,        // the second file at 51,
    0x05, 0x00, 0x00, 0x00,        // 5 bytes long,
    0x05, 0x00,                    // its name 5 bytes long:
    0x62, 0x2E, 0x74, 0x78, 0x74,  // "b.txt"
    0x61, 0x6C, 0x70, 0x68, 0x61,  // "alpha"
    0x62, 0x72, 0x61, 0x76, 0x6F,  // "bravo"
};
const std::string kIntact(reinterpret_cast<const char*>(kPackage), sizeof kPackage);

// The reader serves that package's files, and the writer writes those very bytes.
TEST_F(PackageDamageTest, APackageWrittenByHandIsReadAndTheWriterWritesItsBytes) {
  WriteFile("data0.pak", kIntact);
  ASSERT_EQ(FS_add_source("data0.pak", 1, 0, 0), 1);
  EXPECT_EQ(FsReadAll("a.txt"), "alpha");
  EXPECT_EQ(FsReadAll("B.TXT"), "bravo");
  MakePackage("made.pak", {{"a.txt", "alpha"}, {"b.txt", "bravo"}});
  EXPECT_EQ(ReadFile("made.pak"), kIntact);
}

// Offsets in that package.
constexpr std::size_t kFirstEntry = kPakHeaderSize;
constexpr std::size_t kSecondEntry = kFirstEntry + kPakEntryFixedSize + 5;
constexpr std::size_t kSecondName = kSecondEntry + kPakEntryFixedSize;

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  WriteU32(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}
void PutU16(std::string& bytes, std::size_t at, std::uint16_t value) {
  WriteU16(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}

TEST_F(PackageDamageTest, ServesNothingWhileOtherSourcesWork) {
  MakePackage("data1.pak", {{"other.txt", "other"}});
  using Damage = std::function<void(std::string&)>;
  const std::pair<const char*, Damage> damages[] = {
      {"cut in header", [](std::string& b) { b.resize(kPakHeaderSize - 6); }},
      {"cut in table", [](std::string& b) { b.resize(kSecondEntry + 4); }},
      {"cut in data", [](std::string& b) { b.pop_back(); }},
      {"wrong magic", [](std::string& b) { b[kPakMagicOffset] = 'X'; }},
      {"newer version", [](std::string& b) { PutU32(b, kPakVersionOffset, 2); }},
      {"table past end", [](std::string& b) { PutU32(b, kPakTableSizeOffset, 1000); }},
      {"more files than table", [](std::string& b) { PutU32(b, kPakFileCountOffset, 3); }},
      {"fewer files than table", [](std::string& b) { PutU32(b, kPakFileCountOffset, 1); }},
      {"file past end", [](std::string& b) { PutU32(b, kSecondEntry, 1000); }},
      {"size past end", [](std::string& b) { PutU32(b, kSecondEntry + 4, 6); }},
      {"file inside table", [](std::string& b) { PutU32(b, kFirstEntry, kPakHeaderSize); }},
      {"name too long", [](std::string& b) { PutU16(b, kSecondEntry + 8, 300); }},
      {"name past table", [](std::string& b) { PutU16(b, kSecondEntry + 8, 6); }},
      {"empty name", [](std::string& b) { PutU16(b, kFirstEntry + 8, 0); }},
      {"name not normal", [](std::string& b) { b[kSecondName] = '/'; }},
      {"names equal ignoring case", [](std::string& b) { b[kSecondName] = 'A'; }}};
  for (const auto& [what, damage] : damages) {
    SCOPED_TRACE(what);
    std::string bytes = kIntact;
    damage(bytes);
    // A session of its own for each package: the library may hold the last one open.
    FS_shutdown();
    WriteFile("data0.pak", bytes);
    ASSERT_EQ(FS_init(), 1);
    ASSERT_EQ(FS_add_source("data0.pak", 1, 0, 0), 1);
    ASSERT_EQ(FS_add_source("data1.pak", 1, 0, 0), 1);
    EXPECT_EQ(FS_exists("a.txt") + FS_exists("b.txt"), 0);
    EXPECT_EQ(FS_open("a.txt", 0), nullptr);
    EXPECT_EQ(FsReadAll("other.txt"), "other");
  }
}

}  // namespace
