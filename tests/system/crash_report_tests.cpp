// Processor faults in the running game, seen from outside: the crash report the launcher appends
// to callstack.txt, the log banner, the message box and the exit code. The faults are raised by
// our engine inside OnIdle (-fault=KIND), in FaultWithLocals, whose locals are of every kind the
// report prints.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: dbghelp.h needs its types. The dump's layout only, no library.
#include <dbghelp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "harness/game_run.h"

namespace {

using harness::FaultCodesEmulated;
using harness::FileExists;
using harness::GameFolder;
using harness::ReadFileText;
using harness::RunGame;

// The separator as text mode writes it: 60 asterisks, CR LF, CR.
const std::string kSeparator = std::string(60, '*') + "\r\n\r";
// The call-stack text as the file holds it: the report ends its lines with CR LF, which text mode
// writes as CR CR LF.
std::string InFile(const std::string& lines) {
  std::string text;
  for (char c : lines) text += c == '\n' ? "\r\r\n" : std::string(1, c);
  return text;
}
const std::string kHead = kSeparator + InFile("\nCall stack:\n");
const std::string kAccess =
    "The thread attempted to read from or write to a virtual address for which it does not have "
    "the appropriate access.";

// The crash's outward signs: box, banner, exit code.
void ExpectCrashEnd(const harness::GameRun& run, const GameFolder& folder,
                    const std::string& description) {
  ASSERT_TRUE(run.result.started) << run.result.error;
  EXPECT_EQ(run.result.exitCode, 0xFFFFFFFFul);
  ASSERT_EQ(run.result.boxes.size(), 1u);
  EXPECT_EQ(run.result.boxes[0].caption, "CrashExit...");
  std::string text = description + "\n";
  // Under emulation only the code's text is left unchecked, beyond being one line.
  if (FaultCodesEmulated()) {
    text = run.result.boxes[0].text;
    EXPECT_TRUE(text.size() > 1 && text.find('\n') == text.size() - 1) << text;
  }
  EXPECT_EQ(run.result.boxes[0].text, text);
  EXPECT_EQ(ReadFileText(folder.File("crash.log")), "*** Exception ***\r\n" + text);
}

// A report that begins with the head and first frame given and ends with the place of the fault.
void ExpectReportAround(const std::string& report, const std::string& firstFrame,
                        const std::string& place) {
  EXPECT_EQ(report.substr(0, kHead.size() + firstFrame.size()), kHead + firstFrame);
  const std::string tail = kSeparator + "Exception occured at: " + place + "\r\n";
  ASSERT_GE(report.size(), tail.size());
  EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

// The report's call-stack text fills its buffer (128 KiB with the terminating zero), counted as
// the report made it, before text mode added a CR to every LF.
void ExpectFullText(const std::string& report) {
  const size_t end = report.rfind(kSeparator + "Exception occured at:");
  ASSERT_NE(end, std::string::npos);
  const std::string text = report.substr(kSeparator.size(), end - kSeparator.size());
  const size_t length =
      text.size() - static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  EXPECT_LE(length, 131071u);
  EXPECT_GT(length, 131072u - 200) << "the stack fills the text";
}

// One folder for all faults: each crash appends its report to what the one before left. A file
// where the dumps' folder would be leaves no room for a dump, and changes nothing else.
TEST(CrashReport, EachFaultAppendsTheStackWithTypedVariablesThenTheBoxAndExitCode) {
  const struct {
    const char* kind;
    int number;  // FaultWithLocals' parameter
    std::string description;
  } faults[] = {{"access", 1, kAccess},
                {"breakpoint", 2, "A breakpoint was encountered."},
                {"divide", 3,
                 "The thread attempted to divide an integer value by an integer divisor of zero."}};
  GameFolder folder;
  harness::WriteFileText(folder.File("crashdumps"), "not a folder");
  std::string before;
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.kind);
    const auto run = RunGame(folder, std::string("-no-window -fault=") + fault.kind);
    ExpectCrashEnd(run, folder, fault.description);
    EXPECT_EQ(ReadFileText(folder.File("crashdumps")), "not a folder");
    const std::string file = ReadFileText(folder.File("callstack.txt"));
    ASSERT_GT(file.size(), before.size());
    EXPECT_EQ(file.substr(0, before.size()), before);
    const std::string report = file.substr(before.size());
    before = file;
    // The faulting frame first, with its parameter and every kind of local.
    ExpectReportAround(
        report,
        InFile("FaultWithLocals\n  params:\n    kind = " + std::to_string(fault.number) +
               "\n  locals:\n    text = \"hi\"\n    pointer = \"abc\"\n"
               "    numbers = { 1, 2, 3 }\n    ratio = 1.500000\n"
               "    point FaultPoint \n      x = 1\n      y = 2\n\n"),
        "FaultWithLocals");
    // Then the engine's and the launcher's frames, outwards, with their parameters.
    size_t at = kHead.size();
    for (const std::string& frame : std::vector<std::string>{
             "RaiseDeliberateFault\n  params:\n", "DemoGame::OnIdle\n  params:\n    this = ",
             "RunMessageLoop\n  params:\n    game = ", "RunGame\n  params:\n    game = ",
             "    commandLine LPSTR = \"-no-window -fault=" + std::string(fault.kind) + "\"\n",
             "WinMain\n  params:\n    instance HINSTANCE = ",
             "      JavaGameClassName = \"TestGame\"\n"}) {
      at = report.find(InFile(frame), at);
      ASSERT_NE(at, std::string::npos) << frame;
    }
    EXPECT_EQ(std::count(report.begin(), report.end(), '*'), 120) << "two separators, one report";
  }
}

