// Processor faults on request, so that tests can see the program's crash report.
#pragma once

#include <cstdint>

#include "options.h"

// Writes "CGame::fault KIND" to the trace, then reaches FaultWithLocals through `depth` nested
// calls of a recursive function, and faults there. Does nothing for FaultKind::kNone. Returns only
// when a fault handler resumes execution after the faulting instruction.
void RaiseDeliberateFault(FaultKind kind, std::uint32_t depth);

// The same on a thread of the engine's own, which the calling thread waits for.
void RaiseDeliberateFaultOnOwnThread(FaultKind kind, std::uint32_t depth);
