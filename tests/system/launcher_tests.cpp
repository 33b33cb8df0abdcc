// The launcher driving our engine and file system, seen from outside: exit codes, boxes, the log
// file and the order of the calls that reach the two libraries; the settings file it reads and its
// start-up side tasks (compiling a Params folder, starting the diagnostics tool).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "harness/game_run.h"

namespace {

using harness::FileExists;
using harness::GameFolder;
using harness::ReadFileText;
using harness::RunGame;
using harness::Traced;
using harness::WriteFileText;

std::vector<std::string> EngineLines(const std::vector<std::string>& trace) {
  std::vector<std::string> engine;
  std::copy_if(trace.begin(), trace.end(), std::back_inserter(engine),
               [](const std::string& line) { return line.rfind("FS_", 0) != 0; });
  return engine;
}

TEST(Launcher, RefusesAnEngineOfAnotherVersionBeforeDoingAnythingElse) {
  GameFolder folder;
  const auto run = RunGame(folder, "-engine-version=0x10000");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, 0u);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "Error...");
  EXPECT_EQ(run.result.boxes[0].text, "Invalid engine dll version!");
  EXPECT_EQ(run.trace, std::vector<std::string>{"GetEngineDllVersion() = 0x10000"});
}

// All 66 sources are mounted in order whether or not their packages exist (data0.pak is removed,
// data1, data63 and the never-mounted data64 are added); the settings are read between the mounts
// and the script layer; then the game runs until it quits, is shut down in order with the file
// system last, and its quit code, all 32 bits of it, is the exit code.
TEST(Launcher, MountsEverySourceRunsTheGameAndEndsWithTheQuitCode) {
  GameFolder folder;
  for (const char* name : {"data1.pak", "data63.pak", "data64.pak"}) {
    WriteFileText(folder.File(name), ReadFileText(folder.File("data0.pak")));
  }
  std::remove(folder.File("data0.pak").c_str());
  const auto run = RunGame(folder, "-no-window -quit-after=25 -quit-code=0xC0DE1234");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, 0xC0DE1234ul);
  EXPECT_TRUE(run.result.boxes.empty());
  const auto& trace = run.trace;
  ASSERT_GE(trace.size(), 68u);
  EXPECT_EQ(trace[1], "FS_init()");
  for (int n = 0; n < 64; ++n) {
    EXPECT_EQ(trace[2 + n], "FS_add_source(\"data" + std::to_string(n) + ".pak\", 1, 0, 0)");
  }
  EXPECT_EQ(trace[66], "FS_add_source(\".\", 0, 0, 0)");
  EXPECT_EQ(trace[67], "FS_add_source(\"data\", 1, 0, 0)");
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                          [](const std::string& l) { return l.rfind("FS_add_source", 0) == 0; }),
            66);
  const auto initialize = std::find(trace.begin(), trace.end(),
                                    "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")");
  EXPECT_GT(initialize - trace.begin(), 67);
  const std::vector<std::string> expected = {
      "GetEngineDllVersion() = 0x10001",
      "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")",
      "CreateGame(\"TestGame\", exe, 1)",
      "CGame::Init(\"-no-window -quit-after=25 -quit-code=0xC0DE1234\", 10)",
      "CGame::Init = 0",
      "CGame::OnIdle x 25",
      "CGame::quit 3235779124",
      "CGame::Destroy(1)",
      "UninitializeGameScript()",
  };
  EXPECT_EQ(EngineLines(trace), expected);
  EXPECT_EQ(trace.back(), "FS_shutdown()");
  EXPECT_FALSE(FileExists(folder.File("crash.log"))) << "nothing was logged, so no log file";
  // The debug-help library is loaded by the first crash report, never at start-up.
  const auto& loaded = run.result.loadedLibraries;
  EXPECT_NE(std::find(loaded.begin(), loaded.end(), "filesystem.dll"), loaded.end());
  EXPECT_EQ(std::find(loaded.begin(), loaded.end(), "dbghelp.dll"), loaded.end());
}

TEST(Launcher, AFailedInitSkipsTheLoopButStillShutsDown) {
  GameFolder folder;
  const auto run = RunGame(folder, "-init-result=1");
  const std::vector<std::string> expected = {
      "GetEngineDllVersion() = 0x10001",
      "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")",
      "CreateGame(\"TestGame\", exe, 1)",
      "CGame::Init(\"-init-result=1\", 10)",
      "CGame::Init = 1",
      "CGame::Destroy(1)",
      "UninitializeGameScript()",
  };
  ASSERT_EQ(EngineLines(run.trace), expected);
  EXPECT_EQ(run.trace.back(), "FS_shutdown()");
}