// Faults that an engine built by Microsoft's compiler leaves unhandled are ours to report, also
// when the engine's own __try frames saw them first: a filter that declines, a __finally, a fault
// in the file-system library that the engine called, a stack overflow. That engine has no
// symbols: its frames are listed by address, and the report names the place of a fault in the
// file system alone. The report is written while the faulting stack stands; then the engine's
// frames are unwound, which runs its __finally before the box. After a stack overflow the 32-bit
// build has no stack left for that (Wine leaves one page), and gives the engine's cleanup up.
TEST(CrashReport, FaultsAnMsvcEngineLeavesAreReportedThroughItsFrames) {
  const std::string finallyRan = "msvc engine: __finally ran\n";
#ifdef _WIN64
  const std::string& overflowCleanup = finallyRan;
#else
  const std::string overflowCleanup;
#endif
  const struct {
    std::string action;
    std::string description;
    std::string said;  // by the engine, before the box
  } cases[] = {{"fault", kAccess, ""},
               {"declined-fault", kAccess, "msvc engine: the filter declines\n"},
               {"finally-fault", kAccess, finallyRan},
               {"filesystem-fault", kAccess, finallyRan},
               {"overflow", "unknown exception: c00000fd", overflowCleanup}};
  for (const auto& fault : cases) {
    SCOPED_TRACE(fault.action);
    GameFolder folder;
    folder.UseMsvcEngine();
    const auto run = RunGame(folder, "-do=" + fault.action);
    ExpectCrashEnd(run, folder, fault.description);
    const std::string report = ReadFileText(folder.File("callstack.txt"));
    ASSERT_EQ(report.substr(0, kHead.size()), kHead);
    const size_t end = report.find(InFile("\n"), kHead.size());
    ASSERT_NE(end, std::string::npos);
    const std::string faulting = report.substr(kHead.size(), end - kHead.size());
    const bool inFileSystem = fault.action == "filesystem-fault";
    EXPECT_EQ(faulting.rfind("vfs::", 0) == 0, inFileSystem) << faulting;
    if (!inFileSystem) {
      EXPECT_TRUE(!faulting.empty() &&
                  faulting.find_first_not_of("0123456789ABCDEF") == std::string::npos)
          << faulting;
    }
    EXPECT_NE(report.find(InFile("\nRunGame\n"), end), std::string::npos);
    EXPECT_EQ(report.find("Exception occured at:") != std::string::npos, inFileSystem);

    // What the engine says comes before the banner and CrashExit's text, which come before its
    // box. (On x64 the filter is asked a second time, about our exception on its way out.)
    const auto& said = run.result.debugStrings;
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(said.end() - 2, said.end()),
              (std::vector<std::string>{"*** Exception ***\r\n", run.result.boxes[0].text}));
    const std::vector<std::string> engine(said.begin(), said.end() - 2);
    EXPECT_EQ(engine.empty(), fault.said.empty());
    for (const std::string& text : engine) EXPECT_EQ(text, fault.said);
  }
}

// What a minidump says, read through its stream directory: the exception, the modules (file name,
// first and last address) and the threads. Fields the file lacks stay empty.
struct DumpFacts {
  ULONG32 code = 0, thread = 0;
  ULONG64 address = 0;
  std::vector<std::pair<std::string, std::pair<ULONG64, ULONG64>>> modules;
  std::vector<ULONG32> threads;
};

