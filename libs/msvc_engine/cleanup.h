// Locals whose destructors are the engine's cleanup, for the cases where an exception leaves the
// engine: a host that unwinds the engine's frames runs them, one that does not never does.
#pragma once

#include "system_api.h"

// Says text on the debugger output when destroyed.
class SaysWhenDestroyed {
 public:
  explicit SaysWhenDestroyed(const char* text) : text_(text) {}
  ~SaysWhenDestroyed() { OutputDebugStringA(text_); }

 private:
  const char* text_;
};

// Writes through a null pointer when destroyed: cleanup that fails while it is being unwound.
class FaultsWhenDestroyed {
 public:
  ~FaultsWhenDestroyed();
};
