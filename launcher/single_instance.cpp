#include "single_instance.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// Ends the text before its first line break.
void CutAtLineBreak(char* text) {
  const size_t length = std::strlen(text);
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '\n' || text[i] == '\r') text[i] = '\0';
  }
}

}  // namespace

bool CheckSingleInstance(const char* commandLine) {
  // Claimed with initial ownership and never closed: the name stays taken until this process ends.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "VantorMutex");
  if (std::strstr(commandLine, "-ami")) return true;
  if (!mutex) return true;  // no protection for this run, but no reason to refuse it
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;

  // Another instance runs. The message lives in the start-up folder; without it, end silently.
  FILE* file = std::fopen("data\\Running.scr", "r");
  if (!file) return false;

  static char caption[128];
  static char text[256];
  std::strcpy(caption, "Error");
  std::strcpy(text, "Vantor already running");
  // A read that meets the end of the file leaves its buffer as it was. A first line longer than
  // the caption continues into the text.
  std::fgets(caption, sizeof caption, file);
  std::fgets(text, sizeof text, file);
  if (caption[0]) CutAtLineBreak(caption);
  if (text[0]) CutAtLineBreak(text);
  std::fclose(file);

  MessageBoxA(nullptr, text, caption, MB_ICONHAND);
  return false;
}
