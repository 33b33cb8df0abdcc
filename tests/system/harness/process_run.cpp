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

bool StartProcess(const RunOptions& options, PROCESS_INFORMATION& info,
                  std::vector<std::string> changes = {}) {
  std::string commandLine = "\"" + options.program + "\" " + options.arguments;
  changes.insert(changes.end(), options.environment.begin(), options.environment.end());
  std::string environment = BuildEnvironment(changes);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
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

// Undoes the escapes of Wine's trace of a text: the program's texts need \n and \r, and any other
// escaped character stands for itself.
std::string Unescape(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      c = text[++i];
      c = c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    result.push_back(c);
  }
  return result;
}

// The OutputDebugStringA texts and the libraries loaded, from Wine's trace output from offset on,
// which the test runner points at the file named by VANTOR_STDERR_FILE (run_capturing_stderr.sh):
//   0124:warn:debugstr:OutputDebugStringA "text\n"
//   0124:trace:loaddll:build_module Loaded L"C:\\windows\\system32\\dbghelp.dll" at ...
// Wine traces only the start of a long text; the test would see it cut.
void ReadTrace(const std::string& file, std::streamoff offset, RunResult& result) {
  static const std::string kText = ":warn:debugstr:OutputDebugStringA \"", kLoad = " Loaded L\"";
  std::ifstream in(file, std::ios::binary);
  in.seekg(offset);
  for (std::string line; std::getline(in, line);) {
    const size_t text = line.find(kText), load = line.find(kLoad), end = line.rfind('"');
    if (text != std::string::npos && end >= text + kText.size()) {
      result.debugStrings.push_back(
          Unescape(line.substr(text + kText.size(), end - text - kText.size())));
    } else if (load != std::string::npos && line.find(":loaddll:") != std::string::npos) {
      const std::string path = line.substr(0, line.find('"', load + kLoad.size()));
      std::string name = path.substr(path.find_last_of("\\\"") + 1);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      result.loadedLibraries.push_back(name);
    }
  }
}

}  // namespace

RunResult RunProgram(const RunOptions& options) {
  RunResult result;
  const char* errors = std::getenv("VANTOR_STDERR_FILE");
  const std::string errorFile = errors && *errors ? ToWindowsPath(errors) : "";
  std::error_code missing;
  const auto errorStart = errorFile.empty() ? 0 : std::filesystem::file_size(errorFile, missing);
  PROCESS_INFORMATION info = {};
  if (!StartProcess(options, info, {"WINEDEBUG=-all,+debugstr,+loaddll"})) {
    result.error = "CreateProcess failed with error " + std::to_string(GetLastError());
    return result;
  }
  result.started = true;

  std::set<HWND> answered;
  const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  while (WaitForSingleObject(info.hProcess, 20) != WAIT_OBJECT_0) {
    AnswerBoxes(info.dwProcessId, answered, result.boxes);
    if (GetTickCount64() > deadline) {
      TerminateProcess(info.hProcess, 0xDEADBEEF);
      break;
    }
  }
  WaitForSingleObject(info.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  result.exitCode = code;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (!errorFile.empty()) {
    ReadTrace(errorFile, static_cast<std::streamoff>(errorStart), result);
  }
  return result;
}

BackgroundProgram::BackgroundProgram(const RunOptions& options) {
  PROCESS_INFORMATION info = {};
  if (StartProcess(options, info)) {
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

void* BackgroundProgram::Window(const char* className) const {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetProcessId(process_)) return window;
  }
  return nullptr;
}

bool BackgroundProgram::WaitForEnd(unsigned timeoutMs, unsigned long& exitCode) const {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  exitCode = code;
  return true;
}

}  // namespace harness
