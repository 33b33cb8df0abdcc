#pragma once

#include <windows.h>

#include <exception>

// The launcher's outermost handling of an exception that escapes the running game: the engine's
// exception, a translated processor fault, or anything else. Each ends the process through
// CrashExit with exit code -1, after the banner the log expects; nothing is shut down.
[[noreturn]] void CrashExitForCurrentException();

// While the game runs, exceptions that no handler of ours can catch end as if the outermost
// handlers had caught them: a C++ exception for which no handler can be found (std::terminate),
// and a C++ exception thrown by an MSVC-built engine that the engine does not catch itself and
// that left it by a road other than engine_calls.h (a window procedure that PeekMessage calls for a
// message sent from another thread, say). Restores what was installed before when it goes.
class EscapedExceptionGuard {
 public:
  EscapedExceptionGuard();
  ~EscapedExceptionGuard();
  EscapedExceptionGuard(const EscapedExceptionGuard&) = delete;
  EscapedExceptionGuard& operator=(const EscapedExceptionGuard&) = delete;
};

// What a C++ exception thrown by an MSVC-built engine becomes in our code: a CEngineException
// when the engine's type derives from it (its texts copied, as the engine's object does not
// outlive the unwinding), any other exception otherwise; null for every other exception. Such an
// exception ends the game: its crash dump (crash_dump.h) is written here, while the engine's
// frames still stand.
std::exception_ptr EngineExceptionOf(EXCEPTION_POINTERS& pointers);
