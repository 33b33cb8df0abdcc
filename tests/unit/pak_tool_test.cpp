// The pak tool: a package built from a folder gives back every file; errors give exit codes.
#include <filesystem>
#include <sstream>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"
#include "pak_command.h"

namespace {

using namespace pak;
using PakToolTest = FilesystemTest;

int RunPakWith(std::initializer_list<const char*> arguments, std::string* errors) {
  std::vector<const char*> argv = {"pak"};
  argv.insert(argv.end(), arguments);
  std::ostringstream stream;
  const int result = RunPak(static_cast<int>(argv.size()), argv.data(), stream);
  *errors = stream.str();
  return result;
}

TEST_F(PakToolTest, RoundTripOfAFolder) {
  std::string every_byte;
  for (int i = 0; i < 256; ++i) every_byte += static_cast<char>(i);
  const NamedBytes files = {{"game.ini", "[game]\r\nname=demo\n"},
                            {"empty.dat", ""},
                            {"bytes.bin", every_byte},
                            {"big.bin", std::string(300000, 'z')},
                            {"Maps/Level 1/Map.TXT", "map"},
                            {"maps/deep/er/and/deeper.txt", "deep"}};
  for (const auto& [name, bytes] : files) WriteFile("assets/" + name, bytes);
  // The package is written inside the folder it packs, twice: it must not pack itself.
  std::string errors;
  ASSERT_EQ(RunPakWith({"assets/data0.pak", "assets"}, &errors), kExitSuccess) << errors;
  ASSERT_EQ(RunPakWith({"assets/data0.pak", "assets"}, &errors), kExitSuccess) << errors;
  EXPECT_EQ(errors, "");

  ASSERT_EQ(FS_add_source("assets/data0.pak", 1, 0, 0), 1);
  for (const auto& [name, bytes] : files) EXPECT_EQ(FsReadAll(name.c_str()), bytes) << name;
  EXPECT_EQ(FS_exists("data0.pak"), 0);
}

TEST_F(PakToolTest, ExitCodes) {
  WriteFile("assets/a.txt", "a");
  std::string errors;
  EXPECT_EQ(RunPakWith({}, &errors), kExitUsage);
  EXPECT_NE(errors.find("usage: pak OUTPUT.pak FOLDER"), std::string::npos) << errors;
  EXPECT_EQ(RunPakWith({"out.pak"}, &errors), kExitUsage);
  EXPECT_EQ(RunPakWith({"out.pak", "assets", "extra"}, &errors), kExitUsage);

  EXPECT_EQ(RunPakWith({"out.pak", "missing"}, &errors), kExitError);
  EXPECT_NE(errors.find("missing"), std::string::npos) << errors;
  EXPECT_EQ(RunPakWith({"out.pak", "assets/a.txt"}, &errors), kExitError);
  EXPECT_EQ(RunPakWith({"assets", "assets"}, &errors), kExitError);  // output is a folder
  EXPECT_TRUE(std::filesystem::is_directory("assets"));
  EXPECT_FALSE(std::filesystem::exists("out.pak"));
}

}  // namespace
