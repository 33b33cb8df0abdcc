// The system tests' harness: runs Windows programs the way a player would, in private copies of
// the staged game folder, answers their message boxes and reports what they showed, what they said
// to the debugger and how they ended. Paths are Windows paths, as the programs see them.
#pragma once

#include <string>
#include <vector>

namespace harness {

struct RunOptions {
  std::string program;                   // full Windows path of the executable
  std::string arguments;                 // the command line after the program name
  std::string workingFolder;             // empty: the harness's own
  std::vector<std::string> environment;  // "NAME=value" set or replaced for the program
  unsigned timeoutMs = 30000;
};

struct MessageBoxRecord {
  std::string caption;
  std::string text;
};

struct RunResult {
  bool started = false;
  unsigned long exitCode = 0;
  std::vector<MessageBoxRecord> boxes;  // in the order they appeared
  // Each OutputDebugStringA text, and each library loaded (its file name, lower-cased), from
  // Wine's trace on the harness's standard error, which must be the file named by
  // VANTOR_STDERR_FILE (run_capturing_stderr.sh).
  std::vector<std::string> debugStrings, loadedLibraries;
  std::string error;  // why it could not be started
};

// Runs the program to its end (or the time limit) and returns what it did.
RunResult RunProgram(const RunOptions& options);

// A program left running while the test does other things (a first instance of the game, say);
// its boxes are not answered. Ended at destruction if still running.
class BackgroundProgram {
 public:
  explicit BackgroundProgram(const RunOptions& options);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;
  bool Running() const;
  // The program's top-level window of the class given, or null while it has none.
  void* Window(const char* className) const;
  // Waits for the program's end, up to timeoutMs; false when it still runs.
  bool WaitForEnd(unsigned timeoutMs, unsigned long& exitCode) const;

 private:
  void* process_ = nullptr;
};

// A Linux path (as ctest hands it over in the environment) as the Windows path under Wine's Z:
// drive; Windows paths come back unchanged.
std::string ToWindowsPath(const std::string& path);
// The folder that holds the test programs (and what the build puts beside them).
std::string ProgramFolder();
std::string ReadFileText(const std::string& path);  // empty when missing
std::vector<std::string> ReadLines(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

// A private copy of the staged game (VANTOR_GAME_DIR) in a new temporary folder, or in an existing
// folder (a drive's root, say) emptied first and only emptied afterwards. The diagnostics tool's
// report is made, so that the launcher does not start the tool.
class GameFolder {
 public:
  GameFolder();
  explicit GameFolder(const std::string& existingFolder);
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const {
    return path_.back() == '\\' ? path_ + relative : path_ + "\\" + relative;
  }
  // Puts the engine built in Microsoft's ABI (libs/msvc_engine), which the build places in the
  // folder msvc beside the test programs, in place of ours.
  void UseMsvcEngine() const;

 private:
  std::string path_;
  bool ownsFolder_ = true;
};

struct GameRun {
  RunResult result;
  std::vector<std::string> trace;  // the libraries' trace lines, in call order
};

// Options that start folder's Vantor.exe with arguments, from the game's folder unless options
// name another, with the libraries' call trace written to trace.txt there.
RunOptions GameOptions(const GameFolder& folder, const std::string& arguments,
                       RunOptions options = RunOptions());
GameRun RunGame(const GameFolder& folder, const std::string& arguments,
                RunOptions options = RunOptions());
// Whether a line of the trace starts with start.
bool Traced(const std::vector<std::string>& trace, const std::string& start);

// Whether the 32-bit build runs under qemu's user-mode emulation (on a kernel without 32-bit
// support, which scripts/test announces with VANTOR_EMULATED_I386=1). The emulator hands Wine
// wrong trap numbers there: an access violation arrives as c000001d, a division by zero as
// c0000090, and what tells faults apart by their code (a fault's text, Windows' own guarded
// probes) cannot be checked.
bool FaultCodesEmulated();

}  // namespace harness
