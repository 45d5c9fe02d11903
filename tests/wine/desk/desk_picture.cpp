// zdesk picture LEFT TOP WIDTH HEIGHT [SECONDS [STEP_MS DX DY]]: the known test picture in a
// borderless window covering exactly that screen rectangle, kept above ordinary windows so
// nothing the recorder opens can cover it, until the time is up (default 120 s) or the
// window is closed. Prints "shown: LEFT,TOP WIDTHxHEIGHT".
//
// With STEP_MS, the picture scrolls: every STEP_MS the window shows it from an origin moved
// by (DX, DY), as a page scrolled by a few lines does, so a recording holds moved content; the
// window's pixel (x, y) then has the colour of the picture's (x + ox, y + oy).
//
// Every pixel's colour follows from its place in the picture alone, and no two pixels within
// 2048 x 1280 share a colour, so a copy that is shifted, cut or framed differs somewhere.
// lib/check_bitmap.py computes the same.
#include <cstdint>

#include "desk.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZelvioTestPicture";

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB as a 32-bit DIB holds them
};

Picture g_picture;
// The scrolling picture's origin and its step.
int g_originX = 0;
int g_originY = 0;
int g_stepX = 0;
int g_stepY = 0;
constexpr UINT_PTR kScrollTimer = 7;

// 0x00RRGGBB of the pixel at (x, y), counted from the picture's top-left corner: red runs
// along x and green along y, and each 256 x 256 block has a blue of its own.
uint32_t TestPictureColour(int x, int y) {
  uint32_t red = static_cast<uint32_t>(x) & 0xFF;
  uint32_t green = static_cast<uint32_t>(y) & 0xFF;
  uint32_t blue = (17 + 5 * static_cast<uint32_t>(x >> 8) + 41 * static_cast<uint32_t>(y >> 8)) & 0xFF;
  return (red << 16) | (green << 8) | blue;
}

Picture MakePicture(int width, int height, int originX, int originY) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<size_t>(y) * width + x] = TestPictureColour(x + originX, y + originY);
  }
  return picture;
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = g_picture.width;
  info.bmiHeader.biHeight = -g_picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, g_picture.width, g_picture.height, 0, 0, 0, g_picture.height,
                    g_picture.pixels.data(), &info, DIB_RGB_COLORS);
  EndPaint(window, &paint);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_TIMER && wParam == kScrollTimer) {
    // Kept within 0..1023 so a reader can find the origin from the colours alone.
    g_originX = (g_originX + g_stepX) & 1023;
    g_originY = (g_originY + g_stepY) & 1023;
    g_picture = MakePicture(g_picture.width, g_picture.height, g_originX, g_originY);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  Paint(window);
  return 0;
}

}  // namespace

int RunPicture(const Args& args) {
  const ScreenRect rect = RectArgs(args);
  const int seconds = IntArg(args, 4, 120);
  if (rect.width <= 0 || rect.height <= 0 || seconds <= 0) return 2;
  const int stepMs = IntArg(args, 5, 0);
  g_stepX = IntArg(args, 6, 0);
  g_stepY = IntArg(args, 7, 0);
  g_picture = MakePicture(rect.width, rect.height, 0, 0);
  if (!RegisterWindowClass(kClassName, Procedure)) return 1;
  HWND window = CreatePopup(kClassName, "Zelvio test picture",
                            WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, rect);
  if (window == nullptr) return 1;
  CloseAfter(window, seconds);
  if (stepMs > 0) SetTimer(window, kScrollTimer, static_cast<UINT>(stepMs), nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  PrintLine("shown: %d,%d %dx%d", rect.left, rect.top, rect.width, rect.height);
  return RunMessageLoop();
}

}  // namespace zdesk
