#include "engine_trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {

// Idle calls not yet written. Only the thread that runs the game calls into it.
unsigned long long pendingIdleCalls = 0;

}  // namespace

void CountIdleCall() {
  ++pendingIdleCalls;
}

void FlushIdleCalls() {
  if (pendingIdleCalls == 0) return;
  const unsigned long long count = pendingIdleCalls;
  pendingIdleCalls = 0;
  TraceLine("CGame::OnIdle x %llu", count);
}

void EngineTrace(const char* format, ...) {
  if (!TraceEnabled()) return;
  FlushIdleCalls();

  char line[kTraceLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  TraceLine("%s", line);
}

std::string ModuleText(const void* module) {
  if (module == GetModuleHandleA(nullptr)) return "exe";
  char text[32];
  std::snprintf(text, sizeof text, "0x%p", module);
  return text;
}
