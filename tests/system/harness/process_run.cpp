#include "process_run.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "game_folder.h"
#include "message_boxes.h"

namespace harness {
namespace {

// Case-insensitive "NAME=" prefix test, as Windows compares variable names.
bool SameVariable(const std::string& entry, const std::string& name) {
  return entry.size() > name.size() && entry[name.size()] == '=' &&
         _strnicmp(entry.c_str(), name.c_str(), name.size()) == 0;
}

// The harness's own environment with the options' variables set, replaced or removed, as the
// double-zero-terminated block CreateProcessA takes.
std::string BuildEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> entries;
  if (char* block = GetEnvironmentStringsA()) {
    for (const char* p = block; *p; p += std::strlen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsA(block);
  }
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('='));
    std::vector<std::string> kept;
    for (std::string& entry : entries) {
      if (!SameVariable(entry, name)) kept.push_back(std::move(entry));
    }
    entries.swap(kept);
    if (change.size() > name.size() + 1) entries.push_back(change);
  }
  std::string result;
  for (const std::string& entry : entries) result.append(entry).push_back('\0');
  result.push_back('\0');
  return result;
}

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  const size_t units = info.nDebugStringLength;
  const size_t unitSize = info.fUnicode ? 2 : 1;
  std::string bytes(units * unitSize, '\0');
  SIZE_T read = 0;
  if (units == 0 ||
      !ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), bytes.size(), &read)) {
    return {};
  }
  bytes.resize(read);
  if (info.fUnicode) {
    std::string narrow;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) narrow.push_back(bytes[i]);
    bytes.swap(narrow);
  }
  // The length counts the terminating zero.
  const size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  return bytes;
}

// The file name of a loaded library, lower-cased, from the handle its load event carries.
std::string LibraryName(HANDLE file) {
  char path[MAX_PATH] = {};
  const DWORD length = GetFinalPathNameByHandleA(file, path, sizeof path, 0);
  if (length == 0 || length >= sizeof path) return {};
  std::string name(path);
  name = name.substr(name.find_last_of("\\/") + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// Handles one debug event; returns the continue status. Exceptions are passed on unhandled, so the
// program sees them exactly as it would without a debugger, except the loader's initial
// breakpoint, which belongs to the debugger.
DWORD HandleDebugEvent(const DEBUG_EVENT& event, HANDLE process, bool& sawLoaderBreakpoint,
                       RunResult& result, bool& exited) {
  switch (event.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
      if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
      return DBG_CONTINUE;
    case LOAD_DLL_DEBUG_EVENT:
      if (event.u.LoadDll.hFile) {
        result.loadedLibraries.push_back(LibraryName(event.u.LoadDll.hFile));
        CloseHandle(event.u.LoadDll.hFile);
      }
      return DBG_CONTINUE;
    case OUTPUT_DEBUG_STRING_EVENT:
      result.debugStrings.push_back(ReadDebugString(process, event.u.DebugString));
      return DBG_CONTINUE;
    case EXCEPTION_DEBUG_EVENT:
      if (!sawLoaderBreakpoint &&
          event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) {
        sawLoaderBreakpoint = true;
        return DBG_CONTINUE;
      }
      return DBG_EXCEPTION_NOT_HANDLED;
    case EXIT_PROCESS_DEBUG_EVENT:
      exited = true;
      return DBG_CONTINUE;
    default:
      return DBG_CONTINUE;
  }
}

bool StartProcess(const RunOptions& options, DWORD flags, PROCESS_INFORMATION& info,
                  const std::vector<std::string>& extraEnvironment = {}) {
  std::string commandLine = "\"" + options.program + "\"";
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  std::vector<std::string> changes = extraEnvironment;
  changes.insert(changes.end(), options.environment.begin(), options.environment.end());
  std::string environment = BuildEnvironment(changes);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags,
                        environment.data(),
                        options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(),
                        &startup, &info) != FALSE;
}

// Undoes the C escapes of Wine's trace of a text: \n \r \t \" \\ and \xNN.
std::string Unescape(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result.push_back(text[i]);
      continue;
    }
    const char c = text[++i];
    if (c == 'n') {
      result.push_back('\n');
    } else if (c == 'r') {
      result.push_back('\r');
    } else if (c == 't') {
      result.push_back('\t');
    } else if (c == 'x' && i + 2 < text.size()) {
      result.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      result.push_back(c);
    }
  }
  return result;
}

