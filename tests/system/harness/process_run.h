// Starts a Windows program the way a player would, watches it as its debugger, answers its message
// boxes and reports what it showed, what it said to the debugger and how it ended.
#pragma once

#include <string>
#include <vector>

namespace harness {

struct MessageBoxRecord {
  std::string caption;
  std::string text;
};

struct RunOptions {
  std::string program;        // full Windows path of the executable
  std::string arguments;      // the command line after the program name
  std::string workingFolder;  // empty: the harness's own
  std::vector<std::string>
      environment;  // "NAME=value" set or replaced for the child; "NAME=" removes
  unsigned timeoutMs = 30000;
  // How OutputDebugStringA texts are collected. By default Wine's own trace of them
  // (WINEDEBUG=+debugstr, written to the harness's standard error, which must be the file named by
  // VANTOR_STDERR_FILE), which leaves the program undisturbed but cuts each text after 300
  // characters. As its debugger the harness receives every text
  // whole, but under Wine 8 (x64) a C++ exception thrown in a debugged program ends in a loop of
  // access violations, so only programs that throw nothing may be run that way.
  bool asDebugger = false;
};

struct RunResult {
  bool started = false;
  bool timedOut = false;  // the harness ended the process after the time limit
  unsigned long exitCode = 0;
  std::vector<MessageBoxRecord> boxes;    // in the order they appeared
  std::vector<std::string> debugStrings;  // each OutputDebugStringA text, whole
  // As its debugger only: the file names of the libraries it loaded, lower-cased, in order.
  std::vector<std::string> loadedLibraries;
  std::string error;                      // why it could not be started
};

// Runs the program to its end (or the time limit) and returns what it did.
RunResult RunProgram(const RunOptions& options);

// A program left running while the test does other things (a first instance of the game, say).
// It is not debugged and its boxes are not answered. Ended at destruction if still running.
class BackgroundProgram {
 public:
  explicit BackgroundProgram(const RunOptions& options);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  bool Running() const;

 private:
  void* process_ = nullptr;
};

}  // namespace harness
