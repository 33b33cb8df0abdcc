// The sinks of the log output, one implementation per platform: win32/log_platform.cpp makes the
// Windows calls the program is built on; posix/log_platform.cpp serves the native build, where
// the debugger and the message box are stand-ins written to stderr. Every failure is silent: the
// log output never reports its own failures.
#pragma once

#include <cstddef>
#include <cstdint>

namespace log_platform {

// A file or console handle: a Windows HANDLE, or on POSIX a file descriptor plus one, so that no
// descriptor (not even 0) reads as absent. An integer, so that no caller needs <windows.h>.
using Handle = std::intptr_t;
constexpr Handle kNoHandle = 0;        // absent: the log is not open yet, or there is no console
constexpr Handle kInvalidHandle = -1;  // a failed creation (Windows: INVALID_HANDLE_VALUE)

// Creates the log file, truncating one that exists. Every write goes through to the disk; other
// processes may read the file while it is open (on Windows not write or delete it). Returns
// kInvalidHandle when the file cannot be created.
Handle CreateLogFile(const char* name);

// Writes length bytes of text to the file; the result is ignored.
void WriteLogFile(Handle file, const char* text, std::size_t length);

// Flushes the file's buffers to the disk; the result is ignored.
void FlushLogFile(Handle file);

// Closes the file. The program never closes its log; only the tests' reset does.
void CloseLogFile(Handle file);

// Passes zero-terminated text to the debugger.
void OutputToDebugger(const char* text);

// The handle of the standard output, taken as the console.
Handle StandardOutput();

// Writes length bytes of text to the console; the result is ignored.
void WriteToConsole(Handle console, const char* text, std::size_t length);

// Shows text in a system-modal error message box with the given caption and an OK button;
// returns when the user closes it.
void ShowErrorBox(const char* text, const char* caption);

// Ends the process at once with exit code -1 (all 32 bits set), cleaning up nothing.
[[noreturn]] void ExitWithCodeMinusOne();

// Creates a folder in the working folder; the result is ignored (it usually exists already).
void MakeFolder(const char* name);

// Size of each of the buffers that LocalDateAndClock fills.
constexpr std::size_t kStampSize = 128;

// The current local date as "yyyy-MM-dd" and time of day as "hhmm" on the 24-hour clock, both of
// one reading of the clock, each into a buffer of kStampSize bytes.
void LocalDateAndClock(char* date, char* clock);

}  // namespace log_platform
