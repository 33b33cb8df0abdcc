// The log output as the program uses it: which file it makes and when, and what reaches the file
// and the debugger. (How CrashExit ends the process, the system tests show.) The working folder is
// the file-system library's source, so that a "debug.fnt" written into it is seen.
#include "log.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "log_folder_fixture.h"
#include "log_testing.h"

#ifdef _WIN32
#include <fstream>
#endif

namespace stdfs = std::filesystem;

namespace {

using LogTest = LogFolderTest;

TEST_F(LogTest, TheFirstLineReplacesAnOldCrashLogAndLaterOnesAppendWithCrLf) {
  const std::string old = "an earlier run's log, longer than this run's" + std::string(100, '.');
  WriteFile("crash.log", old);
  ConsolePrint("console %s\n", "only");  // does not open the log
  EXPECT_EQ(ReadFile("crash.log"), old);
  LogPrint("*** Exception ***\n");
  LogPrint("%s", "100%\rof %d\nsaid\r\n");  // '%' in an argument is text; CR LF and CR stay
  LogPrint("\nline %d\n", 3);               // a call's leading line feed stays alone
  const std::string expected = "*** Exception ***\r\n100%\rof %d\r\nsaid\r\n\nline 3\r\n";
  // Written through without a flush, and readable while the log holds the file open.
  EXPECT_EQ(ReadFile("crash.log"), expected);
#ifdef _WIN32
  EXPECT_FALSE(std::ofstream("crash.log", std::ios::app).is_open()) << "others may only read it";
#endif
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

// Natively the log's debugger sink is stderr.
TEST_F(LogTest, AnUnusableLogStillReachesTheDebuggerAndIsNotTriedAgain) {
#ifdef _WIN32
  GTEST_SKIP() << "under Wine the system tests read the debugger's text, as the program's debugger";
#endif
  stdfs::create_directory("crash.log");  // both creation attempts fail
  testing::internal::CaptureStderr();
  LogPrint("lost %d\n", 1);
  stdfs::remove("crash.log");
  LogPrint("lost %d\n", 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "lost 1\r\nlost 2\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));
}

}  // namespace
