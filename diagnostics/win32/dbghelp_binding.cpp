#include "dbghelp_binding.h"

#include <cstdlib>

DbgHelpBinding dbgHelp;

namespace {

// Deferred symbol loads only: no undecorating, no line-loading option.
constexpr DWORD kSymbolOptions = 4;
static_assert(kSymbolOptions == SYMOPT_DEFERRED_LOADS);

template <typename Function>
void LookUp(Function& slot, const char* name) {
  // GetProcAddress returns a generic function pointer; the table holds the real signatures.
  slot = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dbgHelp.module, name)));
}

}  // namespace

void DbgHelpBind() {
  if (dbgHelp.process != nullptr) return;
  dbgHelp.module = LoadLibraryA("dbghelp.dll");
  if (dbgHelp.module == nullptr) {
    dbgHelp.reportingEnabled = false;
    return;
  }
  DbgHelpEntryPoints& entry = dbgHelp.entry;
  LookUp(entry.SymCleanup, "SymCleanup");
  LookUp(entry.SymSetOptions, "SymSetOptions");
  LookUp(entry.SymInitialize, "SymInitialize");
  LookUp(entry.SymGetTypeInfo, "SymGetTypeInfo");
  LookUp(entry.SymFromAddr, "SymFromAddr");
  LookUp(entry.ImageNtHeader, "ImageNtHeader");
  LookUp(entry.SymGetModuleBase64, "SymGetModuleBase64");
  LookUp(entry.SymFunctionTableAccess64, "SymFunctionTableAccess64");
  LookUp(entry.StackWalk64, "StackWalk64");
  LookUp(entry.SymGetLineFromAddr64, "SymGetLineFromAddr64");
  LookUp(entry.SymSetContext, "SymSetContext");
  LookUp(entry.SymEnumSymbols, "SymEnumSymbols");
  dbgHelp.process = GetCurrentProcess();

  // Without these two the symbol handler cannot be set up as the report needs it.
  if (entry.SymSetOptions == nullptr || entry.SymInitialize == nullptr) {
    dbgHelp.reportingEnabled = false;
    return;
  }
  entry.SymSetOptions(kSymbolOptions);
  if (!entry.SymInitialize(dbgHelp.process, nullptr, TRUE)) {
    // The library stays loaded; nothing to release.
    dbgHelp.reportingEnabled = false;
    return;
  }
  std::atexit(DbgHelpRelease);
}

void DbgHelpRelease() {
  if (dbgHelp.entry.SymCleanup != nullptr && dbgHelp.process != nullptr) {
    dbgHelp.entry.SymCleanup(dbgHelp.process);
  }
}
