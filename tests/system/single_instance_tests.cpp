// Two launchers in one Wine prefix: the first claims "VantorMutex"; a second start is refused with
// the message of data\Running.scr in its start-up folder, unless it says "-ami".
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "harness/game_run.h"

namespace {

using harness::GameFolder;
using harness::WriteFileText;

bool Initialised(const std::vector<std::string>& trace) {
  return harness::Traced(trace, "CGame::Init(");
}

// A second start from its own game folder (its start-up folder too), with that Running.scr, or
// none when it is null.
harness::GameRun SecondStart(const char* runningScr, const std::string& arguments = "") {
  GameFolder second;
  if (runningScr == nullptr) {
    std::remove(second.File("data\\Running.scr").c_str());
  } else {
    WriteFileText(second.File("data\\Running.scr"), runningScr);
  }
  return RunGame(second, "-no-window -quit-after=1 " + arguments);
}

TEST(SingleInstance, ASecondStartIsRefusedWithItsStartFoldersMessageUntilTheFirstHasEnded) {
  {
    // The first instance runs until it is ended below, however long the rest takes.
    GameFolder firstFolder;
    const harness::BackgroundProgram first(GameOptions(firstFolder, "-no-window"));
    const auto firstReady = [&] {
      return first.Running() && Initialised(harness::ReadLines(firstFolder.File("trace.txt")));
    };
    for (int waited = 0; waited < 3000 && first.Running() && !firstReady(); ++waited) Sleep(20);
    ASSERT_TRUE(firstReady());

    // The file's rules (defaults, line breaks, a long first line) are tested natively; here the
    // message reaches the box, and nothing of the start has happened.
    const auto refused = SecondStart("Vantor\nIs running already\nignored\n");
    ASSERT_TRUE(refused.result.started) << refused.result.error;
    EXPECT_EQ(refused.result.exitCode, 0u);
    ASSERT_EQ(refused.result.boxes.size(), 1u);
    EXPECT_EQ(refused.result.boxes[0].caption, "Vantor");
    EXPECT_EQ(refused.result.boxes[0].text, "Is running already");
    EXPECT_EQ(refused.trace, std::vector<std::string>{"GetEngineDllVersion() = 0x10001"});

    const auto silent = SecondStart(nullptr);
    EXPECT_EQ(silent.result.exitCode, 0u);
    EXPECT_TRUE(silent.result.boxes.empty()) << "no file: refused without a box";
    EXPECT_FALSE(Initialised(silent.trace));

    // "-ami" anywhere in the command line lets the start go on; "-AMI" does not.
    const auto allowed = SecondStart("Vantor\nrunning\n", "x-amiX");
    EXPECT_TRUE(allowed.result.boxes.empty());
    EXPECT_TRUE(Initialised(allowed.trace));
    const auto upper = SecondStart("Vantor\nrunning\n", "-AMI");
    EXPECT_EQ(upper.result.boxes.size(), 1u);
    EXPECT_FALSE(Initialised(upper.trace));

    // The file comes from the start-up folder, not from the executable's.
    GameFolder executableFolder, startFolder;
    WriteFileText(executableFolder.File("data\\Running.scr"), "Executable folder\nwrong\n");
    WriteFileText(startFolder.File("data\\Running.scr"), "Start folder\nright\n");
    harness::RunOptions options;
    options.workingFolder = startFolder.Path();
    const auto elsewhere = RunGame(executableFolder, "-no-window -quit-after=1", options);
    ASSERT_EQ(elsewhere.result.boxes.size(), 1u);
    EXPECT_EQ(elsewhere.result.boxes[0].caption, "Start folder");
    EXPECT_EQ(elsewhere.result.boxes[0].text, "right");
    EXPECT_TRUE(firstReady()) << "the first instance must be unaffected";
  }  // the first instance is ended here
  const auto run = SecondStart("Vantor\nrunning\n");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(run.result.boxes.empty());
  EXPECT_TRUE(Initialised(run.trace));
}

}  // namespace
