// The crash report: appended to "callstack.txt" in the working folder when a processor fault is
// translated. A separator and the call stack, then a separator and the place of the fault. The
// file is opened in text mode, so every LF written becomes CR LF.
#pragma once

#include <windows.h>

// Writes both blocks for the fault that pointers describe, as far as the debug-help library
// allows; does nothing once crash reporting is disabled. Every failure is silent.
void WriteCrashReport(EXCEPTION_POINTERS* pointers);

// The same report, written by a thread of its own, for a fault that left the faulting thread too
// little stack (a stack overflow). Waits for it, but not past a time limit, so that a report that
// cannot finish (the overflow came inside a lock the report needs) cannot keep the program from
// ending.
void WriteCrashReportOnOwnStack(EXCEPTION_POINTERS* pointers);

// Walks the stack from context and appends the call-stack block, unless the walk fails.
void WriteCallStackReport(CONTEXT* context);