// An engine that makes no game object: the box names the class, the log says why, and nothing is
// run or shut down.
TEST(Launcher, AGameTheEngineCannotMakeEndsInCrashExit) {
  GameFolder folder;
  const auto run = RunGame(folder, "-no-game");
  EXPECT_EQ(run.result.exitCode, 0xFFFFFFFFul);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "CrashExit...");
  EXPECT_EQ(run.result.boxes[0].text, "Cannot create the game \"TestGame\".\n");
  EXPECT_EQ(ReadFileText(folder.File("crash.log")),
            "CreateGame returned no game object for the class \"TestGame\"\r\n"
            "Cannot create the game \"TestGame\".\n");
  EXPECT_EQ(EngineLines(run.trace).back(), "CreateGame(\"TestGame\", exe, 1)");
  EXPECT_FALSE(Traced(run.trace, "FS_shutdown()"));
}

// What escapes the game: the arguments that make an engine throw, and what the engine's own cleanup
// says on the debugger output as its frames are unwound (nothing when it has none to say).
struct Escape {
  std::string words;
  std::string cleanup;
};

// Runs our engine throwing with "-throw=KIND -throw-from=PLACE", or the MSVC-built engine
// (libs/msvc_engine) with "-do=ACTION", and expects the signs every escaped exception leaves: exit
// code -1, one CrashExit box and the same text on the debugger output, after whatever the engine's
// cleanup said, and nothing shut down; no report, and a dump for an MSVC-built engine's exception.
// An engine exception's banner goes through the log (CR LF) before CrashExit's text is appended
// unconverted; CrashExit alone does not open the log.
void ExpectThrowsEndInCrashExit(const std::vector<Escape>& escapes, bool engineException) {
  const std::string banner = engineException ? "*** Unhandled Engine Exception ***\r\n" : "";
  const std::string text =
      engineException ? "world(12) : bad state\n" : "*** Unhandled Exception ***\n";
  for (const Escape& escape : escapes) {
    const std::string& words = escape.words;
    SCOPED_TRACE(words);
    GameFolder folder;
    if (words.rfind("-do=", 0) == 0) folder.UseMsvcEngine();
    const auto run = RunGame(folder, words);
    if (words.rfind("-throw=", 0) == 0) {
      EXPECT_TRUE(
          Traced(run.trace, engineException ? "CGame::throw engine" : "CGame::throw other"));
    }
    EXPECT_EQ(run.result.exitCode, 0xFFFFFFFFul);
    ASSERT_EQ(run.result.boxes.size(), 1u);
    EXPECT_EQ(run.result.boxes[0].caption, "CrashExit...");
    EXPECT_EQ(run.result.boxes[0].text, text);
    EXPECT_EQ(FileExists(folder.File("crash.log")), engineException);
    EXPECT_EQ(ReadFileText(folder.File("crash.log")), engineException ? banner + text : "");
    EXPECT_FALSE(FileExists(folder.File("callstack.txt"))) << "an exception is no fault";
    // An MSVC-built engine's exception that ends the game leaves a crash dump; ours leave none.
    const std::string dumps = folder.File("crashdumps");
    EXPECT_EQ(std::filesystem::exists(dumps) && !std::filesystem::is_empty(dumps),
              words.rfind("-do=", 0) == 0);
    std::vector<std::string> said = {text};
    if (engineException) said.insert(said.begin(), banner);
    if (!escape.cleanup.empty()) said.insert(said.begin(), escape.cleanup);
    EXPECT_EQ(run.result.debugStrings, said);
    for (const char* shutdown :
         {"CGame::Destroy(1)", "UninitializeGameScript()", "FS_shutdown()"}) {
      EXPECT_FALSE(Traced(run.trace, shutdown)) << shutdown;
    }
  }
}

