#include "crash_dump.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "crash_report.h"
#include "dbghelp_binding.h"

namespace {

constexpr char kFolder[] = "crashdumps";
// A name's fixed part: "crash_" and the local time; '#' stands for a digit.
constexpr char kTimeShape[] = "crash_####-##-##_######";
constexpr char kExtension[] = ".dmp";
constexpr int kDumpsKept = 10;
// Stacks with what their words point at, the thread list, the module list and the exception.
constexpr MINIDUMP_TYPE kDumpType =
    static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithIndirectlyReferencedMemory);

// Static: a dump that outlives the wait still reads them.
struct DumpRequest {
  MINIDUMP_EXCEPTION_INFORMATION exception;
  HANDLE file;
  char path[MAX_PATH];
} request;

DWORD WINAPI DumpThread(LPVOID) {
  return dbgHelp.entry.MiniDumpWriteDump(dbgHelp.process, GetCurrentProcessId(), request.file,
                                         kDumpType, &request.exception, nullptr, nullptr)
             ? 1
             : 0;
}

// The number after the time in one of our names: 1 for none, 0 for a name that is not ours.
int DumpNumber(const char* name) {
  for (std::size_t i = 0; i < sizeof kTimeShape - 1; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
    if (kTimeShape[i] == '#' ? !digit : name[i] != kTimeShape[i]) return 0;
  }
  const char* rest = name + sizeof kTimeShape - 1;
  int number = 1;
  if (*rest == '_') {
    char* end = nullptr;
    number = static_cast<int>(std::strtol(rest + 1, &end, 10));
    if (end == rest + 1 || number < 2) return 0;
    rest = end;
  }
  return std::strcmp(rest, kExtension) == 0 ? number : 0;
}

// Whether the dump named a was written before the one named b (both ours).
bool Older(const char* a, const char* b) {
  const int byTime = std::strncmp(a, b, sizeof kTimeShape - 1);
  return byTime != 0 ? byTime < 0 : DumpNumber(a) < DumpNumber(b);
}

// A new file named by the local time, never one that exists already; its path goes to path.
HANDLE CreateDumpFile(char (&path)[MAX_PATH]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char time[sizeof kTimeShape];
  std::snprintf(time, sizeof time, "crash_%04u-%02u-%02u_%02u%02u%02u", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  for (int number = 1; number < 100; ++number) {
    if (number == 1) {
      std::snprintf(path, sizeof path, "%s\\%s%s", kFolder, time, kExtension);
    } else {
      std::snprintf(path, sizeof path, "%s\\%s_%d%s", kFolder, time, number, kExtension);
    }
    const HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// Deletes the oldest of our dumps until kDumpsKept are left.
void DeleteOldDumps() {
  char pattern[MAX_PATH];
  std::snprintf(pattern, sizeof pattern, "%s\\crash_*%s", kFolder, kExtension);
  for (;;) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    int count = 0;
    char oldest[MAX_PATH] = "";
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || DumpNumber(found.cFileName) == 0) {
        continue;
      }
      ++count;
      if (oldest[0] == '\0' || Older(found.cFileName, oldest)) {
        std::snprintf(oldest, sizeof oldest, "%s", found.cFileName);
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    if (count <= kDumpsKept) return;
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s", kFolder, oldest);
    if (!DeleteFileA(path)) return;
  }
}

}  // namespace

void WriteCrashDump(EXCEPTION_POINTERS* pointers) {
  if (!dbgHelp.reportingEnabled) return;
  DbgHelpBind();
  if (!dbgHelp.reportingEnabled || dbgHelp.entry.MiniDumpWriteDump == nullptr) return;
  CreateDirectoryA(kFolder, nullptr);
  request.file = CreateDumpFile(request.path);
  if (request.file == INVALID_HANDLE_VALUE) return;
  request.exception = {GetCurrentThreadId(), pointers, FALSE};

  // From a thread of its own: the writer suspends the other threads, the faulting one among them,
  // to read their registers; the faulting thread's context at the fault comes with pointers.
  // The writer's own stack goes into the dump too, all of it under Wine (which ignores a callback
  // that leaves a thread out, and makes no stack smaller than 1 MiB): a small one keeps the dump
  // small.
  constexpr SIZE_T kWriterStack = 256 * 1024;
  const std::optional<DWORD> written = RunOnOwnThread(DumpThread, nullptr, kWriterStack);
  // A writer still at it keeps the file, which the process's end closes.
  if (!written) return;
  CloseHandle(request.file);
  // A dump that could not be written whole (a full disk) is no dump.
  if (*written == 0) {
    DeleteFileA(request.path);
    return;
  }
  DeleteOldDumps();
}
