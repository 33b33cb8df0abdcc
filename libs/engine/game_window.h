// The demo game's window: a top-level window that shows the scene, double-buffered, and reports
// Escape, closing and the engine's own "throw now" message back to the game.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "scene.h"

class GameWindow {
 public:
  struct Events {
    std::function<void()> quitRequested;  // Escape pressed or the window closed
    std::function<void()> throwMessage;   // the message PostThrowMessage posted arrived
  };

  // Opens and shows the window (client area 800 x 600) with the title as its caption. Null when
  // the window cannot be created, e.g. when there is no display.
  static std::unique_ptr<GameWindow> Open(const std::string& title, int showCommand, Events events);
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  HWND Handle() const { return window_; }

  // Moves the scene on to `time` (seconds since the game started), draws it and shows it.
  void RenderFrame(double time);

  // Posts a message to this window; its window procedure calls events.throwMessage when the
  // message loop dispatches it.
  void PostThrowMessage();

 private:
  GameWindow(const std::string& title, Events events);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void ResizeBackBuffer();
  void Present(HDC dc) const;

  HWND window_ = nullptr;
  Events events_;
  Scene scene_;
  // The frame is drawn here first, so the window never shows a half-drawn picture.
  HDC backDc_ = nullptr;
  HBITMAP backBitmap_ = nullptr;
  HGDIOBJ firstBitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