// An engine exception caught by our handler around Init, and one out of a window procedure, where
// the 32-bit build's unwinder cannot pass the system's frames and the exception reaches the
// handlers by another way. An engine built by MSVC throws it as a structured exception that our
// handlers cannot catch as such, of a class that derives from it (at an offset, or as a virtual
// base): it must end the same way, out of OnIdle and out of its window procedure, and the locals
// of the engine's throwing frames are destroyed first, as under the engine's own compiler. When
// such a destructor faults, the rest of the engine's cleanup is given up and the engine's
// exception still ends the game, unreported.
TEST(Launcher, AnEngineExceptionEndsInCrashExitWithoutShutdown) {
  ExpectThrowsEndInCrashExit(
      {{"-throw=engine -throw-from=init", ""},
       {"-throw=engine -throw-from=window", ""},
       {"-do=throw", "msvc engine: the throwing function's local destroyed\n"},
       {"-do=window-throw", "msvc engine: the window procedure's local destroyed\n"},
       {"-do=faulting-cleanup", ""}},
      true);
}

// Any other exception, caught or out of a window procedure; an MSVC-built engine's exception of
// another type counts as any other.
TEST(Launcher, AnyOtherExceptionEndsInCrashExitWithTheGeneralText) {
  ExpectThrowsEndInCrashExit({{"-throw=other -throw-from=idle", ""},
                              {"-throw=other -throw-from=window", ""},
                              {"-do=throw-other", ""}},
                             false);
}

// What an MSVC-built engine handles itself is its own business, and so is a fault that Windows
// probes for and handles itself: the game goes on to its normal end, with no box, no crash
// report and no log. Its own C++ exception, its own __try/__except (during the game and while
// the script layer starts), IsBadReadPtr on an unreadable address.
TEST(Launcher, WhatAnMsvcEngineHandlesItselfNeverReachesTheHandlers) {
  GameFolder folder;
  folder.UseMsvcEngine();
  const std::pair<const char*, unsigned long> cases[] = {{"-do=quit -quit-code=3", 3},
                                                         {"-do=catch -quit-code=5", 5},
                                                         {"-do=handled-fault -quit-code=7", 7},
                                                         {"-script-fault -quit-code=3", 3},
                                                         {"-do=probe -quit-code=9", 9}};
  for (const auto& [arguments, exitCode] : cases) {
    SCOPED_TRACE(arguments);
    // Windows' own guarded read must know the fault's code. The probe comes last: the cases
    // before it have run when it is skipped.
    if (std::strstr(arguments, "probe") && harness::FaultCodesEmulated()) {
      GTEST_SKIP() << "under emulation the probe's fault arrives with another code, which "
                      "IsBadReadPtr does not take as its own (a bare host program dies there too)";
    }
    const auto run = RunGame(folder, arguments);
    ASSERT_TRUE(run.result.started) << run.result.error;
    EXPECT_EQ(run.result.exitCode, exitCode);
    EXPECT_TRUE(run.result.boxes.empty());
    EXPECT_FALSE(FileExists(folder.File("callstack.txt")));
    EXPECT_FALSE(FileExists(folder.File("crash.log")));
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back(), "FS_shutdown()");
  }
}

// Escape, a key that the message loop translates into the character the game reads, and closing
// the game's window end the game through the message loop: quit code 0, everything shut down.
TEST(Launcher, EscapeOrClosingTheWindowEndsTheGame) {
  for (const UINT message : {WM_KEYDOWN, WM_CLOSE}) {
    SCOPED_TRACE(message);
    GameFolder folder;
    const harness::BackgroundProgram game(harness::GameOptions(folder, ""));
    HWND window = nullptr;
    for (int waited = 0; waited < 3000 && game.Running() && window == nullptr; ++waited) {
      window = static_cast<HWND>(game.Window("VantorEngineDemoWindow"));
      if (window == nullptr) Sleep(20);
    }
    ASSERT_NE(window, nullptr) << "the game's window did not appear";
    PostMessageA(window, message, message == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
    unsigned long exitCode = 1;
    ASSERT_TRUE(game.WaitForEnd(60000, exitCode)) << "the game did not end";
    EXPECT_EQ(exitCode, 0u);
    const auto trace = harness::ReadLines(folder.File("trace.txt"));
    EXPECT_TRUE(Traced(trace, "CGame::quit 0"));
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), "FS_shutdown()");
  }
}

