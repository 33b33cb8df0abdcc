#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "game_run.h"

namespace harness {
namespace {

// The harness's own environment with the changes' variables set or replaced (names compared
// without case, as Windows does), as the double-zero-terminated block CreateProcessA takes.
std::string BuildEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> entries;
  if (char* block = GetEnvironmentStringsA()) {
    for (const char* p = block; *p; p += std::strlen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsA(block);
  }
  for (const std::string& change : changes) {
    const size_t name = change.find('=') + 1;  // with its '='
    std::vector<std::string> kept;
    for (std::string& entry : entries) {
      if (_strnicmp(entry.c_str(), change.c_str(), name) != 0) kept.push_back(std::move(entry));
    }
    entries.swap(kept);
    entries.push_back(change);
  }
  std::string result;
  for (const std::string& entry : entries) result.append(entry).push_back('\0');
  return result + '\0';
}

bool StartProcess(const RunOptions& options, DWORD flags, PROCESS_INFORMATION& info,
                  std::vector<std::string> changes = {}) {
  std::string commandLine = "\"" + options.program + "\" " + options.arguments;
  changes.insert(changes.end(), options.environment.begin(), options.environment.end());
  std::string environment = BuildEnvironment(changes);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags,
                        environment.data(),
                        options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(),
                        &startup, &info) != FALSE;
}

// Records and closes with OK every message box of the process that was not answered before. A
// box is enumerable before its text is set: it is taken once it is visible and has its text
// control. It stays in answered until its window is gone, so a later box reusing the handle is
// seen.
void AnswerBoxes(DWORD processId, std::set<HWND>& answered, std::vector<MessageBoxRecord>& boxes) {
  std::set<HWND> open;
  for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    const HWND text = GetDlgItem(box, 0xFFFF);  // the static control that shows the text
    if (owner != processId || !IsWindowVisible(box) || text == nullptr) continue;
    open.insert(box);
    if (answered.count(box)) continue;
    char caption[4096] = {}, message[4096] = {};
    GetWindowTextA(box, caption, sizeof caption);
    GetWindowTextA(text, message, sizeof message);
    boxes.push_back({caption, message});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  answered.swap(open);
}

// The file name of a loaded library, lower-cased, from the handle its load event carries.
std::string LibraryName(HANDLE file) {
  char path[MAX_PATH] = {};
  const DWORD length = GetFinalPathNameByHandleA(file, path, sizeof path, 0);
  if (length == 0 || length >= sizeof path) return {};
  std::string name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// Handles one debug event and continues the program. Exceptions are passed on unhandled, so the
// program sees them exactly as it would without a debugger, except the loader's initial
// breakpoint, which belongs to the debugger. Returns whether the program has exited.
bool HandleDebugEvent(const DEBUG_EVENT& event, bool& sawLoaderBreakpoint, RunResult& result) {
  DWORD status = DBG_CONTINUE;
  if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile) {
    CloseHandle(event.u.CreateProcessInfo.hFile);
  } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile) {
    result.loadedLibraries.push_back(LibraryName(event.u.LoadDll.hFile));
    CloseHandle(event.u.LoadDll.hFile);
  } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
    const bool loaderBreakpoint =
        !sawLoaderBreakpoint &&
        event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT;
    sawLoaderBreakpoint = sawLoaderBreakpoint || loaderBreakpoint;
    if (!loaderBreakpoint) status = DBG_EXCEPTION_NOT_HANDLED;
  }
  ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  return event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
}

// Undoes the C escapes of Wine's trace of a text: \n \r \t and \xNN; any other escaped character
// stands for itself (\" \\).
std::string Unescape(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result.push_back(text[i]);
      continue;
    }
    const char c = text[++i];
    if (c == 'x' && i + 2 < text.size()) {
      result.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      result.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c);
    }
  }
  return result;
}

// The OutputDebugStringA texts in Wine's trace output from offset on, which the test runner points
// at the file named by VANTOR_STDERR_FILE (run_capturing_stderr.sh):
//   0124:warn:debugstr:OutputDebugStringA "text\n"
// Wine traces only the start of a long text; the test would see it cut.
std::vector<std::string> DebugStringsFromTrace(const std::string& file, std::streamoff offset) {
  static const std::string kMarker = ":warn:debugstr:OutputDebugStringA \"";
  std::vector<std::string> texts;
  std::ifstream in(file, std::ios::binary);
  in.seekg(offset);
  for (std::string line; std::getline(in, line);) {
    const size_t marker = line.find(kMarker);
    const size_t start = marker + kMarker.size(), end = line.rfind('"');
    if (marker != std::string::npos && end >= start) {
      texts.push_back(Unescape(line.substr(start, end - start)));
    }
  }
  return texts;
}

}  // namespace

RunResult RunProgram(const RunOptions& options) {
  RunResult result;
  const char* errors = std::getenv("VANTOR_STDERR_FILE");
  const std::string errorFile = errors && *errors ? ToWindowsPath(errors) : "";
  std::error_code missing;
  const auto errorStart = errorFile.empty() ? 0 : std::filesystem::file_size(errorFile, missing);
  PROCESS_INFORMATION info = {};
  const bool started = options.asDebugger
                           ? StartProcess(options, DEBUG_ONLY_THIS_PROCESS, info)
                           : StartProcess(options, 0, info, {"WINEDEBUG=-all,+debugstr"});
  if (!started) {
    result.error = "CreateProcess failed with error " + std::to_string(GetLastError());
    return result;
  }
  result.started = true;

  std::set<HWND> answered;
  const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  bool exited = false, sawLoaderBreakpoint = false;
  while (!exited) {
    DEBUG_EVENT event;
    if (!options.asDebugger) {
      exited = WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0;
    } else if (WaitForDebugEvent(&event, 20)) {
      exited = HandleDebugEvent(event, sawLoaderBreakpoint, result);
    }
    if (exited) break;
    AnswerBoxes(info.dwProcessId, answered, result.boxes);
    if (GetTickCount64() > deadline) {
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
    result.debugStrings = DebugStringsFromTrace(errorFile, static_cast<std::streamoff>(errorStart));
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
