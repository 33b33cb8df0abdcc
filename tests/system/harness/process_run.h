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
  bool asDebugger = true;  // receive OutputDebugStringA texts as debug events
};

struct RunResult {
  bool started = false;
  bool timedOut = false;  // the harness ended the process after the time limit
  unsigned long exitCode = 0;
  std::vector<MessageBoxRecord> boxes;    // in the order they appeared
  std::vector<std::string> debugStrings;  // each OutputDebugStringA text, whole
  std::string error;                      // why it could not be started
};

// Runs the program to its end (or the time limit) and returns what it did.
RunResult RunProgram(const RunOptions& options);

}  // namespace harness
