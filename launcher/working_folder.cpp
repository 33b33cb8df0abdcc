#include "working_folder.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

void EnterExecutableFolder() {
  static char executablePath[1024];
  static char drive[3], folder[256], fileName[256], extension[256];
  static char workingFolder[1024];

  GetModuleFileNameA(nullptr, executablePath, sizeof executablePath);
  _splitpath(executablePath, drive, folder, fileName, extension);
  // The folder part keeps its trailing backslash, so a drive's root stays "C:\".
  std::strcpy(workingFolder, drive);
  std::strcat(workingFolder, folder);
  SetCurrentDirectoryA(workingFolder);
}
