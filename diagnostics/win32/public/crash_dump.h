// A minidump beside the crash report, for the makers of the modules that the report can only show
// as addresses (a closed engine shipped without symbols): WinDbg or Visual Studio open it with
// their own symbols. It holds the exception with the faulting thread's context, every thread with
// its registers and stack, and the module list (names, bases, sizes, time stamps, versions); no
// other memory.
//
// Written into the folder "crashdumps" of the working folder as crash_YYYY-MM-DD_HHMMSS.dmp, by
// local time; a second dump in the same second is crash_YYYY-MM-DD_HHMMSS_2.dmp, and so on. The
// newest 10 files of those names are kept; nothing else in the folder is touched.
#pragma once

#include <windows.h>

// Writes the dump of the exception that pointers describe, raised on the calling thread, through
// the debug-help library's MiniDumpWriteDump, while the faulting stack still stands. A thread of
// its own writes it; the caller waits no longer than for a report. Without the library or that
// entry point, or when the file cannot be made or written (no dump is left then), nothing happens;
// every failure is silent.
void WriteCrashDump(EXCEPTION_POINTERS* pointers);
