#include "working_folder.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

void EnterExecutableFolder() {
  static char executablePath[1024];
  static char drive[_MAX_DRIVE], folder[_MAX_DIR], fileName[_MAX_FNAME], extension[_MAX_EXT];
  static char workingFolder[1024];

  GetModuleFileNameA(nullptr, executablePath, sizeof executablePath);
  _splitpath(executablePath, drive, folder, fileName, extension);
  // The folder part keeps its trailing backslash, so a drive's root stays "C:\".
  std::strcpy(workingFolder, drive);
  std::strcat(workingFolder, folder);
  SetCurrentDirectoryA(workingFolder);
}