DumpFacts ReadDump(const std::string& text) {
  DumpFacts facts;
  const auto at = [&text](RVA offset, size_t size) {
    return offset + size <= text.size() ? text.data() + offset : nullptr;
  };
  const auto* header = reinterpret_cast<const MINIDUMP_HEADER*>(at(0, sizeof(MINIDUMP_HEADER)));
  // "MDMP" at the start of the file.
  if (header == nullptr || header->Signature != 0x504D444D) return facts;
  for (ULONG32 i = 0; i < header->NumberOfStreams; ++i) {
    const auto* entry = reinterpret_cast<const MINIDUMP_DIRECTORY*>(at(
        header->StreamDirectoryRva + i * sizeof(MINIDUMP_DIRECTORY), sizeof(MINIDUMP_DIRECTORY)));
    const char* data = entry ? at(entry->Location.Rva, entry->Location.DataSize) : nullptr;
    if (data == nullptr) continue;
    if (entry->StreamType == ExceptionStream) {
      const auto& stream = *reinterpret_cast<const MINIDUMP_EXCEPTION_STREAM*>(data);
      facts.code = stream.ExceptionRecord.ExceptionCode;
      facts.address = stream.ExceptionRecord.ExceptionAddress;
      facts.thread = stream.ThreadId;
    } else if (entry->StreamType == ModuleListStream) {
      const auto& list = *reinterpret_cast<const MINIDUMP_MODULE_LIST*>(data);
      for (ULONG32 m = 0; m < list.NumberOfModules; ++m) {
        const MINIDUMP_MODULE& module = list.Modules[m];
        const auto* name = reinterpret_cast<const MINIDUMP_STRING*>(at(module.ModuleNameRva, 4));
        std::string file;
        for (ULONG32 c = 0; name && c < name->Length / 2; ++c) {
          file += static_cast<char>(name->Buffer[c]);
        }
        facts.modules.push_back({file.substr(file.find_last_of('\\') + 1),
                                 {module.BaseOfImage, module.BaseOfImage + module.SizeOfImage}});
      }
    } else if (entry->StreamType == ThreadListStream) {
      const auto& list = *reinterpret_cast<const MINIDUMP_THREAD_LIST*>(data);
      for (ULONG32 t = 0; t < list.NumberOfThreads; ++t)
        facts.threads.push_back(list.Threads[t].ThreadId);
    }
  }
  return facts;
}

// A fault in the MSVC-built engine leaves a minidump in crashdumps/ that names the engine's module
// around the fault, beside the report. The newest ten dumps of the program's names are kept; what
// else lies in the folder stays.
TEST(CrashReport, AFaultLeavesADumpWhoseModuleListPlacesTheFaultInTheEngine) {
  GameFolder folder;
  folder.UseMsvcEngine();
  std::filesystem::create_directories(folder.File("crashdumps"));
  std::vector<std::string> earlier;
  for (int day = 1; day <= 10; ++day) {
    char name[64];
    std::snprintf(name, sizeof name, "crashdumps\\crash_2020-01-%02d_120000.dmp", day);
    earlier.push_back(folder.File(name));
    harness::WriteFileText(earlier.back(), "an earlier dump");
  }
  for (const char* other : {"crashdumps\\crash_notes.dmp", "crashdumps\\notes.txt"}) {
    harness::WriteFileText(folder.File(other), "kept");
  }
  const auto run = RunGame(folder, "-do=fault");
  ExpectCrashEnd(run, folder, kAccess);
  EXPECT_FALSE(FileExists(earlier[0])) << "the oldest of eleven dumps is deleted";
  for (size_t i = 1; i < earlier.size(); ++i) EXPECT_TRUE(FileExists(earlier[i])) << earlier[i];
  std::string dump;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("crashdumps"))) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("crash_2020", 0) != 0 && name.size() > 4 &&
        name.substr(name.size() - 4) == ".dmp" && name != "crash_notes.dmp") {
      EXPECT_TRUE(dump.empty()) << "one dump per crash";
      dump = ReadFileText(entry.path().string());
    }
  }
  for (const char* other : {"crashdumps\\crash_notes.dmp", "crashdumps\\notes.txt"}) {
    EXPECT_EQ(ReadFileText(folder.File(other)), "kept");
  }

  const DumpFacts facts = ReadDump(dump);
  if (!FaultCodesEmulated()) {
    EXPECT_EQ(facts.code, EXCEPTION_ACCESS_VIOLATION);
  }
  const auto module = [&facts](const std::string& name) {
    return std::find_if(facts.modules.begin(), facts.modules.end(), [&name](const auto& m) {
      return _stricmp(m.first.c_str(), name.c_str()) == 0;
    });
  };
  for (const char* name : {"Vantor.exe", "VantorEngine2.dll", "filesystem.dll"}) {
    EXPECT_NE(module(name), facts.modules.end()) << name;
  }
  const auto engine = module("VantorEngine2.dll");
  ASSERT_NE(engine, facts.modules.end());
  EXPECT_GE(facts.address, engine->second.first);
  EXPECT_LT(facts.address, engine->second.second);
  EXPECT_NE(std::find(facts.threads.begin(), facts.threads.end(), facts.thread),
            facts.threads.end())
      << "the faulting thread is in the thread list";
}

