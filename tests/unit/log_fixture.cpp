#include "log_fixture.h"

#include <cstdio>
#include <cstring>

#include "filesystem_api.h"
#include "log_testing.h"

#ifdef _WIN32
#include <windows.h>
#endif

void LogTest::SetUp() {
  WorkingFolderTest::SetUp();
  LogResetForTesting();
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
}

void LogTest::TearDown() {
  // Closes the log first: Windows cannot remove a file that is still open.
  LogResetForTesting();
  WorkingFolderTest::TearDown();
}

#ifdef _WIN32

namespace {

// What OutputDebugStringA passed while a capture runs. Tests run on one thread.
std::string debuggerText;
bool capturing = false;

LONG CALLBACK CollectDebuggerText(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD* record = exception->ExceptionRecord;
  if (capturing && record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
    // Parameters: the length with the terminating zero, and the text.
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    debuggerText.append(text, strnlen(text, record->ExceptionInformation[0]));
  }
  return EXCEPTION_CONTINUE_SEARCH;  // the system still delivers the text as usual
}

}  // namespace

DebuggerCapture::DebuggerCapture() {
  debuggerText.clear();
  capturing = true;
  handler_ = AddVectoredExceptionHandler(1, CollectDebuggerText);
}

DebuggerCapture::~DebuggerCapture() {
  Finish();
}

std::string DebuggerCapture::Finish() {
  if (finished_) return {};
  finished_ = true;
  RemoveVectoredExceptionHandler(handler_);
  capturing = false;
  return debuggerText;
}

namespace {

// The static control that carries a message box's text.
constexpr int kBoxTextControl = 0xFFFF;

BOOL CALLBACK FindOwnBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  // The box is enumerable before its text is set: take it once it is visible with its text.
  if (process == GetCurrentProcessId() && std::strcmp(className, "#32770") == 0 &&
      IsWindowVisible(window) && GetDlgItem(window, kBoxTextControl) != nullptr) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI AnswerBox(void*) {
  for (int attempt = 0; attempt < 1500; ++attempt) {
    HWND box = nullptr;
    EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      char caption[256] = {};
      char text[4096] = {};
      GetWindowTextA(box, caption, sizeof caption);
      GetDlgItemTextA(box, kBoxTextControl, text, sizeof text);
      std::fprintf(stderr, "message box \"%s\": %s\n", caption, text);
      std::fflush(stderr);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(20);
  }
  return 1;  // no box: the death test's own timeout and checks report it
}

}  // namespace

void AnswerCrashBoxOnStderr() {
  HANDLE thread = CreateThread(nullptr, 0, AnswerBox, nullptr, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
}

#else

DebuggerCapture::DebuggerCapture() {
  testing::internal::CaptureStderr();
}

DebuggerCapture::~DebuggerCapture() {
  Finish();
}

std::string DebuggerCapture::Finish() {
  if (finished_) return {};
  finished_ = true;
  return testing::internal::GetCapturedStderr();
}

void AnswerCrashBoxOnStderr() {}

#endif
