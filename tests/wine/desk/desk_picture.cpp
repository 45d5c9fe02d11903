// zdesk picture LEFT TOP WIDTH HEIGHT [SECONDS]: the known test picture in a borderless
// window covering exactly that screen rectangle, kept above ordinary windows so nothing the
// recorder opens can cover it, until the time is up (default 120 s) or the window is closed.
// Prints "shown: LEFT,TOP WIDTHxHEIGHT".
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

// 0x00RRGGBB of the pixel at (x, y), counted from the picture's top-left corner: red runs
// along x and green along y, and each 256 x 256 block has a blue of its own.
uint32_t TestPictureColour(int x, int y) {
  uint32_t red = static_cast<uint32_t>(x) & 0xFF;
  uint32_t green = static_cast<uint32_t>(y) & 0xFF;
  uint32_t blue = (17 + 5 * static_cast<uint32_t>(x >> 8) + 41 * static_cast<uint32_t>(y >> 8)) & 0xFF;
  return (red << 16) | (green << 8) | blue;
}

Picture MakePicture(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<size_t>(y) * width + x] = TestPictureColour(x, y);
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
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  Paint(window);
  return 0;
}

}  // namespace

int RunPicture(const Args& args) {
  const ScreenRect rect = RectArgs(args);
  const int seconds = IntArg(args, 4, 120);
  if (rect.width <= 0 || rect.height <= 0 || seconds <= 0) return 2;
  g_picture = MakePicture(rect.width, rect.height);
  if (!RegisterWindowClass(kClassName, Procedure)) return 1;
  HWND window = CreatePopup(kClassName, "Zelvio test picture",
                            WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, rect);
  if (window == nullptr) return 1;
  CloseAfter(window, seconds);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  PrintLine("shown: %d,%d %dx%d", rect.left, rect.top, rect.width, rect.height);
  return RunMessageLoop();
}

}  // namespace zdesk
