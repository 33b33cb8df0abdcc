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

TEST_F(SingleInstance, ASecondStartIsRefusedWithTheMessageOfItsFile) {
  FirstInstance first;
  ASSERT_TRUE(first.Ready());

  // The file's rules (defaults, line breaks, a long first line) are tested natively; here the
  // message reaches the box, and nothing of the start has happened.
  {
    const auto run = SecondStart("Vantor\nIs running already\nignored\n");
    ASSERT_TRUE(run.result.started) << run.result.error;
    EXPECT_EQ(run.result.exitCode, 0u);
    ASSERT_EQ(run.result.boxes.size(), 1u);
    EXPECT_EQ(run.result.boxes[0].caption, "Vantor");
    EXPECT_EQ(run.result.boxes[0].text, "Is running already");
    EXPECT_EQ(run.trace, std::vector<std::string>{"GetEngineDllVersion() = 0x10001"});
  }
  {
    SCOPED_TRACE("no file");
    const auto run = SecondStart(kNoFile);
    EXPECT_EQ(run.result.exitCode, 0u);
    EXPECT_TRUE(run.result.boxes.empty());
    EXPECT_FALSE(Initialised(run.trace));
  }
  for (const char* ami : {"-ami", "-amiX", "x-ami"}) {
    SCOPED_TRACE(ami);
    const auto run = SecondStart("Vantor\nrunning\n", ami);
    EXPECT_EQ(run.result.exitCode, 0u);
    EXPECT_TRUE(run.result.boxes.empty());
    EXPECT_TRUE(Initialised(run.trace));
  }
  {
    SCOPED_TRACE("-AMI is not the switch");
    const auto run = SecondStart("Vantor\nrunning\n", "-AMI");
    EXPECT_EQ(run.result.boxes.size(), 1u);
    EXPECT_FALSE(Initialised(run.trace));
  }
  EXPECT_TRUE(first.Ready()) << "the first instance must be unaffected";
}

TEST_F(SingleInstance, TheMessageComesFromTheStartFolderNotTheExecutablesFolder) {
  FirstInstance first;
  ASSERT_TRUE(first.Ready());
  GameFolder second;
  GameFolder startFolder;
  WriteFileText(second.File("data\\Running.scr"), "Executable folder\nwrong\n");
  WriteFileText(startFolder.File("data\\Running.scr"), "Start folder\nright\n");
  harness::RunOptions options;
  options.workingFolder = startFolder.Path();
  const auto run = RunGame(second, "-no-window -quit-after=1", options);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "Start folder");
  EXPECT_EQ(run.result.boxes[0].text, "right");
}

TEST_F(SingleInstance, TheNameIsFreeAgainOnceTheFirstInstanceHasEnded) {
  {
    FirstInstance first;
    ASSERT_TRUE(first.Ready());
    const auto refused = SecondStart("Vantor\nrunning\n");
    EXPECT_EQ(refused.result.boxes.size(), 1u);
  }  // the first instance is ended here
  const auto run = SecondStart("Vantor\nrunning\n");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(run.result.boxes.empty());
  EXPECT_TRUE(Initialised(run.trace));
}

}  // namespace
