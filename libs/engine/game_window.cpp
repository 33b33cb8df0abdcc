#include "game_window.h"

#include <utility>

// This module, for the window class: the class belongs to the engine DLL, not to the program.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr char kClassName[] = "VantorEngineDemoWindow";
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr UINT kThrowMessage = WM_APP + 1;

HINSTANCE EngineModule() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

bool RegisterWindowClass(WNDPROC procedure) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(EngineModule(), kClassName, &existing)) return true;

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = EngineModule();
  windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

GameWindow::GameWindow(const std::string& title, Events events)
    : events_(std::move(events)), scene_(title) {}

std::unique_ptr<GameWindow> GameWindow::Open(const std::string& title, int showCommand,
                                             Events events) {
  if (!RegisterWindowClass(&GameWindow::Procedure)) return nullptr;

  std::unique_ptr<GameWindow> gameWindow(new GameWindow(title, std::move(events)));
  const DWORD style = WS_OVERLAPPEDWINDOW;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  // WM_NCCREATE hands the object to the window procedure; from then on it serves this window.
  HWND window = CreateWindowExA(0, kClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, EngineModule(), gameWindow.get());
  if (!window) return nullptr;

  gameWindow->ResizeBackBuffer();
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return gameWindow;
}

GameWindow::~GameWindow() {
  if (window_) {
    // The window procedure must not reach this object any more.
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (backDc_) {
    SelectObject(backDc_, firstBitmap_);
    DeleteDC(backDc_);
  }
  if (backBitmap_) DeleteObject(backBitmap_);
  UnregisterClassA(kClassName, EngineModule());
}

void GameWindow::RenderFrame(double time) {
  scene_.Advance(time, width_, height_);
  if (!backDc_) return;
  scene_.Draw(backDc_, width_, height_);
  if (HDC dc = GetDC(window_)) {
    Present(dc);
    ReleaseDC(window_, dc);
  }
}

void GameWindow::PostThrowMessage() {
  PostMessageA(window_, kThrowMessage, 0, 0);
}

LRESULT CALLBACK GameWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<GameWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* gameWindow = reinterpret_cast<GameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // Messages before WM_NCCREATE, and after the object is gone, get the default handling.
  if (!gameWindow) return DefWindowProcA(window, message, wParam, lParam);
  return gameWindow->Handle(message, wParam, lParam);
}

LRESULT GameWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // every frame covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Present(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_SIZE:
      ResizeBackBuffer();
      return 0;
    case WM_CHAR:
      // Keys as the characters the message loop translates them into (TranslateMessage), as a
      // game that also takes typed text reads them: Escape is the character 27.
      if (wParam == 0x1B) {
        events_.quitRequested();
        return 0;
      }
      break;
    case WM_CLOSE:
      // The game decides: it posts the quit message, and the window goes when the game does.
      events_.quitRequested();
      return 0;
    case kThrowMessage:
      events_.throwMessage();  // may throw out of DispatchMessage into the program's loop
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void GameWindow::ResizeBackBuffer() {
  RECT client;
  if (!GetClientRect(window_, &client)) return;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;  // minimised: keep the old buffer
  if (backDc_ && width == width_ && height == height_) return;

  HDC windowDc = GetDC(window_);
  if (!windowDc) return;
  if (!backDc_) {
    backDc_ = CreateCompatibleDC(windowDc);
    firstBitmap_ = GetCurrentObject(backDc_, OBJ_BITMAP);
  }
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  ReleaseDC(window_, windowDc);
  if (!bitmap) return;

  SelectObject(backDc_, bitmap);
  if (backBitmap_) DeleteObject(backBitmap_);
  backBitmap_ = bitmap;
  width_ = width;
  height_ = height;
  scene_.Draw(backDc_, width_, height_);
}

void GameWindow::Present(HDC dc) const {
  if (backDc_) BitBlt(dc, 0, 0, width_, height_, backDc_, 0, 0, SRCCOPY);
}
