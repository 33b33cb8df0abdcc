#pragma once

// The launcher's outermost handling of an exception that escapes the running game: the engine's
// exception, a translated processor fault, or anything else. Each ends the process through
// CrashExit with exit code -1, after the banner the log expects; nothing is shut down.
[[noreturn]] void CrashExitForCurrentException();

// While the game runs, an exception that no handler can be found for (std::terminate) ends as if
// the outermost handlers had caught it. Restores the previous terminate handler when it goes.
class EscapedExceptionGuard {
 public:
  EscapedExceptionGuard();
  ~EscapedExceptionGuard();
  EscapedExceptionGuard(const EscapedExceptionGuard&) = delete;
  EscapedExceptionGuard& operator=(const EscapedExceptionGuard&) = delete;

 private:
  void (*previous_)();
};
