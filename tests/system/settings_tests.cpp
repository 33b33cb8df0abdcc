// The settings file as the launcher reads it: which file the command line names, and what reaches
// the engine's script layer, seen through the engine's trace and the log file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/game_run.h"

namespace {

using harness::FileExists;
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

TEST(Settings, WithoutASettingsFileTheDefaultsStay) {
  GameFolder folder;
  std::remove(folder.File("game.ini").c_str());
  const auto run = RunGame(folder, kQuickRun);
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_EQ(InitializeLine(run), Initialize("Java", "code", "TestGame"));
  EXPECT_TRUE(Opened(run, "game.ini"));
  EXPECT_FALSE(FileExists(folder.File("crash.log"))) << "a missing file is not logged";
}

TEST(Settings, TheLastIniWordNamesTheFile) {
  GameFolder folder;
  WriteFileText(folder.File("a.ini"), kDeclarations + "JavaClasses(\"FromA\")\r\n");
  WriteFileText(folder.File("b.ini"), kDeclarations + "JavaClasses(\"FromB\")\r\n");
  const auto run = RunGame(folder, "ini=a.ini ini=b.ini" + kQuickRun);
  EXPECT_EQ(InitializeLine(run), Initialize("FromB", "code", "TestGame"));
  EXPECT_FALSE(Opened(run, "a.ini"));
  EXPECT_FALSE(Opened(run, "game.ini"));
}

TEST(Settings, TheIniWordIsCaseSensitive) {
  GameFolder folder;
  WriteFileText(folder.File("a.ini"), kDeclarations + "JavaClasses(\"FromA\")\r\n");
  WriteFileText(folder.File("game.ini"), kDeclarations + "JavaClasses(\"FromGame\")\r\n");
  const auto run = RunGame(folder, "INI=a.ini" + kQuickRun);
  EXPECT_EQ(InitializeLine(run), Initialize("FromGame", "code", "TestGame"));
  EXPECT_FALSE(Opened(run, "a.ini"));
}

TEST(Settings, AFileNameEndsAtTheFirstBlank) {
  GameFolder folder;
  WriteFileText(folder.File("my"), kDeclarations + "JavaGameClassName(\"FromMy\")\r\n");
  WriteFileText(folder.File("my settings.ini"),
                kDeclarations + "JavaGameClassName(\"FromMySettings\")\r\n");
  const auto run = RunGame(folder, "ini=my settings.ini" + kQuickRun);
  EXPECT_EQ(InitializeLine(run), Initialize("Java", "code", "FromMy"));
  EXPECT_TRUE(Opened(run, "my"));
  // The game object is made for the class the file names.
  EXPECT_NE(std::find(run.trace.begin(), run.trace.end(), "CreateGame(\"FromMy\", exe, 1)"),
            run.trace.end());
}

TEST(Settings, ALaterValueOverridesAnEarlierOneAndBlocksAreNotRead) {
  GameFolder folder;
  WriteFileText(folder.File("game.ini"),
                kDeclarations +
                    "JavaClasses(\"First\")\r\n"
                    "JAVACLASSESPACKED(\"Packed\") { JavaClasses(\"InBlock\") }\r\n"
                    "javaclasses(\"Second\")\r\n");
  const auto run = RunGame(folder, kQuickRun);
  EXPECT_EQ(InitializeLine(run), Initialize("Second", "Packed", "TestGame"));
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

  // Declaring the other two does not help the one left undeclared.
  WriteFileText(folder.File("game.ini"),
                "!JavaGameClassName(s) !JavaClassesPacked(s)\r\nJavaGameClassName(\"Mine\")\r\n"
                "JavaClasses(\"Mine\")\r\n");
  std::remove(folder.File("crash.log").c_str());
  const auto second = RunGame(folder, kQuickRun);
  EXPECT_EQ(InitializeLine(second), Initialize("Java", "code", "TestGame"));
  EXPECT_EQ(ReadFileText(folder.File("crash.log")),
            "[CZKParse] unknown keyword javaclasses: in file 'game.ini' in line 3\r\n"
            "JavaClasses(\"Mine\")\n\r\n"
            "Parser: cant parse file 'game.ini'\r\n");
}

}  // namespace
