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
using harness::ReadFileText;
using harness::RunGame;
using harness::WriteFileText;

// The demo game's data0.pak declares the three keywords in keywords.ini.
const std::string kDeclarations = "!include(\"keywords.ini\")\r\n";
const std::string kQuickRun = " -no-window -quit-after=1";

std::string Initialize(const std::string& classes, const std::string& packed,
                       const std::string& gameClass) {
  return "InitializeGameScript(exe, \"" + classes + "\", \"" + packed + "\", \"" + gameClass +
         "\")";
}

// The script layer's initialisation as the engine traced it, or why it is missing.
std::string InitializeLine(const harness::GameRun& run) {
  for (const std::string& line : run.trace) {
    if (line.rfind("InitializeGameScript(", 0) == 0) return line;
  }
  return "no InitializeGameScript line (exit code " + std::to_string(run.result.exitCode) + ")";
}

bool Opened(const harness::GameRun& run, const std::string& name) {
  const std::string call = "FS_open(\"" + name + "\", 0)";
  for (const std::string& line : run.trace) {
    if (line.rfind(call, 0) == 0) return true;
  }
  return false;
}

TEST(Settings, TheLastIniWordNamesTheFile) {
  GameFolder folder;
  WriteFileText(folder.File("a.ini"), kDeclarations + "JavaClasses(\"FromA\")\r\n");
  WriteFileText(folder.File("b.ini"),
                kDeclarations + "JavaClasses(\"FromB\")\r\nJavaGameClassName(\"GameB\")\r\n");
  const auto run = RunGame(folder, "ini=a.ini ini=b.ini" + kQuickRun);
  EXPECT_EQ(InitializeLine(run), Initialize("FromB", "code", "GameB"));
  EXPECT_FALSE(Opened(run, "a.ini"));
  EXPECT_FALSE(Opened(run, "game.ini"));
  // The game object is made for the class the file names.
  EXPECT_NE(std::find(run.trace.begin(), run.trace.end(), "CreateGame(\"GameB\", exe, 1)"),
            run.trace.end());
}

TEST(Settings, AnUndeclaredKeywordFailsTheFileAndKeepsAllDefaults) {
  GameFolder folder;
  WriteFileText(folder.File("game.ini"),
                "JavaGameClassName(\"Mine\")\r\nJavaClasses(\"Mine\")\r\n");
  const auto run = RunGame(folder, kQuickRun);
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_EQ(InitializeLine(run), Initialize("Java", "code", "TestGame"));
  EXPECT_EQ(ReadFileText(folder.File("crash.log")),
            "[CZKParse] unknown keyword javagameclassname: in file 'game.ini' in line 1\r\n"
            "JavaGameClassName(\"Mine\")\n\r\n"
            "Parser: cant parse file 'game.ini'\r\n");
}

}  // namespace
