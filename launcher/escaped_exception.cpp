#include "escaped_exception.h"

#include <exception>

#include "engine_api.h"
#include "exception_text.h"
#include "log.h"

namespace {

// The 32-bit build unwinds with DWARF tables, and the system's frames between DispatchMessage and
// a window procedure have none: an exception thrown by a window procedure finds no handler, and
// the runtime calls std::terminate before anything is unwound. The exception is still the current
// one there, so it takes the outermost handlers' path from the terminate handler. The 64-bit
// build unwinds through those frames and reaches the handlers directly.
[[noreturn]] void OnTerminate() {
  if (std::current_exception() == nullptr) CrashExit("*** Unhandled Exception ***\n");
  CrashExitForCurrentException();
}

}  // namespace

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
    CrashExit("*** Unhandled Exception ***\n");
  }
}

EscapedExceptionGuard::EscapedExceptionGuard() : previous_(std::set_terminate(OnTerminate)) {}

EscapedExceptionGuard::~EscapedExceptionGuard() {
  std::set_terminate(previous_);
}
