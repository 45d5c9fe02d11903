// picture_window <left> <top> <width> <height> [seconds]: shows the known test picture
// (test_picture.h) in a borderless window covering exactly that screen rectangle, kept
// above ordinary windows so nothing the recorder opens can cover it, until the time is up
// (default 120 s) or the window is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "test_picture.h"

namespace {

constexpr char kClassName[] = "ZelvioTestPicture";
constexpr UINT_PTR kLifeTimer = 1;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB as a 32-bit DIB holds them
};

Picture g_picture;

Picture MakePicture(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels[static_cast<size_t>(y) * width + x] = helpers::TestPictureColour(x, y);
    }
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
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_TIMER:
      if (wParam == kLifeTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::printf("usage: picture_window <left> <top> <width> <height> [seconds]\n");
    return 2;
  }
  int left = std::atoi(argv[1]);
  int top = std::atoi(argv[2]);
  int width = std::atoi(argv[3]);
  int height = std::atoi(argv[4]);
  int seconds = argc > 5 ? std::atoi(argv[5]) : 120;
  if (width <= 0 || height <= 0 || seconds <= 0) return 2;
  g_picture = MakePicture(width, height);

  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;
  HWND window =
      CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "Zelvio test picture",
                      WS_POPUP, left, top, width, height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  SetTimer(window, kLifeTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  std::printf("shown: %d,%d %dx%d\n", left, top, width, height);
  std::fflush(stdout);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
