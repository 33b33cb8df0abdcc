// The launcher driving our engine and file system, seen from outside: exit codes, boxes, the log
// file and the order of the calls that reach the two libraries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "harness/game_run.h"

namespace {

using harness::FileExists;
using harness::GameFolder;
using harness::GameRun;
using harness::ReadFileText;
using harness::RunGame;

constexpr unsigned long kCrashExitCode = 0xFFFFFFFF;

std::vector<std::string> EngineLines(const std::vector<std::string>& trace) {
  std::vector<std::string> engine;
  std::copy_if(trace.begin(), trace.end(), std::back_inserter(engine),
               [](const std::string& line) { return line.rfind("FS_", 0) != 0; });
  return engine;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The shutdown after a normal end: game destroyed, script layer, then the file system last.
void ExpectOrderlyShutdown(const GameRun& run) {
  const auto engine = EngineLines(run.trace);
  ASSERT_GE(engine.size(), 2u);
  EXPECT_EQ(engine[engine.size() - 2], "CGame::Destroy(1)");
  EXPECT_EQ(engine.back(), "UninitializeGameScript()");
  EXPECT_EQ(run.trace.back(), "FS_shutdown()");
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
// data1, data63 and the never-mounted data64 are added); then the game runs until it quits and
// its quit code, all 32 bits of it, is the exit code.
TEST(Launcher, MountsEverySourceRunsTheGameAndEndsWithTheQuitCode) {
  GameFolder folder;
  for (const char* name : {"data1.pak", "data63.pak", "data64.pak"}) {
    harness::WriteFileText(folder.File(name), ReadFileText(folder.File("data0.pak")));
  }
  std::remove(folder.File("data0.pak").c_str());
  const auto run = RunGame(folder, "-no-window -quit-after=25 -quit-code=0xC0DE1234");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_FALSE(run.result.timedOut);
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
  // Settings are read between the mounts and the script layer, which comes before the game.
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
  ExpectOrderlyShutdown(run);
  EXPECT_FALSE(FileExists(folder.File("crash.log"))) << "nothing was logged, so no log file";
}

TEST(Launcher, AFailedInitSkipsTheLoopButStillShutsDown) {
  GameFolder folder;
  const auto run = RunGame(folder, "-init-result=1");
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_FALSE(run.result.timedOut);
  const auto engine = EngineLines(run.trace);
  EXPECT_TRUE(Contains(engine, "CGame::Init = 1"));
  EXPECT_FALSE(std::any_of(engine.begin(), engine.end(), [](const std::string& l) {
    return l.rfind("CGame::OnIdle", 0) == 0;
  })) << "no idle call after a failed Init";
  ExpectOrderlyShutdown(run);
}

// The signs every escaped exception leaves: exit code -1, one CrashExit box with text, and
// nothing shut down.
void ExpectCrashExit(const GameRun& run, const std::string& text) {
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, kCrashExitCode);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "CrashExit...");
  EXPECT_EQ(run.result.boxes[0].text, text);
  EXPECT_FALSE(Contains(run.trace, "FS_shutdown()"));
}

// Runs our engine with a throw of kind from a place; the throw is in its trace, the shutdown not.
GameRun RunThrowingGame(const GameFolder& folder, const std::string& kind,
                        const std::string& from) {
  GameRun run = RunGame(folder, "-throw=" + kind + " -throw-from=" + from);
  EXPECT_TRUE(Contains(run.trace, "CGame::throw " + kind));
  EXPECT_FALSE(Contains(run.trace, "CGame::Destroy(1)"));
  EXPECT_FALSE(Contains(run.trace, "UninitializeGameScript()"));
  return run;
}

// An engine built by Microsoft's compiler (libs/msvc_engine) doing what -do=action asks.
GameRun RunMsvcEngine(const GameFolder& folder, const std::string& arguments) {
  folder.UseMsvcEngine();
  return RunGame(folder, arguments);
}

void ExpectEngineExceptionEnd(const GameRun& run, const GameFolder& folder) {
  ExpectCrashExit(run, "world(12) : bad state\n");
  // The banner goes through the log (CR LF); CrashExit's own text is appended unconverted.
  EXPECT_EQ(ReadFileText(folder.File("crash.log")),
            "*** Unhandled Engine Exception ***\r\nworld(12) : bad state\n");
  const std::vector<std::string> debugger = {"*** Unhandled Engine Exception ***\r\n",
                                             "world(12) : bad state\n"};
  EXPECT_EQ(run.result.debugStrings, debugger);
}

void ExpectOtherExceptionEnd(const GameRun& run, const GameFolder& folder) {
  ExpectCrashExit(run, "*** Unhandled Exception ***\n");
  EXPECT_EQ(run.result.debugStrings, std::vector<std::string>{"*** Unhandled Exception ***\n"});
  // CrashExit does not open the log: nothing was logged before, so there is no file.
  EXPECT_FALSE(FileExists(folder.File("crash.log")));
}

struct Throw {
  const char* kind;
  const char* from;
};

// An engine exception caught by our handler around Init, and one out of a window procedure,
// where the 32-bit build's unwinder cannot pass the system's frames and the exception reaches the
// handlers by another way. An engine built by MSVC throws it as a structured exception that our
// handlers cannot catch as such, of a class that derives from it (at an offset, or as a virtual
// base): it must end the same way, out of OnIdle and out of its window procedure.
TEST(Launcher, AnEngineExceptionEndsInCrashExitWithoutShutdown) {
  for (const Throw& thrown : {Throw{"engine", "init"}, Throw{"engine", "window"}}) {
    SCOPED_TRACE(std::string(thrown.kind) + " from " + thrown.from);
    GameFolder folder;
    ExpectEngineExceptionEnd(RunThrowingGame(folder, thrown.kind, thrown.from), folder);
  }
  for (const char* action : {"-do=throw", "-do=window-throw"}) {
    SCOPED_TRACE(std::string("MSVC engine ") + action);
    GameFolder folder;
    ExpectEngineExceptionEnd(RunMsvcEngine(folder, action), folder);
  }
}

// Any other exception, caught or out of a window procedure; an MSVC-built engine's exception of
// another type counts as any other.
TEST(Launcher, AnyOtherExceptionEndsInCrashExitWithTheGeneralText) {
  for (const Throw& thrown : {Throw{"other", "idle"}, Throw{"other", "window"}}) {
    SCOPED_TRACE(std::string(thrown.kind) + " from " + thrown.from);
    GameFolder folder;
    ExpectOtherExceptionEnd(RunThrowingGame(folder, thrown.kind, thrown.from), folder);
  }
  SCOPED_TRACE("MSVC engine -do=throw-other");
  GameFolder folder;
  ExpectOtherExceptionEnd(RunMsvcEngine(folder, "-do=throw-other"), folder);
}

// What an MSVC-built engine handles itself is its own business, and so is a fault that Windows
// probes for and handles itself: the game goes on to its normal end, with no box, no crash
// report and no log. Its own C++ exception, its own __try/__except (during the game and while
// the script layer starts), IsBadReadPtr on an unreadable address.
TEST(Launcher, WhatAnMsvcEngineHandlesItselfNeverReachesTheHandlers) {
  struct Case {
    const char* arguments;
    unsigned long exitCode;
    bool probe;  // Windows' own guarded read: it must know the fault's code
  };
  GameFolder folder;
  for (const Case& handled :
       {Case{"-do=quit -quit-code=3", 3, false}, Case{"-do=catch -quit-code=5", 5, false},
        Case{"-do=handled-fault -quit-code=7", 7, false},
        Case{"-script-fault -quit-code=3", 3, false}, Case{"-do=probe -quit-code=9", 9, true}}) {
    SCOPED_TRACE(handled.arguments);
    if (handled.probe && harness::FaultCodesEmulated()) {
      std::printf(
          "skipped %s: under emulation the probe's fault arrives with another code, which "
          "IsBadReadPtr does not take as its own (a bare host program dies there too)\n",
          handled.arguments);
      continue;
    }
    const auto run = RunMsvcEngine(folder, handled.arguments);
    ASSERT_TRUE(run.result.started) << run.result.error;
    EXPECT_FALSE(run.result.timedOut);
    EXPECT_EQ(run.result.exitCode, handled.exitCode);
    EXPECT_TRUE(run.result.boxes.empty());
    EXPECT_FALSE(FileExists(folder.File("callstack.txt")));
    EXPECT_FALSE(FileExists(folder.File("crash.log")));
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back(), "FS_shutdown()");
  }
}

TEST(Launcher, MakesTheExecutablesFolderTheWorkingFolderEvenInADrivesRoot) {
  // The prefix maps drive T: to a folder of its own (scripts/lib/wine.sh).
  if (!FileExists("T:\\")) GTEST_SKIP() << "drive T: is not mapped in this Wine prefix";
  GameFolder folder("T:\\");
  // Started from another folder: the log must still land beside the executable, in T:\.
  harness::RunOptions options;
  options.workingFolder = harness::ProgramFolder();
  const auto run = RunGame(folder, "-no-window -throw=engine", options);
  EXPECT_EQ(run.result.exitCode, kCrashExitCode);
  EXPECT_TRUE(FileExists("T:\\crash.log"));
  EXPECT_FALSE(FileExists(harness::ProgramFolder() + "\\crash.log"));
  // And a folder below a root, on another drive than the folder it is started from.
  GameFolder nested;
  RunGame(nested, "-no-window -throw=engine", options);
  EXPECT_TRUE(FileExists(nested.File("crash.log")));
}

}  // namespace
