// The harness guards every system test: it must see boxes, debugger text and the full exit code
// exactly as the program produced them.
#include <gtest/gtest.h>

#include "harness/game_folder.h"
#include "harness/process_run.h"

namespace {

using harness::RunOptions;
using harness::RunProgram;

RunOptions Probe(const std::string& arguments) {
  RunOptions options;
  options.program = harness::ProgramFolder() + "\\harness_probe.exe";
  options.arguments = arguments;
  options.timeoutMs = 20000;
  return options;
}

TEST(Harness, RecordsBoxesDebugTextAndTheFullExitCode) {
  const auto result = RunProgram(Probe(
      "box \"Probe caption\" \"Probe text\" debug \"first line\n\" box Second \"Two\" exit -1"));
  ASSERT_TRUE(result.started) << result.error;
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0xFFFFFFFFul);
  ASSERT_EQ(result.boxes.size(), 2u);
  EXPECT_EQ(result.boxes[0].caption, "Probe caption");
  EXPECT_EQ(result.boxes[0].text, "Probe text");
  EXPECT_EQ(result.boxes[1].caption, "Second");
  EXPECT_EQ(result.boxes[1].text, "Two");
  ASSERT_EQ(result.debugStrings.size(), 1u);
  EXPECT_EQ(result.debugStrings[0], "first line\n");
}

TEST(Harness, DecodesWinesTraceOfDebuggerTextAndMarksCutTexts) {
  const auto result = RunProgram(Probe("escapes longdebug 5000 exit 0"));
  ASSERT_TRUE(result.started) << result.error;
  ASSERT_EQ(result.debugStrings.size(), 2u);
  EXPECT_EQ(result.debugStrings[0], "line\r\n\ttab \"quoted\" back\\slash \x01\x7f\xe9 end\n");
  // Wine traces only the start of a long text (about 300 characters) and marks the cut.
  const std::string& cut = result.debugStrings[1];
  ASSERT_GT(cut.size(), 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_EQ(cut.find_first_not_of('x'), cut.size() - 3);
  EXPECT_LT(cut.size(), 5000u);
}

TEST(Harness, AsDebuggerReceivesTextsWholeAndPassesBreakpointsOn) {
  auto options = Probe("escapes longdebug 5000 box Caption Text breakpoint exit 0");
  options.asDebugger = true;
  const auto result = RunProgram(options);
  ASSERT_TRUE(result.started) << result.error;
  ASSERT_EQ(result.debugStrings.size(), 2u);
  EXPECT_EQ(result.debugStrings[0], "line\r\n\ttab \"quoted\" back\\slash \x01\x7f\xe9 end\n");
  EXPECT_EQ(result.debugStrings[1], std::string(5000, 'x'));
  ASSERT_EQ(result.boxes.size(), 1u);
  EXPECT_EQ(result.boxes[0].text, "Text");
  // The probe catches its breakpoint itself and exits with 0xB0B; a debugger that swallowed it
  // would let the probe run on to exit code 0.
  EXPECT_EQ(result.exitCode, 0xB0Bu);
}

TEST(Harness, EndsAProgramThatOverrunsItsTimeLimit) {
  auto options = Probe("sleep 60000");
  options.timeoutMs = 500;
  const auto result = RunProgram(options);
  ASSERT_TRUE(result.started) << result.error;
  EXPECT_TRUE(result.timedOut);
}

}  // namespace
