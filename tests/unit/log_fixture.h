// Each log test starts from a fresh log (the module's state at process start) in a working folder
// of its own, registered with the file-system library as its one source, as the launcher registers
// the game folder, so that a "debug.fnt" written into it is seen by FS_exists.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "working_folder_fixture.h"

class LogTest : public WorkingFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Collects the text that reaches the debugger while it exists. Natively the log's debugger sink
// is stderr. On Windows OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text, which a
// vectored exception handler sees before the system handles it.
class DebuggerCapture {
 public:
  DebuggerCapture();
  ~DebuggerCapture();
  DebuggerCapture(const DebuggerCapture&) = delete;
  DebuggerCapture& operator=(const DebuggerCapture&) = delete;

  // Stops collecting and returns what was collected.
  std::string Finish();

 private:
  bool finished_ = false;
#ifdef _WIN32
  void* handler_ = nullptr;
#endif
};

// For a death test's statement, before CrashExit. On Windows starts a thread that waits for this
// process's message box, writes `message box "<caption>": <text>` to stderr, where the death test
// reads it, and presses OK. The native stand-in box already writes that line, so natively this
// does nothing.
void AnswerCrashBoxOnStderr();

// The exit status a parent sees for CrashExit's exit code -1: all 32 bits on Windows, the low
// 8 bits on POSIX.
#ifdef _WIN32
constexpr int kCrashExitStatus = -1;
#else
constexpr int kCrashExitStatus = 255;
#endif
