#include "crash_report.h"

#include <cstdio>
#include <cstring>

#include "context_registers.h"
#include "dbghelp_binding.h"
#include "report_text.h"
#include "stack_walk.h"
#include "symbol_records.h"

namespace {

constexpr char kFileName[] = "callstack.txt";
// LF CR, not CR LF: kept for the tools that read the file (crash_report.h).
constexpr char kSeparator[] = "************************************************************\n\r";

SymbolRecord faultSymbol;
LineRecord faultLine;

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
  faultSymbol.Reset();
  faultLine.Reset();

  const DWORD64 address = InstructionPointer(*pointers->ContextRecord);
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
      entry.SymGetLineFromAddr64(dbgHelp.process, address, &lineDisplacement, &faultLine.info)) {
    std::fprintf(file, "%s, line %lu\n", faultLine.info.FileName, faultLine.info.LineNumber);
  }
  std::fclose(file);
}

void WriteCrashReportOnOwnStack(EXCEPTION_POINTERS* pointers) {
  RunOnOwnThread(ReportThread, pointers, 0);
}

std::optional<DWORD> RunOnOwnThread(LPTHREAD_START_ROUTINE routine, void* argument,
                                    SIZE_T stackSize) {
  constexpr DWORD kTimeLimitMs = 20000;
  const HANDLE thread = CreateThread(nullptr, stackSize, routine, argument,
                                     stackSize ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, nullptr);
  if (thread == nullptr) return std::nullopt;
  DWORD exitCode = 0;
  const bool ended = WaitForSingleObject(thread, kTimeLimitMs) == WAIT_OBJECT_0 &&
                     GetExitCodeThread(thread, &exitCode);
  CloseHandle(thread);
  if (!ended) return std::nullopt;
  return exitCode;
}

void WriteCallStackReport(CONTEXT* context) {
  const ReportText text;
  if (!text.Ready() || !WalkCallStack(context)) return;
  if (FILE* file = std::fopen(kFileName, "a")) {
    std::fputs(kSeparator, file);
    std::fwrite(text.Contents(), 1, std::strlen(text.Contents()), file);
    std::fclose(file);
  }
}
