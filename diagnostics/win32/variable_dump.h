// The parameters and locals of one frame of the crash report, with their values read from this
// process's memory and laid out by the debug information's type records. Every read is guarded
// (ReadProcessMemory, which fails instead of faulting): an unreadable variable costs one error
// line, not the report. Text goes to the report text (report_text.h), in the form that
// crash_report.h describes.
#pragma once

#include <windows.h>
// windows.h first: dbghelp.h needs its types.
#include <dbghelp.h>

// Forgets which heading ("params:" or "locals:") was written last: called before each frame.
void ResetVariableSection();

// The callback handed to SymEnumSymbols for one frame; context is the frame's STACKFRAME64, whose
// frame address is the base of frame-relative variables. Returns FALSE to end the frame's listing
// (a variable held in a register), TRUE to go on.
BOOL CALLBACK ListVariable(PSYMBOL_INFO symbol, ULONG size, PVOID context);

// Appends the name of the type or member id and then either its value or its members, one per
// line, indented by nesting level (0 for the variable itself). address is where its value lies.
// False when memory it had to read could not be read: the text stops there.
bool FormatVariable(ULONG id, int level, ULONG64 address);

// Appends "= ", the value of type or member id at address (an array's first ten elements, text,
// a float, a hexadecimal number) and the line end. False as for FormatVariable.
bool FormatValue(ULONG id, int level, ULONG64 address);

// True when address holds zero-terminated text that reads as words rather than binary data. The
// i686 build accepts addresses from 0x1000 to 0x80000000, the x64 build up to 0x7FFFFFFEFFFF.
bool IsPrintableText(ULONG64 address);
