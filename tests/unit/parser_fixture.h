// The parser's tests work as the program does: a script is a file loaded through the file-system
// library, a report is what reaches the log file. Each test runs in a temporary working folder
// (where the log writes "crash.log"), registered as the library's one source, with a fresh log.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "filesystem_api.h"
#include "log_testing.h"
#include "working_folder_fixture.h"
#include "zk_parse.h"

class ParserTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    WorkingFolderTest::SetUp();
    LogResetForTesting();
    ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  }
  void TearDown() override {
    LogResetForTesting();  // Windows cannot remove a file that is still open
    WorkingFolderTest::TearDown();
  }

 public:
  // Closes the log and removes its file, so that the next report starts a fresh one.
  static void RestartLog() {
    LogResetForTesting();
    std::filesystem::remove("crash.log");
  }
  static std::string LogText() { return ReadFile("crash.log"); }
  // One report as the log file holds it; a line feed in message must be given as CR LF.
  static std::string Report(const std::string& message, int line, const std::string& sourceLine,
                            const std::string& file = "script.txt") {
    return "[CZKParse] " + message + ": in file '" + file + "' in line " + std::to_string(line) +
           "\r\n" + sourceLine + "\n\r\n";
  }
};
