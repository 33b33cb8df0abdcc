#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "filesystem_api.h"
#include "log_platform.h"
#include "log_testing.h"
#include "log_text.h"

namespace platform = vantor::diagnostics::platform;
using vantor::diagnostics::ConvertLineEnds;
using vantor::diagnostics::FormatLogText;
using vantor::diagnostics::kLineBufferSize;
using vantor::diagnostics::kMessageBufferSize;

namespace {

constexpr char kDefaultName[] = "crash.log";
constexpr char kMarkerName[] = "debug.fnt";
constexpr char kLogsFolder[] = "logs";
constexpr char kCrashCaption[] = "CrashExit...";

// Absent until LogOpen runs; afterwards whatever the creation returned, possibly the invalid
// handle. Never closed: the process exit releases it.
platform::Handle logFile = platform::kNoHandle;
platform::Handle console = platform::kNoHandle;
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
  logFile = platform::CreateLogFile(name);
  // A failed "crash.log" is simply tried twice.
  if (logFile == platform::kInvalidHandle) logFile = platform::CreateLogFile(kDefaultName);
  // A failed creation is not retried later in the run.
  opened = true;
  console = consoleEcho ? platform::StandardOutput() : platform::kNoHandle;
}

const char* CrashLogFileName() {
  platform::MakeFolder(kLogsFolder);
  // Empty in case the clock cannot be read or formatted.
  char date[platform::kStampSize] = {};
  char clock[platform::kStampSize] = {};
  platform::LocalDateAndClock(date, clock);
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
  platform::WriteLogFile(logFile, line, length);
  platform::OutputToDebugger(line);
  if (console != platform::kNoHandle) platform::WriteToConsole(console, line, length);
}

void ConsolePrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(message, format, arguments);
  va_end(arguments);
  if (console != platform::kNoHandle) {
    platform::WriteToConsole(console, message, std::strlen(message));
  }
}

void CrashExit(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatLogText(message, format, arguments);
  va_end(arguments);

  // The log is not opened here: without an earlier LogPrint there is no file to write to.
  if (logFile != platform::kNoHandle) {
    platform::WriteLogFile(logFile, message, std::strlen(message));
    platform::FlushLogFile(logFile);
  }
  platform::OutputToDebugger(message);
  if (console != platform::kNoHandle) {
    platform::WriteToConsole(console, message, std::strlen(message));
  }
  platform::ShowErrorBox(message, kCrashCaption);
  platform::ExitWithCodeMinusOne();
}

void LogResetForTesting() {
  platform::CloseLogFile(logFile);
  logFile = platform::kNoHandle;
  console = platform::kNoHandle;
  opened = false;
}
