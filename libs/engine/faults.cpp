// Compiled with -O0 (see CMakeLists.txt): each parameter and local below keeps a stack slot that
// a crash report can find through the debug info and print.
#include "faults.h"

#include <windows.h>

#include "engine_trace.h"

// A named struct, so that the crash report can show its type and its members.
struct FaultPoint {
  int x;
  int y;
};

namespace {

// Kept out of the compiler's sight, so that the faulting instructions are emitted as written.
int* volatile nowhere = nullptr;
volatile int zero = 0;

// The kind of fault the innermost frame raises, kept outside the recursion so that every
// recursive frame has one int parameter and one local and nothing else.
volatile int faultKind = 0;

volatile bool deeper = true;

}  // namespace

// The faulting frame. Its parameters and locals are one of each kind a crash report must print:
// an int, a char array, a char pointer, an int array, a float and a struct.
__attribute__((noinline)) int FaultWithLocals(int kind) {
  char text[8] = "hi";
  const char* pointer = "abc";
  int numbers[3] = {1, 2, 3};
  float ratio = 1.5f;
  FaultPoint point = {1, 2};

  switch (static_cast<FaultKind>(kind)) {
    case FaultKind::kAccess:
      *nowhere = point.x;  // write to address 0
      break;
    case FaultKind::kBreakpoint:
      __asm__ volatile("int3");
      break;
    case FaultKind::kDivide:
      numbers[0] = numbers[1] / zero;  // idiv by zero
      break;
    case FaultKind::kIllegal:
      __asm__ volatile("ud2");
      break;
    case FaultKind::kOverflow:  // raised by RaiseDeliberateFault before this frame is reached
    case FaultKind::kNone:
      break;
  }
  // Only reached when a handler resumed after the fault.
  return numbers[0] + point.y + static_cast<int>(ratio) + text[0] + pointer[0];
}

// One frame per level on the way down to the fault, for reports on deep stacks.
__attribute__((noinline)) int FaultThroughFrames(int remaining) {
  int level = remaining;
  if (remaining > 1) {
    level += FaultThroughFrames(remaining - 1);
  } else {
    level += FaultWithLocals(faultKind);
  }
  return level;  // the addition keeps each call from being a tail call
}

// Recurses until the thread's stack is exhausted (the flag never changes; it only keeps the
// compiler from calling the recursion endless). The addition after the call keeps each call from
// being a jump.
__attribute__((noinline)) int RecurseWithoutEnd(int level) {
  int sum = level;
  if (deeper) sum += RecurseWithoutEnd(level + 1);
  return sum;
}

void RaiseDeliberateFault(FaultKind kind, std::uint32_t depth) {
  if (kind == FaultKind::kNone) return;
  // Written first: the fault may end the process before anything else is written.
  EngineTrace("CGame::fault %s", FaultKindName(kind));
  faultKind = static_cast<int>(kind);
  if (kind == FaultKind::kOverflow) {
    RecurseWithoutEnd(1);
  } else if (depth == 0) {
    FaultWithLocals(faultKind);
  } else {
    FaultThroughFrames(static_cast<int>(depth));
  }
}

namespace {

struct FaultRequest {
  FaultKind kind;
  std::uint32_t depth;
};

DWORD WINAPI FaultingThread(LPVOID argument) {
  const auto& request = *static_cast<const FaultRequest*>(argument);
  RaiseDeliberateFault(request.kind, request.depth);
  return 0;
}

}  // namespace

void RaiseDeliberateFaultOnOwnThread(FaultKind kind, std::uint32_t depth) {
  // On this thread's stack: the thread is waited for.
  FaultRequest request = {kind, depth};
  const HANDLE thread = CreateThread(nullptr, 0, FaultingThread, &request, 0, nullptr);
  if (thread == nullptr) return;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}
