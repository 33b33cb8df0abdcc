// Turning processor faults on the main thread into ordinary C++ exceptions: the launcher installs
// TranslateSeException, which (once crash reports exist) writes the report and throws the
// exception code as an unsigned int.
#pragma once

#include <windows.h>

using SeTranslatorFunction = void (*)(unsigned int code, EXCEPTION_POINTERS* pointers);

// Installs the translator for the calling thread; returns the one installed before. The runtime's
// own _set_se_translator only serves frames compiled by MSVC, hence ours. Faults are not yet
// routed to the translator: until they are, a fault ends the process as an unhandled exception.
SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator);

// The translator: throws the code.
[[noreturn]] void TranslateSeException(unsigned int code, EXCEPTION_POINTERS* pointers);
