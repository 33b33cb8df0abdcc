// The launcher driving our engine and file system, seen from outside: exit codes, boxes and the
// order of the calls that reach the two libraries.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/game_run.h"

namespace {

using harness::GameFolder;
using harness::RunGame;

std::vector<std::string> WithoutFileSystem(const std::vector<std::string>& trace) {
  std::vector<std::string> engine;
  std::copy_if(trace.begin(), trace.end(), std::back_inserter(engine),
               [](const std::string& line) { return line.rfind("FS_", 0) != 0; });
  return engine;
}

TEST(Launcher, RunsTheDemoUntilItQuitsWithItsCode) {
  GameFolder folder;
  const auto run = RunGame(folder, "-no-window -quit-after=25 -quit-code=3");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 3u);
  EXPECT_TRUE(run.result.boxes.empty());

  const std::vector<std::string> expected = {
      "GetEngineDllVersion() = 0x10001",
      "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")",
      "CreateGame(\"TestGame\", exe, 1)",
      "CGame::Init(\"-no-window -quit-after=25 -quit-code=3\", 10)",
      "CGame::Init = 0",
      "CGame::OnIdle x 25",
      "CGame::quit 3",
      "CGame::Destroy(1)",
      "UninitializeGameScript()",
  };
  EXPECT_EQ(WithoutFileSystem(run.trace), expected);
}

TEST(Launcher, MountsAllSourcesBeforeTheGameAndShutsTheFileSystemDownLast) {
  GameFolder folder;
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  ASSERT_EQ(run.result.exitCode, 0u);
  const auto& trace = run.trace;
  ASSERT_GE(trace.size(), 68u);
  EXPECT_EQ(trace[1], "FS_init()");
  for (int n = 0; n < 64; ++n) {
    EXPECT_EQ(trace[2 + n], "FS_add_source(\"data" + std::to_string(n) + ".pak\", 1, 0, 0)");
  }
  EXPECT_EQ(trace[66], "FS_add_source(\".\", 0, 0, 0)");
  EXPECT_EQ(trace[67], "FS_add_source(\"data\", 1, 0, 0)");
  EXPECT_EQ(trace.back(), "FS_shutdown()");
}

TEST(Launcher, RefusesAnEngineOfAnotherVersion) {
  GameFolder folder;
  const auto run = RunGame(folder, "-engine-version=0x10000");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, 0u);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "Error...");
  EXPECT_EQ(run.result.boxes[0].text, "Invalid engine dll version!");
  EXPECT_EQ(run.trace, std::vector<std::string>{"GetEngineDllVersion() = 0x10000"});
}

TEST(Launcher, AFailedInitSkipsTheLoopButStillShutsDown) {
  GameFolder folder;
  const auto run = RunGame(folder, "-init-result=1");
  const auto engine = WithoutFileSystem(run.trace);
  EXPECT_EQ(std::count(engine.begin(), engine.end(), "CGame::Init = 1"), 1);
  EXPECT_EQ(std::find_if(engine.begin(), engine.end(),
                         [](const std::string& l) { return l.rfind("CGame::OnIdle", 0) == 0; }),
            engine.end());
  ASSERT_GE(engine.size(), 2u);
  EXPECT_EQ(engine[engine.size() - 2], "CGame::Destroy(1)");
  EXPECT_EQ(engine.back(), "UninitializeGameScript()");
  EXPECT_EQ(run.trace.back(), "FS_shutdown()");
}

}  // namespace
