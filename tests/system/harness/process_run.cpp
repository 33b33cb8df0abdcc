#include "process_run.h"

#include <windows.h>

#include <cstring>

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
      if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
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

}  // namespace

RunResult RunProgram(const RunOptions& options) {
  RunResult result;
  std::string commandLine = "\"" + options.program + "\"";
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  std::string environment = BuildEnvironment(options.environment);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  const DWORD flags = options.asDebugger ? DEBUG_ONLY_THIS_PROCESS : 0;
  if (!CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags,
                      environment.data(),
                      options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(),
                      &startup, &info)) {
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
  return result;
}

}  // namespace harness
