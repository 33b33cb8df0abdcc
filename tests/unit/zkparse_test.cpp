// The script checker run as its users run it: in a folder of scripts, with its exit status, its
// standard output and the crash.log it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

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

  // Runs the tool in the working folder; standard error goes to err.txt there.
  static ToolRun Zkparse(const std::string& arguments) {
    const char* tool = std::getenv("ZKPARSE");
    EXPECT_NE(tool, nullptr) << "ZKPARSE names the tool";
    const int status = std::system(
        ("'" + std::string(tool ? tool : "false") + "' " + arguments + " >out.txt 2>err.txt")
            .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile("out.txt")};
  }
};

TEST_F(ZkparseTest, AValidFileExitsWith0AndPrintsItsTree) {
  WriteFile("game.ini",
            "!include(\"keywords.ini\")\nk(-1, 2.5, \"a\\tb\") { j(%n) }\nj(2) k(%n, %g, %s)\n");
  const ToolRun run = Zkparse("--int n=7 --float g=0.5 --string s=text --tree game.ini");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "k(int -1, float 2.5, string \"a\\tb\") {\n"
            "  j(int 7 (%n))\n"
            "}\n"
            "j(int 2)\n"
            "k(int 7 (%n), float 0.5 (%g), string \"text\" (%s))\n");
  EXPECT_EQ(ReadFile("crash.log"), "");

  // Without --tree nothing is printed; declarations alone are parsed too.
  EXPECT_EQ(Zkparse("game.ini --int n=1 --float g=1 --string s=x").out, "");
  WriteFile("empty.ini", "// nothing but declarations\n!a(i)\n");
  const ToolRun empty = Zkparse("--tree empty.ini");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
}

TEST_F(ZkparseTest, BinaryFormGoesToAFileOrToStandardOutputAlone) {
  WriteFile("one.ini", "!k(i) k(5)");
  // Node marker 16, the name "k", an int 5 without a name, the end of the list.
  const std::string expected("\x10\0\0\0\x01\0\0\0k\0\0\0\0\x05\0\0\0\0\0\0\0\xFF\xFF\xFF\xFF", 25);
  EXPECT_EQ(Zkparse("--binary out.bin one.ini").status, 0);
  EXPECT_EQ(ReadFile("out.bin"), expected);
  // On standard output the reports stay in the log, so the bytes are the binary form alone.
  WriteFile("two.ini", "!k(i) k(5); !include(\"missing.ini\")");
  const ToolRun run = Zkparse("--binary - two.ini");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, expected);
  EXPECT_NE(ReadFile("crash.log").find("its not c!"), std::string::npos);

  // A missing file: exit status 2, no list, no file.
  EXPECT_EQ(Zkparse("--binary none.bin missing.ini").status, 2);
  EXPECT_FALSE(std::filesystem::exists("none.bin"));
}

TEST_F(ZkparseTest, AFailingFileExitsWith1AndEchoesTheLog) {
  WriteFile("bad.ini", "!include(\"keywords.ini\")\nj(%n)\n");
  const ToolRun run = Zkparse("--tree --float n=1 bad.ini");
  EXPECT_EQ(run.status, 1);
  const std::string expected =
      "[CZKParse] variable callback not specified: unable to read 'n' variable!\r\n"
      ": in file 'bad.ini' in line 2\r\n"
      "j(%n)\n\r\n"
      "Parser: cant parse file 'bad.ini'\r\n";
  EXPECT_EQ(ReadFile("crash.log"), expected);
  EXPECT_EQ(run.out, expected) << "standard output holds the same bytes as the log";
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
