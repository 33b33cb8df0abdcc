#include "screenshot.h"

#include <cstdio>

namespace {

// The bytes of one bottom-up 24-bit row, padded to a multiple of 4 as BMP requires.
DWORD RowBytes(LONG width) {
  return ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
}

bool WriteBmp(const char* file, const BITMAPINFOHEADER& info, const void* pixels) {
  const DWORD pixelBytes = info.biSizeImage;
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + pixelBytes;

  std::FILE* out = std::fopen(file, "wb");
  if (!out) return false;
  bool written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                 std::fwrite(&info, sizeof info, 1, out) == 1 &&
                 std::fwrite(pixels, 1, pixelBytes, out) == pixelBytes;
  // A failed close can lose buffered bytes, so it counts as a failed write.
  if (std::fclose(out) != 0) written = false;
  return written;
}

}  // namespace

bool SaveClientAreaAsBmp(HWND window, const char* file) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  const LONG width = client.right - client.left;
  const LONG height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO bitmapInfo = {};
  BITMAPINFOHEADER& info = bitmapInfo.bmiHeader;
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // positive: bottom-up rows, the usual BMP order
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = RowBytes(width) * static_cast<DWORD>(height);

  bool saved = false;
  HDC windowDc = GetDC(window);
  HDC memoryDc = windowDc ? CreateCompatibleDC(windowDc) : nullptr;
  void* pixels = nullptr;
  HBITMAP dib = memoryDc
                    ? CreateDIBSection(windowDc, &bitmapInfo, DIB_RGB_COLORS, &pixels, nullptr, 0)
                    : nullptr;
  if (dib && pixels) {
    HGDIOBJ previous = SelectObject(memoryDc, dib);
    if (BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY)) {
      GdiFlush();  // the DIB's bits are read directly below
      saved = WriteBmp(file, info, pixels);
    }
    SelectObject(memoryDc, previous);
  }
  if (dib) DeleteObject(dib);
  if (memoryDc) DeleteDC(memoryDc);
  if (windowDc) ReleaseDC(window, windowDc);
  return saved;
}
