// The parser's tests work as the program does: a script is a file loaded through the file-system
// library, a report is what reaches the log file ("crash.log" in the working folder).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "log_folder_fixture.h"
#include "zk_parse.h"

class ParserTest : public LogFolderTest {
 public:
  static std::string LogText() { return ReadFile("crash.log"); }
};
