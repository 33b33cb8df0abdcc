// Saving what the window shows, so that a test (or a person) can look at a frame.
#pragma once

#include <windows.h>

// Copies the window's client area from its device context into a 24-bit DIB section and writes
// it to `file` as a BMP (file header, info header, bottom-up rows padded to 4 bytes). True when
// the file was written completely.
bool SaveClientAreaAsBmp(HWND window, const char* file);
