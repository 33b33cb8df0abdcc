// The log output as the program uses it: which file it makes and when, what reaches the file,
// the debugger and the console, and how CrashExit ends the process.
#include "log.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "log_fixture.h"
#include "log_testing.h"

namespace stdfs = std::filesystem;

namespace {

using LogDeathTest = LogTest;

// The dated name for the current local time, built independently of the log's own clock code.
std::string DatedNameNow() {
  const std::time_t now = std::time(nullptr);
  char name[64];
  std::strftime(name, sizeof name, "logs/crash_%Y-%m-%d_%H%M.log", std::localtime(&now));
  return name;
}

std::vector<std::string> FilesIn(const stdfs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : stdfs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST_F(LogTest, NothingLoggedMakesNoFile) {
  WriteFile("debug.fnt", "");  // neither "crash.log" nor the dated file may appear
  DebuggerCapture debugger;
  ConsolePrint("console %s\n", "only");
  EXPECT_EQ(debugger.Finish(), "");
  EXPECT_EQ(FilesIn("."), std::vector<std::string>{"debug.fnt"});
}

TEST_F(LogTest, FirstLogPrintTruncatesCrashLogAndLaterOnesAppendWithCrLf) {
  WriteFile("crash.log",
            "an earlier run's log, longer than what this run writes" + std::string(100, '.'));
  DebuggerCapture debugger;
  LogPrint("*** Exception ***\n");
  LogPrint("%s", "100% of %d\nsaid\r\n");  // '%' in an argument is text
  LogPrint("\nline %d\n", 3);              // a call's leading line feed stays alone
  const std::string expected = "*** Exception ***\r\n100% of %d\r\nsaid\r\n\nline 3\r\n";
  EXPECT_EQ(debugger.Finish(), expected);

  // Written through without a flush, and readable while the log holds the file open.
  EXPECT_EQ(ReadFile("crash.log"), expected);
#ifdef _WIN32
  // Other processes may read it, but not write or delete it.
  std::ofstream writer("crash.log", std::ios::app);
  EXPECT_FALSE(writer.is_open());
  std::error_code error;
  EXPECT_FALSE(stdfs::remove("crash.log", error));
#endif
}

TEST_F(LogTest, ConsoleGetsConvertedLogLinesAndUnconvertedConsoleText) {
  // Before LogOpen, which takes the standard output as it finds it: captured, it is a file, which
  // the console sink writes to as plain bytes.
  testing::internal::CaptureStdout();
  LogOpen(true);
  DebuggerCapture debugger;
  LogPrint("a\nb\n");
  ConsolePrint("c\nd %s", "e");
  EXPECT_EQ(debugger.Finish(), "a\r\nb\r\n");
  const std::string console = testing::internal::GetCapturedStdout();
#ifdef _WIN32
  // GoogleTest reads the captured output back in text mode, which makes each CR LF a LF.
  EXPECT_EQ(console, "a\nb\nc\nd e");
#else
  EXPECT_EQ(console, "a\r\nb\r\nc\nd e");
#endif
  // LogPrint used the file LogOpen made rather than opening it again.
  EXPECT_EQ(ReadFile("crash.log"), "a\r\nb\r\n");
}

TEST_F(LogTest, MarkerFileSelectsADatedFileInLogs) {
  WriteFile("debug.fnt", "");
  const std::string before = DatedNameNow();
  LogPrint("dated\n");
  const std::string after = DatedNameNow();

  ASSERT_TRUE(stdfs::is_directory("logs"));
  const std::vector<std::string> files = FilesIn("logs");
  ASSERT_EQ(files.size(), 1u);
  const std::string name = "logs/" + files[0];
  EXPECT_TRUE(name == before || name == after) << name << " is not " << before;
  EXPECT_EQ(ReadFile(name), "dated\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));

  // The next run finds the folder made already; in the same minute it replaces the file.
  LogResetForTesting();
  const std::string secondBefore = DatedNameNow();
  LogPrint("second\n");
  const std::string secondAfter = DatedNameNow();
  EXPECT_TRUE(ReadFile(secondAfter) == "second\r\n" || ReadFile(secondBefore) == "second\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));
}

TEST_F(LogTest, DatedFileThatCannotBeMadeFallsBackToCrashLog) {
  WriteFile("debug.fnt", "");
  WriteFile("logs", "a file where the folder should be");
  LogPrint("fallback\n");
  EXPECT_EQ(ReadFile("crash.log"), "fallback\r\n");
  EXPECT_TRUE(stdfs::is_regular_file("logs"));
}

TEST_F(LogTest, UnusableLogStillReachesTheDebuggerAndIsNotRetried) {
  stdfs::create_directory("crash.log");  // both creation attempts fail
  DebuggerCapture debugger;
  LogPrint("lost %d\n", 1);
  stdfs::remove("crash.log");
  LogPrint("lost %d\n", 2);
  EXPECT_EQ(debugger.Finish(), "lost 1\r\nlost 2\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));
}

// In death tests every log call is inside the statement: on Windows the child runs the test again
// from the start, and a log opened by the parent would keep the child from opening it.

TEST_F(LogDeathTest, CrashExitAsFirstOutputShowsTheBoxAndMakesNoFile) {
  WriteFile("debug.fnt", "");
  EXPECT_EXIT(
      {
        AnswerCrashBoxOnStderr();
        CrashExit("first and last %d\n", 7);
      },
      testing::ExitedWithCode(kCrashExitStatus),
      "message box \"CrashExit\\.\\.\\.\": first and last 7");
  EXPECT_EQ(FilesIn("."), std::vector<std::string>{"debug.fnt"});
}

TEST_F(LogDeathTest, CrashExitAppendsItsTextUnconvertedToTheLog) {
  EXPECT_EXIT(
      {
        AnswerCrashBoxOnStderr();
        LogPrint("*** Exception ***\n");
        CrashExit("%s\n", "fault at 100%");
      },
      testing::ExitedWithCode(kCrashExitStatus),
      "message box \"CrashExit\\.\\.\\.\": fault at 100%");
  EXPECT_EQ(ReadFile("crash.log"), "*** Exception ***\r\nfault at 100%\n");
}

}  // namespace