// Wine's per-program DLL load order for Vantor.exe, which disables dbghelp.dll while an object of
// this class lives (a WINEDLLOVERRIDES given to the child through CreateProcess's environment did
// not reach its loader under Wine 8: callstack.txt was still written). The prefix is shared by all
// tests: the override goes with the object however the test ends, and one that a killed run left
// behind goes before the first test.
constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\Vantor.exe\\DllOverrides";
void RemoveOverride() {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kOverrides, "dbghelp");
}
struct DbgHelpDisabled {
  DbgHelpDisabled() { RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, "dbghelp", REG_SZ, "", 1); }
  ~DbgHelpDisabled() { RemoveOverride(); }
};
struct LeftOverOverrideRemoval : ::testing::Environment {
  void SetUp() override { RemoveOverride(); }
};
::testing::Environment* const leftOverOverrideRemoval =
    ::testing::AddGlobalTestEnvironment(new LeftOverOverrideRemoval);

// Without dbghelp.dll, or with no callstack.txt that can be written, there is no report, and the
// game ends as with one.
TEST(CrashReport, WithoutDbgHelpOrAWritableFileThereIsNoReportButTheSameEnd) {
  GameFolder withoutLibrary, withoutFile;
  harness::GameRun run;
  {
    const DbgHelpDisabled disabled;
    run = RunGame(withoutLibrary, "-no-window -fault=illegal");
  }
  ExpectCrashEnd(run, withoutLibrary, "unknown exception: c000001d");
  EXPECT_FALSE(FileExists(withoutLibrary.File("callstack.txt")));

  std::filesystem::create_directories(withoutFile.File("callstack.txt"));
  run = RunGame(withoutFile, "-no-window -fault=illegal");
  ExpectCrashEnd(run, withoutFile, "unknown exception: c000001d");
  EXPECT_TRUE(std::filesystem::is_empty(withoutFile.File("callstack.txt")));
}

// A fault on another thread than the one that runs the game is not translated: no report, no box;
// the process ends with the fault's code, as Windows ends it.
TEST(CrashReport, AFaultOnAnotherThreadIsNotTranslated) {
  GameFolder folder;
  const auto run = RunGame(folder, "-no-window -fault=access -fault-on-thread");
  ASSERT_TRUE(run.result.started) << run.result.error;
  if (!FaultCodesEmulated()) {
    EXPECT_EQ(run.result.exitCode, static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
  }
  EXPECT_TRUE(run.result.boxes.empty());
  EXPECT_TRUE(harness::Traced(run.trace, "CGame::fault access"));
  EXPECT_FALSE(FileExists(folder.File("callstack.txt")));
  EXPECT_FALSE(FileExists(folder.File("crash.log")));
}

// 30 000 frames still fit the stack, with what the report needs on top of them; recursion until
// the stack is exhausted ends like any other fault, its report written on a stack of its own. Both
// reports start at the innermost frame, list the frames below it with their parameters, and are
// cut at the text's size. They take seconds: the harness gives their runs minutes on a busy
// machine, not its usual half minute.
TEST(CrashReport, AVeryDeepStackOrAnOverflowIsReportedUpToTheTextsSize) {
  const struct {
    const char* arguments;
    std::string description, innermost, below;
  } cases[] = {{"-fault=access -fault-depth=30000", kAccess, "FaultWithLocals",
                "FaultThroughFrames\n  params:\n    remaining = 1"},
               {"-fault=overflow", "unknown exception: c00000fd", "RecurseWithoutEnd",
                "RecurseWithoutEnd\n  params:\n    level = "}};
  harness::RunOptions patient;
  patient.timeoutMs = 180000;
  for (const auto& fault : cases) {
    SCOPED_TRACE(fault.arguments);
    GameFolder folder;
    const auto run = RunGame(folder, std::string("-no-window ") + fault.arguments, patient);
    ExpectCrashEnd(run, folder, fault.description);
    const std::string report = ReadFileText(folder.File("callstack.txt"));
    ExpectReportAround(report, InFile(fault.innermost + "\n"), fault.innermost);
    ExpectFullText(report);
    EXPECT_NE(report.find(InFile(fault.below)), std::string::npos);
  }
}

}  // namespace
