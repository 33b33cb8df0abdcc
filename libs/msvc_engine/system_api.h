// The few Windows functions this engine calls, declared by hand: it is built in Microsoft's ABI
// without Microsoft's headers, and its import libraries come from the .def files in imports/.
#pragma once

#define VANTOR_WINAPI __stdcall

// LRESULT/LPARAM and WPARAM: pointer-sized.
using WindowResult = decltype(static_cast<char*>(nullptr) - static_cast<char*>(nullptr));
using WindowWord = decltype(sizeof 0);
using WindowProcedureFunction = WindowResult(VANTOR_WINAPI*)(void*, unsigned int, WindowWord,
                                                             WindowResult);

// WNDCLASSA.
struct WindowClass {
  unsigned int style;
  WindowProcedureFunction procedure;
  int classExtra;
  int windowExtra;
  void* instance;
  void* icon;
  void* cursor;
  void* background;
  const char* menuName;
  const char* className;
};

extern "C" {
// This DLL's module handle: the linker places the symbol at the start of the image.
extern char __ImageBase;

__declspec(dllimport) const char* VANTOR_WINAPI GetCommandLineA();
__declspec(dllimport) int VANTOR_WINAPI IsBadReadPtr(const void* address, WindowWord size);
__declspec(dllimport) void VANTOR_WINAPI OutputDebugStringA(const char* text);

__declspec(dllimport) void VANTOR_WINAPI PostQuitMessage(int code);
__declspec(dllimport) unsigned short VANTOR_WINAPI RegisterClassA(const WindowClass* windowClass);
__declspec(dllimport) void* VANTOR_WINAPI
    CreateWindowExA(unsigned long extendedStyle, const char* className, const char* title,
                    unsigned long style, int x, int y, int width, int height, void* parent,
                    void* menu, void* instance, void* param);
__declspec(dllimport) WindowResult VANTOR_WINAPI
    DefWindowProcA(void* window, unsigned int message, WindowWord wParam, WindowResult lParam);
__declspec(dllimport) int VANTOR_WINAPI
    PostMessageA(void* window, unsigned int message, WindowWord wParam, WindowResult lParam);
}

// Structured-exception filter results.
constexpr int kExceptionExecuteHandler = 1;
constexpr int kExceptionContinueSearch = 0;