// Started from another folder, the log still lands beside the executable: in a drive's root, and
// in a folder below a root on another drive than the folder it is started from.
TEST(Launcher, MakesTheExecutablesFolderTheWorkingFolderEvenInADrivesRoot) {
  // The prefix maps drive T: to a folder of its own (scripts/lib/wine.sh).
  if (!FileExists("T:\\")) GTEST_SKIP() << "drive T: is not mapped in this Wine prefix";
  harness::RunOptions elsewhere;
  elsewhere.workingFolder = harness::ProgramFolder();
  GameFolder root("T:\\"), nested;
  for (const GameFolder* folder : {&root, &nested}) {
    const auto run = RunGame(*folder, "-no-window -throw=engine", elsewhere);
    EXPECT_EQ(run.result.exitCode, 0xFFFFFFFFul);
    EXPECT_TRUE(FileExists(folder->File("crash.log"))) << folder->Path();
  }
  EXPECT_FALSE(FileExists(harness::ProgramFolder() + "\\crash.log"));
}

// ---- Settings: the rules in detail are tested natively (tests/unit/launcher_core_test.cpp) ----

// The demo game's data0.pak declares the three keywords in keywords.ini.
const std::string kDeclarations = "!include(\"keywords.ini\")\r\n";

TEST(Settings, TheLastIniWordNamesTheFile) {
  GameFolder folder;
  WriteFileText(folder.File("a.ini"), kDeclarations + "JavaClasses(\"FromA\")\r\n");
  WriteFileText(folder.File("b.ini"),
                kDeclarations + "JavaClasses(\"FromB\")\r\nJavaGameClassName(\"GameB\")\r\n");
  const auto run = RunGame(folder, "ini=a.ini ini=b.ini -no-window -quit-after=1");
  EXPECT_TRUE(Traced(run.trace, "InitializeGameScript(exe, \"FromB\", \"code\", \"GameB\")"));
  // The game object is made for the class the file names.
  EXPECT_TRUE(Traced(run.trace, "CreateGame(\"GameB\", exe, 1)"));
  EXPECT_FALSE(Traced(run.trace, "FS_open(\"a.ini\", 0)"));
  EXPECT_FALSE(Traced(run.trace, "FS_open(\"game.ini\", 0)"));
}

TEST(Settings, AnUndeclaredKeywordFailsTheFileAndKeepsAllDefaults) {
  GameFolder folder;
  WriteFileText(folder.File("game.ini"),
                "JavaGameClassName(\"Mine\")\r\nJavaClasses(\"Mine\")\r\n");
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(Traced(run.trace, "InitializeGameScript(exe, \"Java\", \"code\", \"TestGame\")"));
  EXPECT_EQ(harness::ReadFileText(folder.File("crash.log")),
            "[CZKParse] unknown keyword javagameclassname: in file 'game.ini' in line 1\r\n"
            "JavaGameClassName(\"Mine\")\n\r\n"
            "Parser: cant parse file 'game.ini'\r\n");
}

// ---- Side tasks ----

// A folder named Params is compiled by the game's batch file, and the launcher waits for it: the
// batch file appends its arguments to the libraries' trace, before the file system's first call.
// A file of that name compiles nothing.
TEST(SideTasks, AParamsFolderIsCompiledWithTheBatchFileBeforeTheStartGoesOn) {
  const std::string batch =
      "@echo off\r\necho compile.bat [%0] [%1] [%2] [%3] [%4] [%5] [%6]>> \"%VANTOR_TRACE%\"\r\n";
  GameFolder folder, withFile;
  WriteFileText(folder.File("JDK\\bin\\compile.bat"), batch);
  std::filesystem::create_directories(folder.File("Params"));
  const auto run = RunGame(folder, "-no-window -quit-after=1");
  EXPECT_EQ(run.result.exitCode, 0u);
  const auto& trace = run.trace;
  const auto compile = std::find(
      trace.begin(), trace.end(),
      "compile.bat [JDK\\bin\\compile.bat] [-classpath] [Java] [-d] [Java] [Params\\*.java] []");
  EXPECT_LT(compile, std::find(trace.begin(), trace.end(), "FS_init()"))
      << "it did not run with its six arguments, or was not waited for";

  WriteFileText(withFile.File("JDK\\bin\\compile.bat"), batch);
  WriteFileText(withFile.File("Params"), "not a folder\n");
  EXPECT_FALSE(Traced(RunGame(withFile, "-no-window -quit-after=1").trace, "compile.bat"));
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

  // A stand-in tool first on the search path: it writes the report it is given once this test
  // says so, which a launcher that waited for it would never live to see.
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
  WriteFileText(report + ".go", "");
  for (int waited = 0; waited < 600 && !FileExists(report); ++waited) Sleep(100);
  EXPECT_TRUE(FileExists(report)) << "the tool did not get \"/t logs/DXDiags.txt\"";
}

}  // namespace
