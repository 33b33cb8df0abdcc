// The crash report: appended to "callstack.txt" in the working folder when a processor fault is
// translated. This comment is the one description of the file's bytes, which three files write:
// crash_report.cpp (the separators and the place of the fault), stack_walk.cpp (the frames) and
// variable_dump.cpp (each frame's variables).
//
// Tools read these files, so their bytes stay as they are, odd ones included: the separator is
// written with LF CR, not CR LF, and the fixed texts below keep their spellings, "occured" among
// them.
//
// The file is opened in text mode for appending, so every LF the program writes reaches the file
// as CR LF. A fault appends two blocks, each after a separator; a later fault appends after them.
//
//   separator          60 '*' and "\n\r": in the file 60 '*', CR, LF, CR
//
//   call-stack block   written when the walk's first step succeeds
//     separator
//     "\r\nCall stack:\r\n"
//     "warning: older dbghelp.dll loaded; no type information available.\r\n" only when the
//                      library lacks SymFromAddr; every frame is then its address and "\r\n"
//     one entry per frame, from the faulting one outwards:
//       the function's name, or the address in hexadecimal capitals when no symbol covers it
//       " (FILE, line N)" when the library gives the line (with the symbol options the program
//                      sets, line numbers are not loaded and real reports have none)
//       "\r\n", the frame's variables (below), "\r\n"
//     This text is made in a buffer of kReportTextSize bytes (report_text.h) with CR LF line ends
//     and written at once, so each of its lines ends CR CR LF in the file. A stack too deep for
//     the buffer is cut where the buffer ends.
//
//   place block        written when the faulting address has a symbol
//     separator
//     "Exception occured at: NAME\n"
//     "FILE, line N\n" when the library gives the line
//
//   variables          "  params:\r\n" before a parameter and "  locals:\r\n" before a local, each
//                      unless the frame's variable before it was of the same kind; then per
//                      variable
//     "    NAME ", the type's name and " " when the type has a name, then either
//       "= VALUE\r\n": text in quotes, a float as %lf, an array's first ten elements as
//                      "{ A, B }", anything else in hexadecimal capitals; a value below 0x100
//                      that is a printable character is followed by " ('c')";
//       or, for a type with data members, "\r\n" and each member on its own line in the same
//                      form ("MEMBER = VALUE"), indented two spaces more than its owner.
//     A variable held in a register ends the frame's list after "    NAME ". Memory that cannot
//     be read ends the variable where it broke off with "\r\nError reading symbol NAME!\r\n".
//
// Two real reports, copied from the file: the demo engine faulting with "-no-window -fault=access"
// under Wine 8.0, once for each build. Each line below is one line of the file up to its LF; CR
// is shown as <CR> and LF as <LF>. A line in square brackets is not in the file: it marks what
// was cut from the sample. Addresses differ from run to run.
//
// x64:
//   ************************************************************<CR><LF>
//   <CR><CR><CR><LF>
//   Call stack:<CR><CR><LF>
//   FaultWithLocals<CR><CR><LF>
//     params:<CR><CR><LF>
//       kind = 1<CR><CR><LF>
//     locals:<CR><CR><LF>
//       text = "hi"<CR><CR><LF>
//       pointer = "abc"<CR><CR><LF>
//       numbers = { 1, 2, 3 }<CR><CR><LF>
//       ratio = 1.500000<CR><CR><LF>
//       point FaultPoint <CR><CR><LF>
//         x = 1<CR><CR><LF>
//         y = 2<CR><CR><LF>
//   <CR><CR><LF>
//   RaiseDeliberateFault<CR><CR><LF>
//     params:<CR><CR><LF>
//       kind FaultKind <CR><CR><LF>
//       depth uint32_t = 0<CR><CR><LF>
//   <CR><CR><LF>
//   [... the frames DemoGame::OnFirstIdle to WinMain, in the same forms ...]
//   1400013AE<CR><CR><LF>
//   <CR><CR><LF>
//   1400014C6<CR><CR><LF>
//   <CR><CR><LF>
//   BaseThreadInitThunk<CR><CR><LF>
//     params:<CR><CR><LF>
//       unknown <CR><CR><LF>
//   RtlUserThreadStart<CR><CR><LF>
//     params:<CR><CR><LF>
//       entry PRTL_THREAD_START_ROUTINE = <CR><CR><LF>
//   Error reading symbol entry!<CR><CR><LF>
//       arg = <CR><CR><LF>
//   Error reading symbol arg!<CR><CR><LF>
//     locals:<CR><CR><LF>
//       __func__ = "RtlUserThreadStart"<CR><CR><LF>
//       __f __WINE_FRAME = <CR><CR><LF>
//   Error reading symbol __f!<CR><CR><LF>
//       __first = <CR><CR><LF>
//   Error reading symbol __first!<CR><CR><LF>
//   <CR><CR><LF>
//   ************************************************************<CR><LF>
//   <CR>Exception occured at: FaultWithLocals<CR><LF>
//
// i686:
//   ************************************************************<CR><LF>
//   <CR><CR><CR><LF>
//   Call stack:<CR><CR><LF>
//   FaultWithLocals<CR><CR><LF>
//     params:<CR><CR><LF>
//       kind = 1<CR><CR><LF>
//     locals:<CR><CR><LF>
//       text = "hi"<CR><CR><LF>
//       pointer = "abc"<CR><CR><LF>
//       numbers = { 1, 2, 3 }<CR><CR><LF>
//       ratio = 1.500000<CR><CR><LF>
//       point FaultPoint <CR><CR><LF>
//         x = 1<CR><CR><LF>
//         y = 2<CR><CR><LF>
//   <CR><CR><LF>
//   RaiseDeliberateFault<CR><CR><LF>
//     params:<CR><CR><LF>
//       kind FaultKind <CR><CR><LF>
//       depth uint32_t = 0<CR><CR><LF>
//   <CR><CR><LF>
//   [... the frames DemoGame::OnFirstIdle to WinMain, in the same forms ...]
//   41474D<CR><CR><LF>
//   <CR><CR><LF>
//   40138E<CR><CR><LF>
//   <CR><CR><LF>
//   7B6293E0<CR><CR><LF>
//   <CR><CR><LF>
//   7BC5CA07<CR><CR><LF>
//   <CR><CR><LF>
//   7BC5D228<CR><CR><LF>
//   <CR><CR><LF>
//   ************************************************************<CR><LF>
//   <CR>Exception occured at: FaultWithLocals<CR><LF>
//
// Reports like these, made by the real program, are checked by the system test
// CrashReport.EachFaultAppendsTheStackWithTypedVariablesThenTheBoxAndExitCode
// (tests/system/crash_report_tests.cpp). The unit tests in tests/unit/crash_report_test.cpp check
// the exact bytes, also of the forms a real run does not show (a frame's source line, the place's
// line, the older library's warning).
#pragma once

#include <windows.h>

#include <optional>

// Writes both blocks for the fault that pointers describe, as far as the debug-help library
// allows; does nothing once crash reporting is disabled. Every failure is silent.
void WriteCrashReport(EXCEPTION_POINTERS* pointers);

// The same report, written by a thread of its own, for a fault that left the faulting thread too
// little stack (a stack overflow). Waits for it, but not past a time limit, so that a report that
// cannot finish (the overflow came inside a lock the report needs) cannot keep the program from
// ending.
void WriteCrashReportOnOwnStack(EXCEPTION_POINTERS* pointers);

// Runs routine(argument) on a thread of its own with a stack of stackSize bytes (0: the default),
// and waits for it, but not past the report's time limit: its exit code, or nothing when it could
// not start or is still running. Crash reports and dumps are written so.
std::optional<DWORD> RunOnOwnThread(LPTHREAD_START_ROUTINE routine, void* argument,
                                    SIZE_T stackSize);

// Walks the stack from context and appends the call-stack block, unless the walk fails.
void WriteCallStackReport(CONTEXT* context);
