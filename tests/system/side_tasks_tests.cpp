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

// A folder named Params is compiled by the game's batch file, and the launcher waits for it: the
// batch file appends its arguments to the libraries' trace, before the file system's first call.
// A file of that name compiles nothing.
TEST(SideTasks, AParamsFolderIsCompiledWithTheBatchFileBeforeTheStartGoesOn) {
  for (const bool asFolder : {true, false}) {
    GameFolder folder;
    harness::WriteFileText(folder.File("JDK\\bin\\compile.bat"),
                           "@echo off\r\necho compile.bat [%0] [%1] [%2] [%3] [%4] [%5] [%6]>> "
                           "\"%VANTOR_TRACE%\"\r\n");
    if (asFolder) {
      std::filesystem::create_directories(folder.File("Params"));
    } else {
      harness::WriteFileText(folder.File("Params"), "not a folder\n");
    }
    const auto run = RunGame(folder, "-no-window -quit-after=1");
    EXPECT_EQ(run.result.exitCode, 0u);
    const auto& trace = run.trace;
    const auto compile = std::find_if(trace.begin(), trace.end(), [](const std::string& line) {
      return line.rfind("compile.bat", 0) == 0;
    });
    if (!asFolder) {
      EXPECT_EQ(compile, trace.end()) << "a file named Params was compiled";
      continue;
    }
    ASSERT_NE(compile, trace.end()) << "the batch file did not run";
    EXPECT_EQ(
        *compile,
        "compile.bat [JDK\\bin\\compile.bat] [-classpath] [Java] [-d] [Java] [Params\\*.java] []");
    EXPECT_LT(compile, std::find(trace.begin(), trace.end(), "FS_init()"))
        << "it was not waited for";
  }
}

// Started with "/t logs/DXDiags.txt" and not waited for, once logs/ is made; a tool missing from
// the search path is reported to the debugger.
TEST(SideTasks, TheDiagnosticsToolIsStartedWithItsArgumentsAndNotWaitedFor) {
  GameFolder folder;
  std::filesystem::remove_all(folder.File("logs"));
  harness::RunOptions options;
  options.environment = {"PATH=C:\\no-such-folder"};
  auto run = RunGame(folder, "-no-window -quit-after=1", options);
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_EQ(run.result.debugStrings,
            (std::vector<std::string>{"Trying to run DXdiag.exe ... \n",
                                      "... ERROR: File or path is not found\n"}));
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("logs"))) << "logs/ is made first";

  // A stand-in tool first on the search path: it waits 3 s, then writes the report it is given.
  const std::string tools = folder.File("tools");
  std::filesystem::create_directories(tools);
  std::filesystem::copy_file(harness::ProgramFolder() + "\\dxdiag_stand_in.exe",
                             tools + "\\dxdiag.exe");
  char systemFolder[MAX_PATH];
  GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  options.environment = {"PATH=" + tools + ";" + systemFolder};
  run = RunGame(folder, "-no-window -quit-after=1", options);
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_EQ(run.result.debugStrings,
            (std::vector<std::string>{"Trying to run DXdiag.exe ... \n", "... OK\n"}));
  const std::string report = folder.File("logs\\DXDiags.txt");
  EXPECT_FALSE(FileExists(report)) << "the launcher waited for the tool";
  for (int waited = 0; waited < 100 && !FileExists(report); ++waited) Sleep(100);
  EXPECT_TRUE(FileExists(report)) << "the tool did not get \"/t logs/DXDiags.txt\"";
}

}  // namespace
