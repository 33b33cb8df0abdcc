// The engine's lines in the call trace (see libs/trace). OnIdle runs thousands of times a second,
// so its calls are counted and written as one "CGame::OnIdle x N" line just before the next other
// line.
#pragma once

#include <string>

#include "trace.h"

// Counts one OnIdle call.
void CountIdleCall();

// Writes "CGame::OnIdle x N" when N > 0 idle calls were counted since the last line, and starts
// counting again. Called before every other engine line, before a deliberate throw or fault, and
// when the DLL is unloaded.
void FlushIdleCalls();

// Writes one engine line, after the pending idle count.
void EngineTrace(const char* format, ...) VANTOR_PRINTF_FORMAT(1, 2);

// A module handle for a trace line: "exe" for the program's own module, else its address in hex.
std::string ModuleText(const void* module);
