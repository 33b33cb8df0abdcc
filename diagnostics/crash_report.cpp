#include "crash_report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dbghelp_binding.h"
#include "report_text.h"
#include "stack_walk.h"

namespace {

constexpr char kFileName[] = "callstack.txt";
constexpr char kSeparator[] = "************************************************************\n\r";
constexpr ULONG kMaxNameLength = 1024;

struct {
  SYMBOL_INFO info;
  char name[kMaxNameLength];
} faultSymbol;
IMAGEHLP_LINE64 faultLine;

DWORD64 InstructionAddress(const CONTEXT& context) {
#ifdef _WIN64
  return context.Rip;
#else
  return context.Eip;
#endif
}

DWORD WINAPI ReportThread(LPVOID pointers) {
  WriteCrashReport(static_cast<EXCEPTION_POINTERS*>(pointers));
  return 0;
}

}  // namespace

void WriteCrashReport(EXCEPTION_POINTERS* pointers) {
  if (!dbgHelp.reportingEnabled) return;
  DbgHelpBind();
  WriteCallStackReport(pointers->ContextRecord);
  if (!dbgHelp.reportingEnabled) return;

  const DbgHelpEntryPoints& entry = dbgHelp.entry;
  faultSymbol.info = SYMBOL_INFO();
  faultSymbol.info.SizeOfStruct = sizeof(SYMBOL_INFO);
  faultSymbol.info.MaxNameLen = kMaxNameLength;
  faultLine = IMAGEHLP_LINE64();
  faultLine.SizeOfStruct = sizeof(IMAGEHLP_LINE64);

  const DWORD64 address = InstructionAddress(*pointers->ContextRecord);
  DWORD64 symbolDisplacement = 0;
  if (entry.SymFromAddr == nullptr ||
      !entry.SymFromAddr(dbgHelp.process, address, &symbolDisplacement, &faultSymbol.info)) {
    return;
  }
  FILE* file = std::fopen(kFileName, "a");
  if (file == nullptr) return;
  std::fputs(kSeparator, file);
  std::fprintf(file, "Exception occured at: %s\n", faultSymbol.info.Name);
  DWORD lineDisplacement = 0;
  if (entry.SymGetLineFromAddr64 != nullptr &&
      entry.SymGetLineFromAddr64(dbgHelp.process, address, &lineDisplacement, &faultLine)) {
    std::fprintf(file, "%s, line %lu\n", faultLine.FileName, faultLine.LineNumber);
  }
  std::fclose(file);
}

void WriteCrashReportOnOwnStack(EXCEPTION_POINTERS* pointers) {
  constexpr DWORD kReportTimeLimitMs = 20000;
  HANDLE thread = CreateThread(nullptr, 0, ReportThread, pointers, 0, nullptr);
  if (thread == nullptr) return;
  WaitForSingleObject(thread, kReportTimeLimitMs);
  CloseHandle(thread);
}

void WriteCallStackReport(CONTEXT* context) {
  // Allocated for this report alone: the program keeps no memory for crashes it may never have.
  char* text = static_cast<char*>(std::malloc(kReportTextSize));
  if (text == nullptr) return;
  if (WalkCallStack(text, context)) {
    if (FILE* file = std::fopen(kFileName, "a")) {
      std::fputs(kSeparator, file);
      std::fwrite(text, 1, std::strlen(text), file);
      std::fclose(file);
    }
  }
  std::free(text);
}
