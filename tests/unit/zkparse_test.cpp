// The script checker's binary form and its usage, run as its users run it: in a folder of scripts.
// What it prints for scripts the script cases show (script_cases.py).
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "working_folder_fixture.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out;  // standard output, byte for byte
};

class ZkparseTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    WorkingFolderTest::SetUp();
    // Keywords in the data folder, as the game keeps them in a package: found by name alone.
    WriteFile("data/keywords.ini", "!k(i, f, s)\n!j(i)\n");
  }

  // Runs the tool in the working folder, through the system's shell (cmd under Wine); standard
  // error goes to err.txt there.
  static ToolRun Zkparse(const std::string& arguments) {
    const char* tool = std::getenv("ZKPARSE");
    EXPECT_NE(tool, nullptr) << "ZKPARSE names the tool";
    std::string command = tool ? tool : "false";
#ifdef _WIN32
    // ctest hands over the Linux path: Wine's drive Z: is the Linux root.
    if (command[0] == '/') command = "Z:" + command;
    for (char& c : command) c = c == '/' ? '\\' : c;
    const int status = std::system((command + " " + arguments + " >out.txt 2>err.txt").c_str());
#else
    const int wait =
        std::system(("'" + command + "' " + arguments + " >out.txt 2>err.txt").c_str());
    const int status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
#endif
    return {status, ReadFile("out.txt")};
  }
};

// Little-endian 32-bit numbers, and texts after their length, as the binary form holds them.
std::string Int(std::uint32_t value) {
  return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
          static_cast<char>(value >> 24)};
}
std::string Text(const std::string& text) {
  return Int(static_cast<std::uint32_t>(text.size())) + text;
}

TEST_F(ZkparseTest, BinaryFormGoesToAFileOrToStandardOutputAlone) {
  WriteFile("one.ini", "!k(i, f, s) k(%n, 2.5, \"a\") { k(1, 0.5, \"\") }");
  // A call: 16, its name, each value (type 0, 1 or 2, the value, its variable's name or 0), then
  // 32 and its block's calls up to -1 if it has one; -1 ends the list.
  const std::string expected =
      Int(16) + Text("k") + Int(0) + Int(7) + Text("n") + Int(1) + Int(0x40200000) + Int(0) +
      Int(2) + Text("a") + Int(0) + Int(32) +  //
      Int(16) + Text("k") + Int(0) + Int(1) + Int(0) + Int(1) + Int(0x3F000000) + Int(0) + Int(2) +
      Text("") + Int(0) + Int(-1) + Int(-1);
  EXPECT_EQ(Zkparse("--int n=7 --binary out.bin one.ini").status, 0);
  EXPECT_EQ(ReadFile("out.bin"), expected);
  // On standard output the reports stay in the log, so the bytes are the binary form alone.
  WriteFile("two.ini", "!k(i) k(5); !include(\"missing.ini\")");
  const ToolRun run = Zkparse("--binary - two.ini");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Int(16) + Text("k") + Int(0) + Int(5) + Int(0) + Int(-1));
  EXPECT_NE(ReadFile("crash.log").find("its not c!"), std::string::npos);

  // A missing file: exit status 2, no list, no file.
  EXPECT_EQ(Zkparse("--binary none.bin missing.ini").status, 2);
  EXPECT_FALSE(std::filesystem::exists("none.bin"));
}

// A warning fails the check under --werror also when standard output holds the binary form, byte
// for byte (a 10 stays one byte on Windows too); a binary form that cannot be written is status 2.
TEST_F(ZkparseTest, WerrorCountsWarningsBesideTheBinaryFormAndAnUnwritableOneIsStatus2) {
  WriteFile("warn.ini", "!include(\"keywords.ini\") j(10) {");
  const ToolRun run = Zkparse("--werror --binary - warn.ini");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Int(16) + Text("j") + Int(0) + Int(10) + Int(0) + Int(-1));
  EXPECT_EQ(Zkparse("--binary none/out.bin warn.ini").status, 2);
  EXPECT_EQ(ReadFile("err.txt").find("zkparse: cannot write"), 0u);
}

TEST_F(ZkparseTest, WrongUsageExitsWith64WithTheUsageText) {
  WriteFile("game.ini", "");
  for (const char* arguments :
       {"", "game.ini other.ini", "--tree", "--verbose game.ini", "--int n game.ini",
        "--int n=x game.ini", "--int n=4294967296 game.ini", "--float n=1.5x game.ini",
        "--float n= game.ini", "--string =v game.ini", "game.ini --binary"}) {
    SCOPED_TRACE(arguments);
    const ToolRun run = Zkparse(arguments);
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile("err.txt").find("zkparse: "), 0u);
    EXPECT_NE(ReadFile("err.txt").find("usage: zkparse [--int NAME=VALUE]..."), std::string::npos);
  }
  const ToolRun help = Zkparse("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.find("usage: zkparse [--int NAME=VALUE]..."), 0u);
}

}  // namespace
