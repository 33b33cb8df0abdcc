// Calls into code that another compiler built (an engine built by Microsoft's) through a frame of
// our own that has a structured-exception handler, so that what escapes that code unwinds its
// frames first, as its own compiler would have it: its destructors and __finally blocks run, in
// its own order, through the system's unwinder, and then the exception goes on as one of ours
// from the frame that made the call, where GCC's unwinder carries it to our handlers.
//
// Two kinds of exception take that road:
// - an exception that the foreign frames raise and none of their own handlers takes, when the
//   call's converter says what it becomes (a C++ exception of MSVC-compiled code, say); the
//   converter runs before anything is unwound, while the thrown object still stands;
// - on the 32-bit build, a processor fault that the translator (se_translator.h) turns into our
//   exception where GCC's DWARF unwinder cannot pass the frames between the fault and the call:
//   the translator has its crash report written first, then the frames are unwound.
// Everything else leaves the call as it would without it: our own exceptions out of our own code,
// and faults that GCC's unwinder can carry from where they happened.
//
// When the foreign frames' cleanup raises an exception of its own while they are being unwound,
// the rest of their cleanup is given up and the first exception goes on.
#pragma once

#include <windows.h>

#include <exception>

// The exception to throw in place of the one pointers describe (its record, and the context where
// it was raised), or null to leave it alone.
using ForeignExceptionConverter = std::exception_ptr (*)(EXCEPTION_POINTERS& pointers);

// Calls call(argument) inside such a frame.
void CallForeign(void (*call)(void* argument), void* argument, ForeignExceptionConverter converter);

#ifndef _WIN64
// For the fault translator, on the thread that calls: whether GCC's unwinder, starting from the
// caller, passes every frame up to the innermost call of CallForeign (true when there is none).
bool GccUnwinderReachesForeignCall();

// Unwinds every frame below the innermost call of CallForeign through the system's unwinder, with
// record as the exception being unwound, and throws exception from that call.
[[noreturn]] void UnwindToForeignCall(const EXCEPTION_RECORD& record, std::exception_ptr exception);
#endif
