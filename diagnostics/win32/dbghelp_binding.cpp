#include "dbghelp_binding.h"

#include <cstdlib>

DbgHelpBinding dbgHelp;

namespace {

// Deferred symbol loads only: no undecorating, no line-loading option.
constexpr DWORD kSymbolOptions = SYMOPT_DEFERRED_LOADS;

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
  // Each slot is looked up by its own name.
#define VANTOR_LOOK_UP(name) LookUp(entry.name, #name)
  VANTOR_LOOK_UP(SymCleanup);
  VANTOR_LOOK_UP(SymSetOptions);
  VANTOR_LOOK_UP(SymInitialize);
  VANTOR_LOOK_UP(SymGetTypeInfo);
  VANTOR_LOOK_UP(SymFromAddr);
  VANTOR_LOOK_UP(ImageNtHeader);
  VANTOR_LOOK_UP(SymGetModuleBase64);
  VANTOR_LOOK_UP(SymFunctionTableAccess64);
  VANTOR_LOOK_UP(StackWalk64);
  VANTOR_LOOK_UP(SymGetLineFromAddr64);
  VANTOR_LOOK_UP(SymSetContext);
  VANTOR_LOOK_UP(SymEnumSymbols);
  VANTOR_LOOK_UP(MiniDumpWriteDump);
#undef VANTOR_LOOK_UP
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
