// Stands in for the diagnostics tool, copied as dxdiag.exe to where a test's search path finds it:
// started as the launcher starts the tool, with "/t" where the program's name usually stands and
// the report's file after it, it waits 3 s, so that a launcher that waited for it would be seen,
// then writes the report.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[0], "/t") != 0) return 1;
  Sleep(3000);
  FILE* report = std::fopen(argv[1], "w");
  if (report == nullptr) return 2;
  std::fputs("report of the stand-in tool\n", report);
  return std::fclose(report);
}
