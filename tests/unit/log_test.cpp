// The log as the program uses it: which file it makes and when. (What reaches the file, the
// parser's reports and the system tests show.) The working folder is the file-system library's
// source, so that a "debug.fnt" written into it is seen.
#include "log.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "log_folder_fixture.h"
#include "log_testing.h"

namespace stdfs = std::filesystem;

namespace {

using LogTest = LogFolderTest;

// The first line of a run replaces what an earlier run left; console output alone does not.
TEST_F(LogTest, TheFirstLineReplacesAnOldCrashLog) {
  const std::string old = "an earlier run's log, longer than this run's" + std::string(100, '.');
  WriteFile("crash.log", old);
  ConsolePrint("console %s\n", "only");
  EXPECT_EQ(ReadFile("crash.log"), old);
  LogPrint("*** Exception ***\n");
  EXPECT_EQ(ReadFile("crash.log"), "*** Exception ***\r\n");
}

// The dated name for the current local time, built independently of the log's own clock code.
std::string DatedNameNow() {
  const std::time_t now = std::time(nullptr);
  char name[64];
  std::strftime(name, sizeof name, "logs/crash_%Y-%m-%d_%H%M.log", std::localtime(&now));
  return name;
}

TEST_F(LogTest, AMarkerFileSelectsADatedFileInLogsElseCrashLog) {
  WriteFile("debug.fnt", "");
  // The second run finds the folder made already; in the same minute it replaces the file.
  for (const std::string text : {"first\n", "second\n"}) {
    LogResetForTesting();
    const std::string before = DatedNameNow();
    LogPrint("%s", text.c_str());
    const std::string after = DatedNameNow();
    const std::string expected = text.substr(0, text.size() - 1) + "\r\n";
    EXPECT_TRUE(ReadFile(before) == expected || ReadFile(after) == expected) << before;
  }
  EXPECT_FALSE(stdfs::exists("crash.log"));

  // A dated file that cannot be made: crash.log it is.
  LogResetForTesting();
  stdfs::remove_all("logs");
  WriteFile("logs", "a file where the folder should be");
  LogPrint("fallback\n");
  EXPECT_EQ(ReadFile("crash.log"), "fallback\r\n");
}

}  // namespace
