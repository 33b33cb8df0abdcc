// Catching an MSVC-style exception inside the engine, through the system's frame-based exception
// handling, which is how code built by that compiler catches: a handler registered for a frame of
// this file is asked during the exception's dispatch, before anything outside the engine, and
// resumes execution in that frame. GCC has no syntax for it, so each architecture registers the
// handler its own way: on 32-bit a registration record on the thread's handler chain, on 64-bit
// the handler named in the unwind information of msvc_catch_x64.S.
#include <windows.h>

#include <csetjmp>

#include "msvc_throw.h"

namespace {

bool IsMsvcThrowBeingDispatched(const EXCEPTION_RECORD& record) {
  return record.ExceptionCode == 0xE06D7363 && (record.ExceptionFlags & EXCEPTION_UNWIND) == 0;
}

[[noreturn]] void RaiseEngineException() {
  RaiseMsvcException(MsvcThrow::kEngine);
}

}  // namespace

#ifdef _WIN64

extern "C" {
// msvc_catch_x64.S: calls body in a frame whose handler is VantorMsvcCatchHandler; returns 0, or 1
// when the handler caught an exception.
int VantorCallCatchingMsvc(void (*body)());
// Where a caught exception resumes, inside VantorCallCatchingMsvc's frame.
void VantorMsvcCaught();

EXCEPTION_DISPOSITION VantorMsvcCatchHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*,
                                             DISPATCHER_CONTEXT* dispatch) {
  if (!IsMsvcThrowBeingDispatched(*record)) return ExceptionContinueSearch;
  // As a catch block is entered: the frames above this one are unwound and execution goes on in
  // it; the unwinding does not come back here.
  RtlUnwindEx(frame, reinterpret_cast<PVOID>(&VantorMsvcCaught), record, reinterpret_cast<PVOID>(1),
              dispatch->ContextRecord, dispatch->HistoryTable);
  return ExceptionContinueSearch;
}
}

bool RaiseAndCatchMsvcException() {
  return VantorCallCatchingMsvc(RaiseEngineException) == 1;
}

#else

namespace {

struct HandlerRegistration {
  HandlerRegistration* previous;
  void* handler;
};

std::jmp_buf caught;

EXCEPTION_DISPOSITION __cdecl CatchHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
  if (!IsMsvcThrowBeingDispatched(*record)) return ExceptionContinueSearch;
  // As a catch block is entered: the handlers registered after this one are unwound, then
  // execution goes on in the registering frame (longjmp also takes this registration off).
  RtlUnwind(frame, nullptr, record, nullptr);
  std::longjmp(caught, 1);
}

}  // namespace

bool RaiseAndCatchMsvcException() {
  if (setjmp(caught) != 0) return true;
  // Registration records live on the stack, newest first: the handler chain starts at fs:[0].
  HandlerRegistration registration = {nullptr, reinterpret_cast<void*>(&CatchHandler)};
  __asm__ volatile("movl %%fs:0, %0" : "=r"(registration.previous));
  __asm__ volatile("movl %0, %%fs:0" : : "r"(&registration) : "memory");
  RaiseEngineException();
}

#endif