// Picks the OutputDebugStringA texts out of Wine's trace output:
//   0124:warn:debugstr:OutputDebugStringA "text\n"
// A text that Wine cut ends in "..." after the closing quote; it is kept with that mark.
std::vector<std::string> DebugStringsFromTrace(const std::string& output) {
  static const std::string kMarker = ":warn:debugstr:OutputDebugStringA \"";
  std::vector<std::string> texts;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    start = end + 1;
    const size_t marker = line.find(kMarker);
    if (marker == std::string::npos) continue;
    std::string quoted = line.substr(marker + kMarker.size());
    if (!quoted.empty() && quoted.back() == '\r') quoted.pop_back();
    const bool cut = quoted.size() >= 4 && quoted.compare(quoted.size() - 4, 4, "\"...") == 0;
    quoted.resize(quoted.size() - (cut ? 4 : 1));
    texts.push_back(Unescape(quoted) + (cut ? "..." : ""));
  }
  return texts;
}

// Wine writes the traces of every program the harness starts to the harness's own standard error,
// which the test runner points at a file named by VANTOR_STDERR_FILE (run_capturing_stderr.sh).
// Returns that file's name, or an empty string when there is none.
std::string StandardErrorFile() {
  const char* name = std::getenv("VANTOR_STDERR_FILE");
  return name && *name ? ToWindowsPath(name) : std::string();
}

std::string ReadFrom(const std::string& name, unsigned long long offset) {
  std::string text;
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  LARGE_INTEGER start;
  start.QuadPart = static_cast<LONGLONG>(offset);
  SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  return text;
}

unsigned long long FileSize(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (name.empty() || !GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

RunResult RunProgram(const RunOptions& options) {
  RunResult result;
  PROCESS_INFORMATION info = {};
  const std::string errorFile = StandardErrorFile();
  const unsigned long long errorStart = FileSize(errorFile);
  const bool started = options.asDebugger
                           ? StartProcess(options, DEBUG_ONLY_THIS_PROCESS, info)
                           : StartProcess(options, 0, info, {"WINEDEBUG=-all,+debugstr"});
  if (!started) {
    result.error = "CreateProcess failed with error " + std::to_string(GetLastError());
    return result;
  }
  result.started = true;

  MessageBoxWatcher watcher(info.dwProcessId);
  const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  bool exited = false;
  bool sawLoaderBreakpoint = false;
  while (!exited) {
    if (options.asDebugger) {
      DEBUG_EVENT event;
      if (WaitForDebugEvent(&event, 20)) {
        const DWORD status =
            HandleDebugEvent(event, info.hProcess, sawLoaderBreakpoint, result, exited);
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
      }
    } else {
      exited = WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0;
    }
    if (!exited) watcher.Poll(result.boxes);
    if (!exited && GetTickCount64() > deadline) {
      result.timedOut = true;
      TerminateProcess(info.hProcess, 0xDEADBEEF);
      if (!options.asDebugger) break;
    }
  }
  WaitForSingleObject(info.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  result.exitCode = code;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (!options.asDebugger && !errorFile.empty()) {
    result.debugStrings = DebugStringsFromTrace(ReadFrom(errorFile, errorStart));
  }
  return result;
}

BackgroundProgram::BackgroundProgram(const RunOptions& options) {
  PROCESS_INFORMATION info = {};
  if (StartProcess(options, 0, info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
}

BackgroundProgram::~BackgroundProgram() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 0xDEADBEEF);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
}

bool BackgroundProgram::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

}  // namespace harness
