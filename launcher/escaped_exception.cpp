#include "escaped_exception.h"

#include <windows.h>

#include <cstdint>
#include <exception>

#include "crash_dump.h"
#include "engine_api.h"
#include "exception_text.h"
#include "log.h"
#include "msvc_exception.h"
#include "own_memory.h"

namespace {

[[noreturn]] void CrashExitForOtherException() {
  CrashExit("*** Unhandled Exception ***\n");
}

// The 32-bit build unwinds with DWARF tables, and the system's frames between DispatchMessage and
// a window procedure have none: a C++ exception that a window procedure built by GCC (our own
// engine's) throws finds no handler, and the runtime calls std::terminate before anything is
// unwound. The exception is still the current one there, so it takes the outermost handlers' path
// from the terminate handler. The 64-bit build unwinds through those frames and reaches the
// handlers directly; an MSVC-built engine's exceptions take engine_calls.h's road on both.
[[noreturn]] void OnTerminate() {
  if (std::current_exception() == nullptr) CrashExitForOtherException();
  CrashExitForCurrentException();
}

// The decoding's view of this process's memory: guarded reads.
class ProcessMemory : public ForeignMemory {
 public:
  bool Read(std::uint64_t address, void* bytes, std::size_t size) const override {
    return ReadOwnMemory(address, bytes, size);
  }
};

void (*previousTerminate)() = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

// An engine built by MSVC throws its C++ exceptions as structured exceptions, which none of our
// handlers (GCC's) can catch. One that the engine does not catch itself and that escaped by a
// road other than engine_calls.h ends up here, once every frame's handler has declined it, and
// ends as our own exceptions do. Being the last to look, the filter never takes an exception from
// the engine's own handlers or from a debugger.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  const std::exception_ptr exception = EngineExceptionOf(*pointers);
  if (exception != nullptr) {
    try {
      std::rethrow_exception(exception);
    } catch (...) {
      CrashExitForCurrentException();
    }
  }
  return previousFilter != nullptr ? previousFilter(pointers) : EXCEPTION_CONTINUE_SEARCH;
}

// What an engine throws that is no CEngineException: only the handler for any other exception
// takes it.
struct OtherEngineException {};

}  // namespace

std::exception_ptr EngineExceptionOf(EXCEPTION_POINTERS& pointers) {
  const EXCEPTION_RECORD& source = *pointers.ExceptionRecord;
  ForeignExceptionRecord record;
  record.code = source.ExceptionCode;
  record.parameterCount = source.NumberParameters;
  for (DWORD i = 0; i < source.NumberParameters && i < 4; ++i) {
    record.parameters[i] = source.ExceptionInformation[i];
  }
  // Static: the texts must outlive the engine's frames, and one exception ends the game.
  static ForeignEngineException decoded;
  const ForeignThrow thrown = DecodeForeignThrow(record, ProcessMemory(), decoded);
  if (thrown == ForeignThrow::kNotMsvc) return nullptr;
  WriteCrashDump(&pointers);
  if (thrown == ForeignThrow::kOther) return std::make_exception_ptr(OtherEngineException());
  return std::make_exception_ptr(CEngineException(decoded.message, decoded.file, decoded.line));
}

void CrashExitForCurrentException() {
  try {
    throw;
  } catch (CEngineException& exception) {
    LogPrint("*** Unhandled Engine Exception ***\n");
    CrashExit("%s(%d) : %s\n", exception.file, exception.line, exception.message);
  } catch (unsigned int code) {
    LogPrint("*** Exception ***\n");
    CrashExit("%s\n", ExceptionCodeText(code));
  } catch (...) {
    CrashExitForOtherException();
  }
}

EscapedExceptionGuard::EscapedExceptionGuard() {
  previousTerminate = std::set_terminate(OnTerminate);
  previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
}

EscapedExceptionGuard::~EscapedExceptionGuard() {
  SetUnhandledExceptionFilter(previousFilter);
  std::set_terminate(previousTerminate);
}
