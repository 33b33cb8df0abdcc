#include "message_boxes.h"

#include <windows.h>

namespace harness {
namespace {

// The static control that carries a message box's text.
constexpr int kTextControlId = 0xFFFF;

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  // A box is enumerable before its text is set: take it once it is visible and has its text.
  if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window) &&
      GetDlgItem(window, kTextControlId) != nullptr) {
    search->found.push_back(window);
  }
  return TRUE;
}

std::string WindowText(HWND window) {
  char text[4096] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 2000, &length)) {
    GetWindowTextA(window, text, sizeof text);
  }
  return text;
}

}  // namespace

void MessageBoxWatcher::Poll(std::vector<MessageBoxRecord>& boxes) {
  Search search{processId_, {}};
  EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));

  // Forget boxes that are gone, so a later box that reuses the handle is seen.
  std::set<void*> stillOpen;
  for (HWND window : search.found) {
    if (answered_.count(window)) {
      stillOpen.insert(window);
      continue;
    }
    boxes.push_back({WindowText(window), WindowText(GetDlgItem(window, kTextControlId))});
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    stillOpen.insert(window);
  }
  answered_.swap(stillOpen);
}

}  // namespace harness
