// A small program that does what the harness must observe: it shows message boxes, writes
// debugger text, can raise a breakpoint, and ends with the exit code it is told.
//   harness_probe [box CAPTION TEXT]... [debug TEXT]... [escapes] [longdebug N] [breakpoint]
//                 [sleep MS]
//                 [exit CODE]
// Named dxdiag.exe it stands in for the diagnostics tool: started as "/t FILE" it waits 3 s, then
// writes FILE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Every kind of byte that Wine's trace of debugger text escapes.
const char kEscapes[] = "line\r\n\ttab \"quoted\" back\\slash \x01\x7f\xe9 end\n";

// A breakpoint that the program itself catches: a debugger that swallowed it would change the
// exit code.
LONG CALLBACK CatchBreakpoint(EXCEPTION_POINTERS* pointers) {
  if (pointers->ExceptionRecord->ExceptionCode == EXCEPTION_BREAKPOINT) ExitProcess(0xB0B);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int main(int argc, char** argv) {
  // The launcher starts the tool with "/t" where the program's name usually stands.
  if (argc == 2 && std::strcmp(argv[0], "/t") == 0) {
    Sleep(3000);
    if (FILE* report = std::fopen(argv[1], "w")) {
      std::fputs("report of the stand-in tool\n", report);
      std::fclose(report);
    }
    return 0;
  }
  unsigned long exitCode = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "box") == 0 && i + 2 < argc) {
      MessageBoxA(nullptr, argv[i + 2], argv[i + 1], MB_OK | MB_ICONHAND);
      i += 2;
    } else if (std::strcmp(argv[i], "debug") == 0 && i + 1 < argc) {
      OutputDebugStringA(argv[++i]);
    } else if (std::strcmp(argv[i], "escapes") == 0) {
      OutputDebugStringA(kEscapes);
    } else if (std::strcmp(argv[i], "longdebug") == 0 && i + 1 < argc) {
      std::string text(std::strtoul(argv[++i], nullptr, 10), 'x');
      OutputDebugStringA(text.c_str());
    } else if (std::strcmp(argv[i], "breakpoint") == 0) {
      AddVectoredExceptionHandler(1, CatchBreakpoint);
      DebugBreak();
    } else if (std::strcmp(argv[i], "sleep") == 0 && i + 1 < argc) {
      Sleep(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "exit") == 0 && i + 1 < argc) {
      exitCode = std::strtoul(argv[++i], nullptr, 0);
    }
  }
  ExitProcess(exitCode);
}
