#include "structured_faults.h"

#include "cleanup.h"
#include "filesystem_api.h"
#include "system_api.h"

namespace {

// What every __finally of the engine says when it runs.
constexpr char kFinallyRan[] = "msvc engine: __finally ran\n";

__declspec(noinline) void WriteThroughNull() {
  int* volatile target = nullptr;
  *target = 1;
}

// Kept out of the compiler's sight, so that the recursion stays one.
volatile bool deeper = true;

// Frames of about half a KiB: few enough to list them all in a crash report quickly. (With frames
// of some KiB the stack pointer can pass Wine's one guard page before anything touches it; the
// 32-bit process then ends without an exception, whatever the host does.)
__declspec(noinline) int RecurseWithoutEnd(int depth) {
  volatile char frame[512];
  const int at = depth % static_cast<int>(sizeof frame);
  frame[at] = static_cast<char>(depth);
  return deeper ? RecurseWithoutEnd(depth + 1) + frame[at] : 0;
}

int DeclineAndSay() {
  OutputDebugStringA("msvc engine: the filter declines\n");
  return kExceptionContinueSearch;
}

}  // namespace

void FaultUnhandled() {
  WriteThroughNull();
}

void FaultHandledByEngine() {
  __try {
    WriteThroughNull();
  } __except (kExceptionExecuteHandler) {
    OutputDebugStringA("msvc engine: fault handled\n");
  }
}

void FaultPastDecliningFilter() {
  __try {
    WriteThroughNull();
  } __except (DeclineAndSay()) {
    OutputDebugStringA("msvc engine: declined fault handled after all\n");
  }
}

void FaultUnderFinally() {
  __try {
    WriteThroughNull();
  } __finally {
    OutputDebugStringA(kFinallyRan);
  }
}

void OverflowUnderFinally() {
  __try {
    RecurseWithoutEnd(0);
  } __finally {
    OutputDebugStringA(kFinallyRan);
  }
}

void FaultInFileSystemUnderFinally() {
  __try {
    // A name at an address that is never mapped: the library faults reading it.
    FS_exists(reinterpret_cast<const char*>(16));
  } __finally {
    OutputDebugStringA(kFinallyRan);
  }
}

FaultsWhenDestroyed::~FaultsWhenDestroyed() {
  WriteThroughNull();
}
