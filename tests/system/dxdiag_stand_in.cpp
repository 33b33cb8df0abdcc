// Stands in for the diagnostics tool, copied as dxdiag.exe to where a test's search path finds it:
// started as the launcher starts the tool, with "/t" where the program's name usually stands and
// the report's file after it, it writes the report only once the test has made the file REPORT.go
// (or after a minute), so that a launcher that waited for it would wait for the test.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[0], "/t") != 0) return 1;
  const std::string go = std::string(argv[1]) + ".go";
  for (int waited = 0; waited < 600 && GetFileAttributesA(go.c_str()) == INVALID_FILE_ATTRIBUTES;
       ++waited) {
    Sleep(100);
  }
  FILE* report = std::fopen(argv[1], "w");
  if (report == nullptr) return 2;
  std::fputs("report of the stand-in tool\n", report);
  return std::fclose(report);
}
