#include "parser_fixture.h"

#include "filesystem_api.h"
#include "log_testing.h"

namespace stdfs = std::filesystem;

void ParserTest::SetUp() {
  WorkingFolderTest::SetUp();
  LogResetForTesting();
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
}

void ParserTest::TearDown() {
  LogResetForTesting();  // Windows cannot remove a file that is still open
  WorkingFolderTest::TearDown();
}

void ParserTest::RestartLog() {
  LogResetForTesting();
  std::error_code ignored;
  stdfs::remove("crash.log", ignored);
}
