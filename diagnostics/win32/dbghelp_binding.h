// The debug-help library (dbghelp.dll), bound at run time the first time a crash report is made:
// the program does not link against it, so that a missing or older library only costs the report.
// The binding's state is read directly by the report writer, the stack walk and the variable dump.
#pragma once

#include <windows.h>
// windows.h first: dbghelp.h needs its types.
#include <dbghelp.h>

// The entry points, in the order their names are looked up. Any of them may be absent (null) when
// the library lacks it; every caller checks before calling.
struct DbgHelpEntryPoints {
  BOOL(WINAPI* SymCleanup)(HANDLE process);
  DWORD(WINAPI* SymSetOptions)(DWORD options);
  BOOL(WINAPI* SymInitialize)(HANDLE process, PCSTR searchPath, BOOL invadeProcess);
  BOOL(WINAPI* SymGetTypeInfo)
  (HANDLE process, DWORD64 moduleBase, ULONG typeId, IMAGEHLP_SYMBOL_TYPE_INFO query, PVOID result);
  BOOL(WINAPI* SymFromAddr)
  (HANDLE process, DWORD64 address, PDWORD64 displacement, PSYMBOL_INFO symbol);
  PIMAGE_NT_HEADERS(WINAPI* ImageNtHeader)(PVOID base);
  DWORD64(WINAPI* SymGetModuleBase64)(HANDLE process, DWORD64 address);
  PVOID(WINAPI* SymFunctionTableAccess64)(HANDLE process, DWORD64 address);
  BOOL(WINAPI* StackWalk64)
  (DWORD machine, HANDLE process, HANDLE thread, LPSTACKFRAME64 frame, PVOID context,
   PREAD_PROCESS_MEMORY_ROUTINE64 readMemory, PFUNCTION_TABLE_ACCESS_ROUTINE64 functionTableAccess,
   PGET_MODULE_BASE_ROUTINE64 moduleBase, PTRANSLATE_ADDRESS_ROUTINE64 translateAddress);
  BOOL(WINAPI* SymGetLineFromAddr64)
  (HANDLE process, DWORD64 address, PDWORD displacement, PIMAGEHLP_LINE64 line);
  BOOL(WINAPI* SymSetContext)
  (HANDLE process, PIMAGEHLP_STACK_FRAME frame, PIMAGEHLP_CONTEXT context);
  BOOL(WINAPI* SymEnumSymbols)
  (HANDLE process, ULONG64 moduleBase, PCSTR mask, PSYM_ENUMERATESYMBOLS_CALLBACK callback,
   PVOID userContext);
  // The crash dump's writer (crash_dump.h).
  BOOL(WINAPI* MiniDumpWriteDump)
  (HANDLE process, DWORD processId, HANDLE file, MINIDUMP_TYPE type,
   PMINIDUMP_EXCEPTION_INFORMATION exception, PMINIDUMP_USER_STREAM_INFORMATION userStreams,
   PMINIDUMP_CALLBACK_INFORMATION callback);
};

struct DbgHelpBinding {
  // Cleared for the rest of the run when the library cannot be loaded or initialised.
  bool reportingEnabled = true;
  HMODULE module = nullptr;
  // Set once binding has run past loading the library: its presence means binding has happened,
  // whatever the outcome. Every debug-help call passes it.
  HANDLE process = nullptr;
  DbgHelpEntryPoints entry = {};
};

// The one binding of the program. Tests put their own functions into entry (and a process) so
// that DbgHelpBind finds the binding done and the report uses theirs.
extern DbgHelpBinding dbgHelp;

// Loads "dbghelp.dll", looks up the entry points and initialises the symbol handler for this
// process, the first time only. A library without SymSetOptions or SymInitialize counts as one
// that failed to initialise.
void DbgHelpBind();

// Registered with atexit after a successful binding: releases the symbol handler.
void DbgHelpRelease();
