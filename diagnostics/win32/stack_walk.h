// The call-stack text of the crash report: every frame of the faulting thread from the fault
// outwards, with its function's name, its source line when known, and its parameters and locals.
// The bytes it makes are part of the file that crash_report.h describes.
#pragma once

#include <windows.h>

// Appends "\r\nCall stack:\r\n" and one entry per frame walked from context (which is not
// changed) to the report text that lives (report_text.h). Returns true when at least one frame
// was walked; false when crash reporting is disabled, the library lacks what a walk needs, or the
// first step of the walk fails. Text beyond the buffer's size is cut off.
bool WalkCallStack(const CONTEXT* context);
