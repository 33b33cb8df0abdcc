#include "single_instance.h"

#include <windows.h>

#include <cstring>

#include "running_message.h"

bool CheckSingleInstance(const char* commandLine) {
  // Claimed with initial ownership and never closed: the name stays taken until this process ends.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "VantorMutex");
  if (std::strstr(commandLine, "-ami")) return true;
  if (!mutex) return true;  // no protection for this run, but no reason to refuse it
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;

  // Another instance runs. The message lives in the start-up folder; without it, end silently.
  static RunningMessage message;
  if (!ReadRunningMessage("data\\Running.scr", message)) return false;
  MessageBoxA(nullptr, message.text, message.caption, MB_ICONHAND);
  return false;
}
