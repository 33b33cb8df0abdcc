#include "se_translator.h"

#include <utility>

#include "context_registers.h"
#include "crash_dump.h"
#include "crash_report.h"
#include "foreign_call.h"

// Shared with the thunk (se_thunk_x64.S, se_thunk_i686.S), hence unmangled.
extern "C" {
// Entered in place of the faulting instruction: pushes vantorSeReturnAddress as its return address
// and calls VantorRunSeTranslator. Never returns.
void VantorSeThunk();
// The fault address plus one, so that the unwinder takes the thunk as called from inside the
// faulting instruction and finds that instruction's handlers and cleanups.
void* vantorSeReturnAddress = nullptr;
void VantorRunSeTranslator();
}

namespace {

SeTranslatorFunction installedTranslator = nullptr;
DWORD installedThread = 0;
// Set from the fault until the translator's exception leaves it: exceptions raised meanwhile
// (inside the crash report, or the throw itself) are not faults to translate.
volatile bool translating = false;

// The translator's view of the fault, kept outside the stack that the unwinding takes apart.
EXCEPTION_RECORD recordCopy;
CONTEXT contextCopy;
EXCEPTION_POINTERS pointersCopy = {&recordCopy, &contextCopy};

// Stack kept free for handling a stack overflow on the installing thread: the exception's
// dispatch, the thunk, the translator and the throw all run on what is left of the exhausted
// stack (the report is written by a thread of its own). The x64 throw passes through the system's
// exception dispatch once more and needs about 8 KiB (measured under wine64).
constexpr ULONG kOverflowStackReserve = 32 * 1024;

#ifdef _WIN64
// Wine commits a thread's whole stack up front and guards only its last page, so the guarantee
// asked for below never takes effect there: the overflow comes with 4 KiB left, and the throw
// that follows dies of a second overflow. A guard page of ours just above the guaranteed zone
// lets the stack's growth walk down into that zone, as a Windows stack grows, and the overflow
// then comes with the whole guarantee left. Where the stack's end is not committed yet (Windows
// itself) the page cannot be protected and nothing changes.
// The 32-bit build does without: its throw is libgcc's alone and fits in the page Wine leaves
// (measured), and under user-mode emulation a guard page of ours is fatal, because the emulator
// hands Wine no trap number for the page fault (measured: qemu ends the program).
void GuardAboveOverflowReserve() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  MEMORY_BASIC_INFORMATION stack;
  if (VirtualQuery(&stack, &stack, sizeof stack) == 0) return;
  // Above the system's own guard page at the very end and the guaranteed zone.
  char* guard =
      static_cast<char*>(stack.AllocationBase) + 2 * system.dwPageSize + kOverflowStackReserve;
  MEMORY_BASIC_INFORMATION page;
  if (VirtualQuery(guard, &page, sizeof page) == 0 || page.State != MEM_COMMIT ||
      (page.Protect & PAGE_GUARD) != 0) {
    return;
  }
  DWORD previous = 0;
  VirtualProtect(guard, system.dwPageSize, page.Protect | PAGE_GUARD, &previous);
}
#endif

void ReserveStackForOverflow() {
  ULONG reserve = kOverflowStackReserve;
  SetThreadStackGuarantee(&reserve);
#ifdef _WIN64
  GuardAboveOverflowReserve();
#endif
}

// Processor faults only. Every other exception that no one handled (a C++ exception of MSVC,
// 0xE06D7363, or of GCC, 0x20474343) goes on to the filter installed before.
bool IsFaultCode(DWORD code) {
  switch (code) {
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_BREAKPOINT:
    case EXCEPTION_SINGLE_STEP:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
      return true;
    default:
      return false;
  }
}

LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
bool filterInstalled = false;

// The last look at an exception that no frame-based handler took: every __except filter of the
// code that raised it, and Windows' own guarded probes (IsBadReadPtr and the like), have declined
// it by now. A fault that code handles for itself therefore never comes here, as with the
// runtime's translator, which runs during the search for a handler. The context is still the
// fault's: nothing has been unwound yet.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (translating || installedTranslator == nullptr || GetCurrentThreadId() != installedThread ||
      !IsFaultCode(record.ExceptionCode) || (record.ExceptionFlags & EXCEPTION_NONCONTINUABLE)) {
    return previousFilter != nullptr ? previousFilter(pointers) : EXCEPTION_CONTINUE_SEARCH;
  }
  translating = true;
  recordCopy = record;
  contextCopy = *pointers->ContextRecord;
  vantorSeReturnAddress = static_cast<char*>(record.ExceptionAddress) + 1;
  // Resume in the thunk with every other register as it was at the fault, so that unwinding from
  // the thunk restores the faulting frame's registers.
  SetInstructionPointer(*pointers->ContextRecord, reinterpret_cast<const void*>(&VantorSeThunk));
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

extern "C" void VantorRunSeTranslator() {
#ifndef _WIN64
  if (!GccUnwinderReachesForeignCall()) {
    // Between the fault and the call into foreign code lie frames without DWARF tables (an MSVC
    // engine's), which GCC's unwinder cannot pass: its throw would end in std::terminate. The
    // translator writes its report here, while the faulting stack stands, and its exception goes
    // on from that call once the system's unwinder has unwound those frames.
    std::exception_ptr translated;
    try {
      installedTranslator(recordCopy.ExceptionCode, &pointersCopy);
      throw static_cast<unsigned int>(recordCopy.ExceptionCode);
    } catch (...) {
      translated = std::current_exception();
    }
    translating = false;
    UnwindToForeignCall(recordCopy, std::move(translated));
  }
#endif
  // Translation ends when the translator's exception leaves this frame.
  struct EndOfTranslation {
    ~EndOfTranslation() { translating = false; }
  } end;
  installedTranslator(recordCopy.ExceptionCode, &pointersCopy);
  // A translator must throw; one that returns leaves nothing to resume, so the code is thrown.
  throw static_cast<unsigned int>(recordCopy.ExceptionCode);
}

SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator) {
  const SeTranslatorFunction previous = installedTranslator;
  installedTranslator = translator;
  installedThread = GetCurrentThreadId();
  ReserveStackForOverflow();
  if (!filterInstalled) {
    previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
    filterInstalled = true;
  }
  return previous;
}

void TranslateSeException(unsigned int code, EXCEPTION_POINTERS* pointers) {
  if (code == EXCEPTION_STACK_OVERFLOW) {
    // The report's stack walk and symbol look-ups need far more stack than the overflow left.
    WriteCrashReportOnOwnStack(pointers);
  } else {
    WriteCrashReport(pointers);
  }
  WriteCrashDump(pointers);
  throw code;
}
