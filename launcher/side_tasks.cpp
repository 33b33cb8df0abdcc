#include "side_tasks.h"

#include <direct.h>
#include <io.h>
#include <process.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

void CompileScriptParams() {
  _finddata_t found;
  found.attrib = 0;
  const intptr_t search = _findfirst("Params", &found);
  if (search == -1) return;
  _findclose(search);
  if (!(found.attrib & _A_SUBDIR)) return;

  // "Java" is the default class folder; the settings that could name another are read later.
  // The wildcard goes to the batch file unexpanded.
  const char* const arguments[] = {"JDK\\bin\\compile.bat", "-classpath", "Java", "-d", "Java",
                                   "Params\\*.java",        nullptr};
  _spawnv(_P_WAIT, "JDK\\bin\\compile.bat", arguments);
}

namespace {

const char* SpawnErrorText(int error) {
  switch (error) {
    case ENOENT:
      return "... ERROR: File or path is not found\n";
    case E2BIG:
      return "... ERROR: Argument list exceeds 1024 bytes\n";
    case ENOEXEC:
      return "... ERROR: Specified file is not executable or has invalid executable-file format\n";
    case ENOMEM:
      return "... ERROR: Not enough memory is available to execute new process\n";
    case EINVAL:
      return "... ERROR: mode argument is invalid\n";
    default:
      return "unknown";
  }
}

}  // namespace

void RunDxDiagReport() {
  // The check and the report name differ only in case: the same file on Windows.
  if (FILE* report = std::fopen("logs/DXdiags.txt", "rt")) {
    std::fclose(report);
    return;
  }
  _mkdir("logs/");
  OutputDebugStringA("Trying to run DXdiag.exe ... \n");
  // "/t" stands where the program's own name usually goes. The tool is not waited for.
  if (_spawnlp(_P_NOWAIT, "dxdiag.exe", "/t", "logs/DXDiags.txt", nullptr) == -1) {
    OutputDebugStringA(SpawnErrorText(errno));
  } else {
    OutputDebugStringA("... OK\n");
  }
}
