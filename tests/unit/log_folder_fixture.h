// Tests of what reaches the log: each runs in a temporary working folder (working_folder_fixture.h)
// that is the file-system library's one source, as the launcher registers the game folder, with a
// fresh log.
#pragma once

#include <gtest/gtest.h>

#include "filesystem_api.h"
#include "log_testing.h"
#include "working_folder_fixture.h"

class LogFolderTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    WorkingFolderTest::SetUp();
    LogResetForTesting();
    ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  }
  void TearDown() override {
    LogResetForTesting();  // closes the log first: Windows cannot remove an open file
    WorkingFolderTest::TearDown();
  }
};
