// The start-up side tasks: compiling a Params folder with the game's batch file, and starting the
// diagnostics tool once, until its report exists.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "harness/game_run.h"

namespace {

using harness::FileExists;
using harness::GameFolder;
using harness::RunGame;
using harness::WriteFileText;

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

// The batch file appends its arguments to the libraries' trace, so its place among the calls
// shows whether the launcher waited for it.
void WriteCompileBatch(const GameFolder& folder) {
  WriteFileText(folder.File("JDK\\bin\\compile.bat"),
                "@echo off\r\n"
                "echo compile.bat [%0] [%1] [%2] [%3] [%4] [%5] [%6]>> \"%VANTOR_TRACE%\"\r\n");
}

TEST(SideTasks, AParamsFolderIsCompiledWithTheBatchFileBeforeTheStartGoesOn) {
  GameFolder folder;
  WriteCompileBatch(folder);
  std::filesystem::create_directories(folder.File("Params"));
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  EXPECT_EQ(run.result.exitCode, 0u);
  const std::string expected =
      "compile.bat [JDK\\bin\\compile.bat] [-classpath] [Java] [-d] [Java] [Params\\*.java] []";
  const size_t compile = IndexOf(run.trace, expected);
  ASSERT_LT(compile, run.trace.size()) << "the batch file did not run with the six arguments";
  EXPECT_LT(compile, IndexOf(run.trace, "FS_init()")) << "the launcher did not wait for it";
}

TEST(SideTasks, AFileNamedParamsCompilesNothing) {
  GameFolder folder;
  WriteCompileBatch(folder);
  WriteFileText(folder.File("Params"), "not a folder\n");
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_FALSE(std::any_of(run.trace.begin(), run.trace.end(), [](const std::string& line) {
    return line.rfind("compile.bat", 0) == 0;
  }));
}

class DiagnosticsTool : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove_all(folder_.File("logs")); }
  GameFolder folder_;
};

TEST_F(DiagnosticsTool, MissingFromTheSearchPathIsReportedToTheDebugger) {
  harness::RunOptions options;
  options.environment = {"PATH=C:\\no-such-folder"};
  const auto run = RunGame(folder_, "-no-window -quit-after=1", options);
  EXPECT_EQ(run.result.exitCode, 0u);
  const std::vector<std::string> expected = {"Trying to run DXdiag.exe ... \n",
                                             "... ERROR: File or path is not found\n"};
  EXPECT_EQ(run.result.debugStrings, expected);
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("logs"))) << "logs/ is made first";
}

TEST_F(DiagnosticsTool, IsStartedWithItsArgumentsAndNotWaitedFor) {
  // A stand-in tool first on the search path: it waits 3 s, then writes the report it is given.
  const std::string tools = folder_.File("tools");
  std::filesystem::create_directories(tools);
  std::filesystem::copy_file(harness::ProgramFolder() + "\\harness_probe.exe",
                             tools + "\\dxdiag.exe");
  char systemFolder[MAX_PATH];
  GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  harness::RunOptions options;
  options.environment = {"PATH=" + tools + ";" + systemFolder};
  const auto run = RunGame(folder_, "-no-window -quit-after=1", options);
  EXPECT_EQ(run.result.exitCode, 0u);
  const std::vector<std::string> expected = {"Trying to run DXdiag.exe ... \n", "... OK\n"};
  EXPECT_EQ(run.result.debugStrings, expected);
  const std::string report = folder_.File("logs\\DXDiags.txt");
  EXPECT_FALSE(FileExists(report)) << "the launcher waited for the tool";
  for (int waited = 0; waited < 100 && !FileExists(report); ++waited) Sleep(100);
  EXPECT_TRUE(FileExists(report)) << "the tool did not get \"/t logs/DXDiags.txt\"";
}

}  // namespace
