#include "engine_window.h"

#include "cleanup.h"
#include "engine_exceptions.h"
#include "system_api.h"

namespace {

constexpr unsigned int kThrowMessage = 0x8001;  // WM_APP + 1
constexpr char kClassName[] = "VantorMsvcEngine";

void* window = nullptr;

WindowResult VANTOR_WINAPI WindowProcedure(void* handle, unsigned int message, WindowWord wParam,
                                           WindowResult lParam) {
  if (message == kThrowMessage) {
    const SaysWhenDestroyed cleanup("msvc engine: the window procedure's local destroyed\n");
    throw CWindowStateException();
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace

bool CreateEngineWindow() {
  WindowClass windowClass = {};
  windowClass.procedure = WindowProcedure;
  windowClass.instance = &__ImageBase;
  windowClass.className = kClassName;
  if (RegisterClassA(&windowClass) == 0) return false;
  window = CreateWindowExA(0, kClassName, kClassName, 0, 0, 0, 100, 100, nullptr, nullptr,
                           &__ImageBase, nullptr);
  return window != nullptr;
}

void AskWindowToThrow() {
  PostMessageA(window, kThrowMessage, 0, 0);
}
