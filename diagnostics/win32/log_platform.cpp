// The log output's sinks on Windows: exactly the calls and arguments the program is built on.
#include "log_platform.h"

#include <direct.h>
#include <windows.h>

namespace log_platform {
namespace {

HANDLE ToWindows(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

Handle CreateLogFile(const char* name) {
  const HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_FLAG_WRITE_THROUGH, nullptr);
  return reinterpret_cast<Handle>(file);
}

void WriteLogFile(Handle file, const char* text, std::size_t length) {
  DWORD written = 0;
  WriteFile(ToWindows(file), text, static_cast<DWORD>(length), &written, nullptr);
}

void FlushLogFile(Handle file) {
  FlushFileBuffers(ToWindows(file));
}

void CloseLogFile(Handle file) {
  if (file != kNoHandle && file != kInvalidHandle) CloseHandle(ToWindows(file));
}

void OutputToDebugger(const char* text) {
  OutputDebugStringA(text);
}

Handle StandardOutput() {
  return reinterpret_cast<Handle>(GetStdHandle(STD_OUTPUT_HANDLE));
}

void WriteToConsole(Handle console, const char* text, std::size_t length) {
  DWORD written = 0;
  // Standard output redirected to a file or pipe (a tool run by a script) is no console:
  // WriteConsoleA fails there, and the text goes out as plain bytes instead.
  if (!WriteConsoleA(ToWindows(console), text, static_cast<DWORD>(length), &written, nullptr)) {
    WriteFile(ToWindows(console), text, static_cast<DWORD>(length), &written, nullptr);
  }
}

void ShowErrorBox(const char* text, const char* caption) {
  MessageBoxA(GetDesktopWindow(), text, caption, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

void ExitWithCodeMinusOne() {
  ExitProcess(static_cast<UINT>(-1));
}

void MakeFolder(const char* name) {
  _mkdir(name);
}

void LocalDateAndClock(char* date, char* clock) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, "yyyy'-'MM'-'dd", date, kStampSize);
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &now, "hhmm", clock, kStampSize);
}

}  // namespace log_platform
