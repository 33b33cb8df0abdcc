// Turning processor faults on the main thread into ordinary C++ exceptions, as the runtime's
// _set_se_translator does for MSVC-compiled code (it does not serve GCC's frames): after
// SetSeTranslator, a fault on the installing thread that no frame-based handler takes calls the
// translator on that thread's own stack, as if called from the faulting instruction, and whatever
// the translator throws leaves the faulting frame. Faults that code handles for itself stay its
// own: an engine's __try/__except, Windows' guarded probes (IsBadReadPtr and the like).
// The launcher installs TranslateSeException, which writes the crash report and throws the
// exception code.
//
// The translation starts from the process's unhandled-exception filter, the last handler Windows
// asks, before anything is unwound. Under a debugger Windows gives an unhandled exception to the
// debugger instead of the filter (measured under Wine: a harness debugging the program and
// passing exceptions on saw it end with the fault's code, no report and no box).
#pragma once

#include <windows.h>

using SeTranslatorFunction = void (*)(unsigned int code, EXCEPTION_POINTERS* pointers);

// Installs the translator for the calling thread and returns the one installed before, and keeps
// stack in reserve for handling a stack overflow there. Faults on other threads and exceptions
// raised while a translation runs are left to the system. The translator receives copies of the
// exception record and context and must throw.
SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator);

// The translator: writes the crash report (crash_report.h) and the crash dump (crash_dump.h), then
// throws the code as unsigned int.
// After a stack overflow the report is written on a stack of its own.
[[noreturn]] void TranslateSeException(unsigned int code, EXCEPTION_POINTERS* pointers);
