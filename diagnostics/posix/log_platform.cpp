// The log output's sinks in the native build, which exists so that the parser's native tests can
// log. The file behaves as on Windows (created, truncated, written through); the debugger text
// and the message box go to stderr, the console is the standard output.
#include "log_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace log_platform {
namespace {

// Handles carry a descriptor plus one (see log_platform.h).
int ToDescriptor(Handle handle) {
  return static_cast<int>(handle - 1);
}
Handle ToHandle(int descriptor) {
  return static_cast<Handle>(descriptor) + 1;
}
bool IsOpen(Handle handle) {
  return handle != kNoHandle && handle != kInvalidHandle;
}

// Writes all of text, as WriteFile does, unless the descriptor fails.
void WriteAll(int descriptor, const char* text, std::size_t length) {
  while (length > 0) {
    const ssize_t written = write(descriptor, text, length);
    if (written <= 0) return;
    text += written;
    length -= static_cast<std::size_t>(written);
  }
}

}  // namespace

Handle CreateLogFile(const char* name) {
  // O_SYNC: every write reaches the disk, as FILE_FLAG_WRITE_THROUGH. POSIX has no share modes;
  // the file is readable by others. Not inherited by child programs, as a Windows handle
  // created without security attributes.
  const int descriptor = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_SYNC | O_CLOEXEC, 0644);
  return descriptor < 0 ? kInvalidHandle : ToHandle(descriptor);
}

void WriteLogFile(Handle file, const char* text, std::size_t length) {
  if (IsOpen(file)) WriteAll(ToDescriptor(file), text, length);
}

void FlushLogFile(Handle file) {
  if (IsOpen(file)) fsync(ToDescriptor(file));
}

void CloseLogFile(Handle file) {
  if (IsOpen(file)) close(ToDescriptor(file));
}

void OutputToDebugger(const char* text) {
  std::fputs(text, stderr);
}

Handle StandardOutput() {
  return ToHandle(STDOUT_FILENO);
}

void WriteToConsole(Handle console, const char* text, std::size_t length) {
  if (IsOpen(console)) WriteAll(ToDescriptor(console), text, length);
}

void ShowErrorBox(const char* text, const char* caption) {
  // No one can answer a box here: it is shown as one line that names its caption.
  std::fprintf(stderr, "message box \"%s\": %s\n", caption, text);
}

void ExitWithCodeMinusOne() {
  std::_Exit(-1);
}

void MakeFolder(const char* name) {
  mkdir(name, 0777);
}

void LocalDateAndClock(char* date, char* clock) {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  std::strftime(date, kStampSize, "%Y-%m-%d", &local);
  std::strftime(clock, kStampSize, "%H%M", &local);
}

}  // namespace log_platform
