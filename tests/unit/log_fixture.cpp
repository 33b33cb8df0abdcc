#include "log_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "filesystem_api.h"
#include "log_testing.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// On Windows a death test's child runs the whole test again, SetUp included; it must work in
// its parent's folder, or the parent would look for the child's files in the wrong place. The
// parent names its folder in the environment, which the child inherits.
constexpr char kFolderVariable[] = "VANTOR_LOG_TEST_FOLDER";

void SetFolderVariable(const std::string& value) {
#ifdef _WIN32
  const std::string assignment = std::string(kFolderVariable) + "=" + value;
  _putenv(assignment.c_str());  // an empty value removes the variable
#else
  if (value.empty()) {
    unsetenv(kFolderVariable);
  } else {
    setenv(kFolderVariable, value.c_str(), 1);
  }
#endif
}

}  // namespace

void LogTest::SetUp() {
  const char* inherited = std::getenv(kFolderVariable);
  if (inherited != nullptr && *inherited != '\0') {
    folder_ = inherited;
  } else {
    std::random_device random;
    std::ostringstream name;
    name << "vantor-log-test-" << std::hex << random() << random();
    folder_ = fs::temp_directory_path() / name.str();
    ASSERT_TRUE(fs::create_directory(folder_));
    owns_folder_ = true;
    SetFolderVariable(folder_.string());
  }
  previous_folder_ = fs::current_path();
  fs::current_path(folder_);
  LogResetForTesting();
  ASSERT_EQ(FS_init(), 1);
  ASSERT_EQ(FS_add_source(".", 0, 0, 0), 1);
}

void LogTest::TearDown() {
  // Closes the log first: Windows cannot remove a file that is still open.
  LogResetForTesting();
  FS_shutdown();
  fs::current_path(previous_folder_);
  if (owns_folder_) {
    SetFolderVariable("");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
}

void LogTest::WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  ASSERT_TRUE(file.good()) << path;
}

std::string LogTest::ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.is_open()) << path;
  return std::string(std::istreambuf_iterator<char>(file), {});
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
