// Every failure result of the API: bad names, bad handles, bad read arguments and calls outside
// FS_init ... FS_shutdown.
#include <cstdint>
#include <string>

#include "filesystem_api.h"
#include "filesystem_fixture.h"

namespace {

using FailureTest = FilesystemTest;

TEST_F(FailureTest, BadNames) {
  // Inside a package the host's own limits on paths do not get in the way.
  const std::string longest = "dir/" + std::string(FS_MAX_PATH - 4, 'n');
  MakePackage("data0.pak", {{longest, "long"}});
  ASSERT_EQ(FS_add_source("data0.pak", 1, 0, 0), 1);
  EXPECT_EQ(FsReadAll(longest.c_str()), "long");

  // One character too long, although it would normalise to the longest name.
  const std::string over = "/" + longest;
  const char* const bad[] = {over.c_str(), nullptr, "", "unknown.txt", "."};
  for (const char* name : bad) {
    EXPECT_EQ(FS_exists(name), 0) << (name ? name : "null");
    EXPECT_EQ(FS_open(name, 0), nullptr) << (name ? name : "null");
  }
  // Nor are the first three the name of a source.
  for (const char* name : {bad[0], bad[1], bad[2]}) EXPECT_EQ(FS_add_source(name, 0, 0, 0), 0);
  EXPECT_EQ(FS_open(longest.c_str(), 1), nullptr);  // 0 is the only mode
}

TEST_F(FailureTest, ReadArgumentsAndTheEndOfTheFile) {
  MakePackage("p.pak", {{"five.txt", "12345"}, {"empty.txt", ""}});
  ASSERT_EQ(FS_add_source("p.pak", 1, 0, 0), 1);
  FS_HANDLE file = FS_open("five.txt", 0);
  FS_HANDLE second = FS_open("five.txt", 0);
  ASSERT_NE(second, nullptr);

  char buffer[16] = {};
  EXPECT_EQ(FS_read(file, nullptr, 1), -1);
  EXPECT_EQ(FS_read(file, buffer, -1), -1);
  EXPECT_EQ(FS_read(file, buffer, 0), 0);
  EXPECT_EQ(FS_read(file, buffer, 3), 3);
  EXPECT_EQ(FS_read(second, buffer + 8, 2), 2);  // each handle has its own position
  EXPECT_EQ(FS_read(file, buffer + 3, 10), 2);   // only what is left
  EXPECT_EQ(FS_read(file, buffer, 10), 0);       // past the end
  EXPECT_EQ(std::string(buffer, 10), std::string("12345\0\0\0"
                                                 "12",
                                                 10));
  EXPECT_EQ(FsReadAll("empty.txt"), "");
}

// A closed file's handle, made-up ones, and every handle once the session has ended.
TEST_F(FailureTest, DeadHandlesAndCallsOutsideASession) {
  WriteFile("a.txt", "abc");
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  FS_HANDLE closed = FS_open("a.txt", 0);
  ASSERT_EQ(FS_close(closed), 0);
  FS_HANDLE open = FS_open("a.txt", 0);  // takes the closed file's slot, not its handle
  ASSERT_NE(open, nullptr);
  EXPECT_NE(open, closed);
  EXPECT_EQ(FS_length(open), 3);

  char buffer[8];
  const auto expectDead = [&buffer](FS_HANDLE file) {
    EXPECT_EQ(FS_length(file), -1) << file;
    EXPECT_EQ(FS_read(file, buffer, 1), -1) << file;
    EXPECT_EQ(FS_close(file), -1) << file;
  };
  for (std::uintptr_t madeUp : {std::uintptr_t{0}, std::uintptr_t{12345}, std::uintptr_t{0xBEEF}}) {
    expectDead(reinterpret_cast<FS_HANDLE>(madeUp));
  }
  expectDead(closed);

  EXPECT_EQ(FS_shutdown(), 1);
  EXPECT_EQ(FS_shutdown(), 0);
  EXPECT_EQ(FS_add_source(".", 0, 0, 0), 0);
  EXPECT_EQ(FS_exists("a.txt"), 0);
  EXPECT_EQ(FS_open("a.txt", 0), nullptr);
  expectDead(open);

  // A new session starts empty, and handles of the old one stay dead.
  ASSERT_EQ(FS_init(), 1);
  EXPECT_EQ(FS_exists("a.txt"), 0);
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
  EXPECT_NE(FS_open("a.txt", 0), nullptr);
  expectDead(open);
}

}  // namespace
