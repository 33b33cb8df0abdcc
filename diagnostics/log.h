// The log output: the one place through which the program reports text while it runs. All state
// is module-level and static, and every caller runs on the thread that entered WinMain: none of
// these functions may be called from two threads at once or reentrantly.
//
// Formats follow printf, by the rules of the Windows runtime's _vsnprintf. Text that may contain
// '%' goes in as the argument of "%s", never as the format. Formatted text is cut at 2047
// characters.
#pragma once

#include "printf_format.h"

// The ordinary log line: written to the log file (opened on first use), to the debugger and to
// the console when one is attached, with every line end made CR LF. Callers end their lines with
// "\n" themselves; one call may hold several lines.
void LogPrint(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// Text for the console alone, unconverted; never reaches the log file or the debugger.
void ConsolePrint(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// The fatal end: writes the text unconverted to the log file (if one is open) and flushes it,
// passes it to the debugger and the console, shows it in a system-modal message box with the
// caption "CrashExit..." and ends the process with exit code -1.
[[noreturn]] void CrashExit(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// Creates the log file: "crash.log", or the dated name of CrashLogFileName when the file system
// holds "debug.fnt", falling back to "crash.log". Attaches the standard output as the console
// when consoleEcho is true. Runs once, from the first LogPrint.
void LogOpen(bool consoleEcho);

// Makes the folder "logs" and returns "logs/crash_<yyyy-MM-dd>_<hhmm>.log" for the current local
// time, in static storage that the next call overwrites.
const char* CrashLogFileName();
