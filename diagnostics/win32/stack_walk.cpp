#include "stack_walk.h"

#include <cstdint>

#include "context_registers.h"
#include "dbghelp_binding.h"
#include "report_text.h"
#include "symbol_records.h"
#include "variable_dump.h"

namespace {

// Records of the walk, static so that a report needs no memory beyond its text. The walk
// advances the context copy, never the caller's record.
CONTEXT contextCopy;
STACKFRAME64 frame;
SymbolRecord frameSymbol;
LineRecord frameLine;

void SeedFrame(const CONTEXT& context) {
  frame = STACKFRAME64();
  frame.AddrPC.Offset = InstructionPointer(context);
  frame.AddrFrame.Offset = FramePointer(context);
  frame.AddrStack.Offset = StackPointer(context);
  frame.AddrPC.Mode = AddrModeFlat;
  frame.AddrFrame.Mode = AddrModeFlat;
  frame.AddrStack.Mode = AddrModeFlat;
}

// The machine type of the module holding this code, as the walk must be told.
bool OwnMachineType(DWORD& machine) {
  const DbgHelpEntryPoints& entry = dbgHelp.entry;
  const DWORD64 base = entry.SymGetModuleBase64(
      dbgHelp.process, static_cast<DWORD64>(reinterpret_cast<std::uintptr_t>(&WalkCallStack)));
  if (base == 0) return false;
  const PIMAGE_NT_HEADERS headers =
      entry.ImageNtHeader(reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(base)));
  if (headers == nullptr) return false;
  machine = headers->FileHeader.Machine;
  return true;
}

bool StepWalk(DWORD machine, HANDLE thread) {
  const DbgHelpEntryPoints& entry = dbgHelp.entry;
  return entry.StackWalk64(machine, dbgHelp.process, thread, &frame, &contextCopy, nullptr,
                           entry.SymFunctionTableAccess64, entry.SymGetModuleBase64, nullptr);
}

void ListFrameVariables(DWORD64 pc) {
  const DbgHelpEntryPoints& entry = dbgHelp.entry;
  ResetVariableSection();
  // Without these the step is skipped: a library lacking them cannot list variables.
  if (entry.SymSetContext == nullptr || entry.SymEnumSymbols == nullptr ||
      entry.SymGetTypeInfo == nullptr) {
    return;
  }
  IMAGEHLP_STACK_FRAME scope = {};
  scope.InstructionOffset = pc;
  // The result is not looked at: a frame without a scope lists nothing.
  entry.SymSetContext(dbgHelp.process, &scope, nullptr);
  entry.SymEnumSymbols(dbgHelp.process, 0, nullptr, ListVariable, &frame);
}

void AppendFrame(bool names) {
  const DbgHelpEntryPoints& entry = dbgHelp.entry;
  const DWORD64 pc = frame.AddrPC.Offset;
  if (!names) {
    ReportAppend("%I64X\r\n", pc);
    return;
  }
  DWORD64 symbolDisplacement = 0;
  if (entry.SymFromAddr(dbgHelp.process, pc, &symbolDisplacement, &frameSymbol.info)) {
    ReportAppend("%s", frameSymbol.info.Name);
  } else {
    ReportAppend("%I64X", pc);
  }
  DWORD lineDisplacement = 0;
  if (entry.SymGetLineFromAddr64 != nullptr &&
      entry.SymGetLineFromAddr64(dbgHelp.process, pc, &lineDisplacement, &frameLine.info)) {
    ReportAppend(" (%s, line %lu)", frameLine.info.FileName, frameLine.info.LineNumber);
  }
  ReportAppend("\r\n");
  ListFrameVariables(pc);
  ReportAppend("\r\n");
}

}  // namespace

bool WalkCallStack(const CONTEXT* context) {
  if (!dbgHelp.reportingEnabled) return false;
  DbgHelpBind();
  if (!dbgHelp.reportingEnabled) return false;
  const DbgHelpEntryPoints& entry = dbgHelp.entry;

  ReportAppend("\r\nCall stack:\r\n");
  const bool names = entry.SymFromAddr != nullptr;
  if (!names) ReportAppend("warning: older dbghelp.dll loaded; no type information available.\r\n");

  const HANDLE thread = GetCurrentThread();
  contextCopy = *context;
  SeedFrame(contextCopy);
  // A library without what the walk itself needs cannot walk: as if the first step failed.
  if (entry.StackWalk64 == nullptr || entry.SymGetModuleBase64 == nullptr ||
      entry.SymFunctionTableAccess64 == nullptr || entry.ImageNtHeader == nullptr) {
    return false;
  }
  DWORD machine = 0;
  if (!OwnMachineType(machine)) return false;

  frameSymbol.Reset();
  frameLine.Reset();

  if (!StepWalk(machine, thread)) return false;
  do {
    AppendFrame(names);
    // Nothing more would reach the text: the rest of a very deep stack is not walked.
  } while (!ReportTextFull() && StepWalk(machine, thread));
  return true;
}
