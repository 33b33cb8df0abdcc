#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "filesystem_api.h"
#include "log_platform.h"
#include "log_testing.h"
#include "log_text.h"

namespace {

constexpr char kDefaultName[] = "crash.log";
constexpr char kMarkerName[] = "debug.fnt";
constexpr char kLogsFolder[] = "logs";
constexpr char kCrashCaption[] = "CrashExit...";

// Absent until LogOpen runs; afterwards whatever the creation returned, possibly the invalid
// handle. Never closed: the process exit releases it.
log_platform::Handle logFile = log_platform::kNoHandle;
log_platform::Handle console = log_platform::kNoHandle;
bool opened = false;

// Shared by the three printing operations: the formatted text of the current call.
char message[kMessageBufferSize];
// LogPrint's text with CR LF line ends.
char line[kLineBufferSize];
char datedName[1024];

}  // namespace

void LogOpen(bool consoleEcho) {
  const char* name = kDefaultName;
  if (FS_exists(kMarkerName)) name = CrashLogFileName();
  logFile = log_platform::CreateLogFile(name);
  // A failed "crash.log" is simply tried twice.
  if (logFile == log_platform::kInvalidHandle) logFile = log_platform::CreateLogFile(kDefaultName);
  // A failed creation is not retried later in the run.
  opened = true;
  console = consoleEcho ? log_platform::StandardOutput() : log_platform::kNoHandle;
}

const char* CrashLogFileName() {
  log_platform::MakeFolder(kLogsFolder);
  // Empty in case the clock cannot be read or formatted.
  char date[log_platform::kStampSize] = {};
  char clock[log_platform::kStampSize] = {};
  log_platform::LocalDateAndClock(date, clock);
  std::snprintf(datedName, sizeof datedName, "logs/crash_%s_%s.log", date, clock);
  return datedName;
}

void LogPrint(const char* format, ...) {
  if (!opened) LogOpen(false);
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(message, format, arguments);
  va_end(arguments);

  const std::size_t length = ConvertLineEnds(message, line);
  // Write-through: no flush needed for the line to be on disk.
  log_platform::WriteLogFile(logFile, line, length);
  log_platform::OutputToDebugger(line);
  if (console != log_platform::kNoHandle) log_platform::WriteToConsole(console, line, length);
}

void ConsolePrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(message, format, arguments);
  va_end(arguments);
  if (console != log_platform::kNoHandle) {
    log_platform::WriteToConsole(console, message, std::strlen(message));
  }
}

void CrashExit(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(message, format, arguments);
  va_end(arguments);

  // The log is not opened here: without an earlier LogPrint there is no file to write to.
  if (logFile != log_platform::kNoHandle) {
    log_platform::WriteLogFile(logFile, message, std::strlen(message));
    log_platform::FlushLogFile(logFile);
  }
  log_platform::OutputToDebugger(message);
  if (console != log_platform::kNoHandle) {
    log_platform::WriteToConsole(console, message, std::strlen(message));
  }
  log_platform::ShowErrorBox(message, kCrashCaption);
  log_platform::ExitWithCodeMinusOne();
}

void LogResetForTesting() {
  log_platform::CloseLogFile(logFile);
  logFile = log_platform::kNoHandle;
  console = log_platform::kNoHandle;
  opened = false;
}
