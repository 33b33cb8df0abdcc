// The debug-help library's records of a symbol and of a source line, as the crash report hands
// them to SymFromAddr and SymGetLineFromAddr64: sized, and the symbol with room for its name.
#pragma once

#include <windows.h>
// windows.h first: dbghelp.h needs its types.
#include <dbghelp.h>

struct SymbolRecord {
  static constexpr ULONG kMaxNameLength = 1024;

  SYMBOL_INFO info;
  char name[kMaxNameLength];  // the rest of info.Name

  // Ready for the next look-up.
  void Reset() {
    info = SYMBOL_INFO();
    info.SizeOfStruct = sizeof(SYMBOL_INFO);
    info.MaxNameLen = kMaxNameLength;
  }
};

struct LineRecord {
  IMAGEHLP_LINE64 info;

  void Reset() {
    info = IMAGEHLP_LINE64();
    info.SizeOfStruct = sizeof(IMAGEHLP_LINE64);
  }
};
