// Damaged packages serve nothing at all, and the other sources keep working.
#include <functional>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"
#include "pak_format.h"

namespace {

using namespace pak;

// The package every case starts from: "a.txt" then "b.txt", five bytes each.
const NamedBytes kFiles = {{"a.txt", "alpha"}, {"b.txt", "bravo"}};
constexpr std::size_t kFirstEntry = kPakHeaderSize;
constexpr std::size_t kSecondEntry = kFirstEntry + kPakEntryFixedSize + 5;

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  WriteU32(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}
void PutU16(std::string& bytes, std::size_t at, std::uint16_t value) {
  WriteU16(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}

struct Damage {
  const char* what;
  std::function<void(std::string&)> apply;
};

void PrintTo(const Damage& damage, std::ostream* out) {
  *out << damage.what;
}

class PackageDamageTest : public FilesystemTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(PackageDamageTest, ServesNothingWhileOtherSourcesWork) {
  MakePackage("data0.pak", kFiles);
  MakePackage("data1.pak", {{"other.txt", "other"}});
  std::string bytes = ReadFile("data0.pak");
  const std::string intact = bytes;
  GetParam().apply(bytes);
  ASSERT_NE(bytes, intact);
  WriteFile("data0.pak", bytes);
  WriteFile("loose.txt", "loose");

  ASSERT_EQ(FS_add_source("data0.pak", 1, 0, 0), 1);
  ASSERT_EQ(FS_add_source("data1.pak", 1, 0, 0), 1);
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  EXPECT_EQ(FS_exists("a.txt"), 0);
  EXPECT_EQ(FS_exists("b.txt"), 0);
  EXPECT_EQ(FS_open("a.txt", 0), nullptr);
  EXPECT_EQ(FsReadAll("other.txt"), "other");
  EXPECT_EQ(FsReadAll("loose.txt"), "loose");
}

INSTANTIATE_TEST_SUITE_P(
    Damages, PackageDamageTest,
    ::testing::Values(
        Damage{"Empty", [](std::string& b) { b.clear(); }},
        Damage{"CutInHeader", [](std::string& b) { b.resize(kPakHeaderSize - 6); }},
        Damage{"CutInTable", [](std::string& b) { b.resize(kSecondEntry + 4); }},
        Damage{"CutInData", [](std::string& b) { b.pop_back(); }},
        Damage{"WrongMagic", [](std::string& b) { b[kPakMagicOffset] = 'X'; }},
        Damage{"NewerVersion", [](std::string& b) { PutU32(b, kPakVersionOffset, 2); }},
        Damage{"TablePastEnd", [](std::string& b) { PutU32(b, kPakTableSizeOffset, 1000); }},
        Damage{"MoreFilesThanTable", [](std::string& b) { PutU32(b, kPakFileCountOffset, 3); }},
        Damage{"FewerFilesThanTable", [](std::string& b) { PutU32(b, kPakFileCountOffset, 1); }},
        Damage{"FilePastEnd", [](std::string& b) { PutU32(b, kSecondEntry, 1000); }},
        Damage{"SizePastEnd", [](std::string& b) { PutU32(b, kSecondEntry + 4, 6); }},
        Damage{"FileInsideTable", [](std::string& b) { PutU32(b, kFirstEntry, kPakHeaderSize); }},
        Damage{"NameTooLong", [](std::string& b) { PutU16(b, kSecondEntry + 8, 300); }},
        Damage{"NamePastTable", [](std::string& b) { PutU16(b, kSecondEntry + 8, 6); }},
        Damage{"EmptyName", [](std::string& b) { PutU16(b, kFirstEntry + 8, 0); }},
        Damage{"NameNotNormal", [](std::string& b) { b[kSecondEntry + kPakEntryFixedSize] = '/'; }},
        Damage{"NamesEqualIgnoringCase",
               [](std::string& b) { b[kSecondEntry + kPakEntryFixedSize] = 'A'; }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

}  // namespace
