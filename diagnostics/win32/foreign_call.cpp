#include "foreign_call.h"

#include <utility>

#ifndef _WIN64
#include <unwind.h>
#endif

// The handler of the calling frame, and on x64 where the system's unwinder resumes once the
// frames below are unwound; named in assembly, hence unmangled.
extern "C" {
EXCEPTION_DISPOSITION NTAPI VantorForeignCallHandler(EXCEPTION_RECORD* record, void* establisher,
                                                     CONTEXT* context, void* dispatch);
#ifdef _WIN64
void VantorForeignCallLanding();
#endif
}

namespace {

struct CallFrame {
#ifndef _WIN64
  // The 32-bit system finds frame-based handlers through a chain of these records that starts at
  // fs:[0]; this one is linked there for the length of the call.
  EXCEPTION_REGISTRATION_RECORD registration;
#endif
  // Where the call resumes once the frames below are unwound: __builtin_setjmp's five words.
  void* resume[5];
  // The head of the thread's chain of exception records while the call runs.
  EXCEPTION_REGISTRATION_RECORD* chain;
  ForeignExceptionConverter converter;
  CallFrame* outer;
};

// The innermost call on the one thread that calls into foreign code.
CallFrame* innermost = nullptr;
// What goes on from the innermost call once the frames below it are unwound.
std::exception_ptr pending;
// Set from the start of that unwinding until the call throws pending.
volatile bool unwinding = false;

// The chain of frame-based handlers that the 32-bit system walks. Wine keeps frames of its own
// there on x64 too, such as the one around a handler it calls: a call resumed from inside a handler
// must set the chain back, or the next exception walks dead records.
EXCEPTION_REGISTRATION_RECORD*& ChainHead() {
  return reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
}

// Links frame in for the call, and out again however the call ends: returning, thrown through by
// GCC's unwinder, or resumed after the frames below were unwound.
class CallLink {
 public:
  CallLink(CallFrame& frame, ForeignExceptionConverter converter) : frame_(frame) {
    frame.converter = converter;
    frame.outer = innermost;
#ifndef _WIN64
    frame.registration.Next = ChainHead();
    frame.registration.Handler = VantorForeignCallHandler;
    ChainHead() = &frame.registration;
#endif
    frame.chain = ChainHead();
    innermost = &frame;
  }
  ~CallLink() {
    innermost = frame_.outer;
#ifndef _WIN64
    ChainHead() = frame_.registration.Next;
#endif
  }
  CallLink(const CallLink&) = delete;
  CallLink& operator=(const CallLink&) = delete;

 private:
  CallFrame& frame_;
};

// The frame whose handler looks at what escapes the call. It has no cleanup of its own: on x64 its
// unwind data can name only one handler, and that is ours. Returns false when it resumed after the
// frames below were unwound.
__attribute__((noinline)) bool CallWithHandler(CallFrame& frame, void (*call)(void*),
                                               void* argument) {
#ifdef _WIN64
  __asm__(".seh_handler VantorForeignCallHandler, @except");
#endif
  if (__builtin_setjmp(frame.resume) != 0) return false;
  call(argument);
  return true;
}

// Leaves whatever runs below the innermost call (an unwinding, a handler of the system's) and
// resumes the call. The frame is read from static storage: the system's unwinder may have left
// any register changed.
[[noreturn]] void ResumeInnermost() {
  __builtin_longjmp(innermost->resume, 1);
}

// Whether the stack below this frame holds what the system's unwinder and the foreign frames'
// cleanup need. After a stack overflow it does not: on the 32-bit build Wine leaves one page, and
// cleanup that ran out of it would end the process without a word.
bool RoomToUnwind() {
  constexpr std::ptrdiff_t kUnwindingStack = 16 * 1024;
  char here = 0;
  MEMORY_BASIC_INFORMATION stack;
  if (VirtualQuery(&here, &stack, sizeof stack) == 0) return false;
  return &here - static_cast<char*>(stack.AllocationBase) >= kUnwindingStack;
}

[[noreturn]] void UnwindBelowInnermost(EXCEPTION_RECORD* record, std::exception_ptr exception,
                                       [[maybe_unused]] void* establisher,
                                       [[maybe_unused]] void* dispatch) {
  pending = std::move(exception);
  unwinding = true;
  // Without the stack for it the foreign frames' cleanup is given up, as when it fails.
  if (!RoomToUnwind()) ResumeInnermost();
#ifdef _WIN64
  // The unwinder resumes at the landing with the calling frame's registers, and the landing
  // resumes the call. Its context is scratch space of the caller's.
  static CONTEXT scratch;
  RtlUnwindEx(establisher, reinterpret_cast<void*>(&VantorForeignCallLanding), record, nullptr,
              &scratch, static_cast<DISPATCHER_CONTEXT*>(dispatch)->HistoryTable);
#else
  // Returns once every frame below the calling frame's record is unwound and unlinked.
  RtlUnwind(&innermost->registration, nullptr, record, nullptr);
#endif
  ResumeInnermost();
}

}  // namespace

extern "C" EXCEPTION_DISPOSITION NTAPI VantorForeignCallHandler(EXCEPTION_RECORD* record,
                                                                void* establisher, CONTEXT* context,
                                                                void* dispatch) {
  if (innermost == nullptr ||
      (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))) {
    return ExceptionContinueSearch;
  }
  // Raised by the cleanup of the frames being unwound: the rest of it is given up.
  if (unwinding) ResumeInnermost();
  EXCEPTION_POINTERS pointers = {record, context};
  std::exception_ptr converted = innermost->converter(pointers);
  if (converted == nullptr) return ExceptionContinueSearch;
  UnwindBelowInnermost(record, std::move(converted), establisher, dispatch);
}

#ifdef _WIN64
extern "C" void VantorForeignCallLanding() {
  ResumeInnermost();
}
#endif

void CallForeign(void (*call)(void*), void* argument, ForeignExceptionConverter converter) {
  CallFrame frame;
  const CallLink link(frame, converter);
  if (CallWithHandler(frame, call, argument)) return;
  // Resumed from inside an unwinding or a handler, whose records are dead now.
  ChainHead() = frame.chain;
  unwinding = false;
  std::exception_ptr exception = std::move(pending);
  pending = nullptr;
  std::rethrow_exception(exception);
}

#ifndef _WIN64
bool GccUnwinderReachesForeignCall() {
  if (innermost == nullptr) return true;
  struct Walk {
    _Unwind_Word target;
    bool reached;
  } walk = {reinterpret_cast<_Unwind_Word>(innermost), false};
  // A frame whose canonical frame address lies above the call's record is the calling frame or
  // one of its callers.
  _Unwind_Backtrace(
      [](_Unwind_Context* context, void* data) {
        auto& walk = *static_cast<Walk*>(data);
        if (_Unwind_GetCFA(context) <= walk.target) return _URC_NO_REASON;
        walk.reached = true;
        return _URC_END_OF_STACK;
      },
      &walk);
  return walk.reached;
}

void UnwindToForeignCall(const EXCEPTION_RECORD& record, std::exception_ptr exception) {
  // The unwinder marks the record it is given.
  static EXCEPTION_RECORD unwound;
  unwound = record;
  unwound.ExceptionFlags = 0;
  UnwindBelowInnermost(&unwound, std::move(exception), nullptr, nullptr);
}
#endif
