#pragma once

// The launcher's outermost handling of an exception that escapes the running game: the engine's
// exception, a translated processor fault, or anything else. Each ends the process through
// CrashExit with exit code -1, after the banner the log expects; nothing is shut down.
[[noreturn]] void CrashExitForCurrentException();

// While the game runs, exceptions that no handler of ours can catch end as if the outermost
// handlers had caught them: a C++ exception for which no handler can be found (std::terminate),
// and a C++ exception thrown by an MSVC-built engine that the engine does not catch itself.
// Restores what was installed before when it goes.
class EscapedExceptionGuard {
 public:
  EscapedExceptionGuard();
  ~EscapedExceptionGuard();
  EscapedExceptionGuard(const EscapedExceptionGuard&) = delete;
  EscapedExceptionGuard& operator=(const EscapedExceptionGuard&) = delete;
};
