// Two launchers in one Wine prefix: the first claims "VantorMutex"; a second start is refused with
// the message of data\Running.scr in its start-up folder, unless it says "-ami".
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "harness/game_run.h"

namespace {

using harness::GameFolder;
using harness::RunGame;
using harness::WriteFileText;

bool Initialised(const std::vector<std::string>& trace) {
  return std::any_of(trace.begin(), trace.end(),
                     [](const std::string& line) { return line.rfind("CGame::Init(", 0) == 0; });
}

// A first instance that runs until the test ends it, and has passed the guard when constructed.
class FirstInstance {
 public:
  FirstInstance() : program_(Options(folder_)) {
    for (int waited = 0; waited < 300 && !Initialised(harness::ReadLines(trace())); ++waited) {
      Sleep(20);
    }
  }
  bool Ready() { return program_.Running() && Initialised(harness::ReadLines(trace())); }

 private:
  static harness::RunOptions Options(const GameFolder& folder) {
    harness::RunOptions options;
    options.program = folder.Launcher();
    options.arguments = "-no-window -quit-after-ms=60000";
    options.workingFolder = folder.Path();
    options.environment = {"VANTOR_TRACE=" + folder.File("trace.txt")};
    return options;
  }
  std::string trace() const { return folder_.File("trace.txt"); }

  GameFolder folder_;
  harness::BackgroundProgram program_;
};

class SingleInstance : public ::testing::Test {
 protected:
  // A second start from its own game folder (its start-up folder too).
  harness::GameRun SecondStart(const std::string& runningScr, const std::string& arguments = "") {
    GameFolder second;
    if (runningScr == kNoFile) {
      std::remove(second.File("data\\Running.scr").c_str());
    } else {
      WriteFileText(second.File("data\\Running.scr"), runningScr);
    }
    return RunGame(second, "-no-window -quit-after=1 " + arguments);
  }

  static constexpr const char* kNoFile = "<no file>";
};

TEST_F(SingleInstance, ASecondStartIsRefusedWithItsStartFoldersMessageUntilTheFirstHasEnded) {
  {
    FirstInstance first;
    ASSERT_TRUE(first.Ready());
    // The file's rules (defaults, line breaks, a long first line) are tested natively; here the
    // message reaches the box, and nothing of the start has happened.
    const auto refused = SecondStart("Vantor\nIs running already\nignored\n");
    ASSERT_TRUE(refused.result.started) << refused.result.error;
    EXPECT_EQ(refused.result.exitCode, 0u);
    ASSERT_EQ(refused.result.boxes.size(), 1u);
    EXPECT_EQ(refused.result.boxes[0].caption, "Vantor");
    EXPECT_EQ(refused.result.boxes[0].text, "Is running already");
    EXPECT_EQ(refused.trace, std::vector<std::string>{"GetEngineDllVersion() = 0x10001"});

    const auto silent = SecondStart(kNoFile);
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
    EXPECT_TRUE(first.Ready()) << "the first instance must be unaffected";
  }  // the first instance is ended here
  const auto run = SecondStart("Vantor\nrunning\n");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(run.result.boxes.empty());
  EXPECT_TRUE(Initialised(run.trace));
}

}  // namespace
