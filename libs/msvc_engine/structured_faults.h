// Processor faults raised inside this engine, each under a different kind of structured-exception
// frame of the compiler's: the cases a host program must leave to the engine, and the ones it must
// report. Every fault is a write through a null pointer in a function of its own, so that the
// compiler's __try scopes cover it (it marks only calls as able to raise).
#pragma once

// Faults with no handler of the engine's: the host's to report.
void FaultUnhandled();
// Faults inside a __try whose __except takes it; returns normally.
void FaultHandledByEngine();
// Faults inside a __try whose filter declines (EXCEPTION_CONTINUE_SEARCH): the host's to report.
// The filter says on the debugger output that it was asked.
void FaultPastDecliningFilter();
// Faults inside a __try/__finally; the __finally says on the debugger output when it runs.
void FaultUnderFinally();
// Recurses inside a __try/__finally until the stack is exhausted; the __finally says on the
// debugger output when it runs.
void OverflowUnderFinally();
// Has the file-system library (built by GCC) fault inside a __try/__finally; the __finally says on
// the debugger output when it runs.
void FaultInFileSystemUnderFinally();
