// The settings file as the launcher reads it, end to end: which file the command line names, and
// what reaches the engine's script layer, seen through the engine's trace and the log file. The
// rules in detail are tested natively (tests/unit/launcher_core_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/game_run.h"

namespace {

using harness::GameFolder;
using harness::RunGame;
using harness::WriteFileText;

// The demo game's data0.pak declares the three keywords in keywords.ini.
const std::string kDeclarations = "!include(\"keywords.ini\")\r\n";

bool Traced(const harness::GameRun& run, const std::string& start) {
  return std::any_of(run.trace.begin(), run.trace.end(),
                     [&start](const std::string& line) { return line.rfind(start, 0) == 0; });
}

TEST(Settings, TheLastIniWordNamesTheFile) {
  GameFolder folder;
  WriteFileText(folder.File("a.ini"), kDeclarations + "JavaClasses(\"FromA\")\r\n");
  WriteFileText(folder.File("b.ini"),
                kDeclarations + "JavaClasses(\"FromB\")\r\nJavaGameClassName(\"GameB\")\r\n");
  const auto run = RunGame(folder, "ini=a.ini ini=b.ini -no-window -quit-after=1");
  EXPECT_TRUE(Traced(run, "InitializeGameScript(exe, \"FromB\", \"code\", \"GameB\")"));
  // The game object is made for the class the file names.
  EXPECT_TRUE(Traced(run, "CreateGame(\"GameB\", exe, 1)"));
  EXPECT_FALSE(Traced(run, "FS_open(\"a.ini\", 0)"));
  EXPECT_FALSE(Traced(run, "FS_open(\"game.ini\", 0)"));
}

TEST(Settings, AnUndeclaredKeywordFailsTheFileAndKeepsAllDefaults) {
  GameFolder folder;
  WriteFileText(folder.File("game.ini"),
                "JavaGameClassName(\"Mine\")\r\nJavaClasses(\"Mine\")\r\n");
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(Traced(run, "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")"));
  EXPECT_EQ(harness::ReadFileText(folder.File("crash.log")),
            "[CZKParse] unknown keyword javagameclassname: in file 'game.ini' in line 1\r\n"
            "JavaGameClassName(\"Mine\")\n\r\n"
            "Parser: cant parse file 'game.ini'\r\n");
}

}  // namespace
