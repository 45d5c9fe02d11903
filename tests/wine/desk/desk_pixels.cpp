// RunPixelAnimation (desk.h): the window of zdesk waves and zdesk zoom. Painting happens in
// the message loop's idle step rather than on WM_TIMER: the loop wakes about every
// millisecond, so a frame goes out within a millisecond of its time, where timer messages
// come late and in bunches when the cores are busy.
#include <windows.h>
#include <mmsystem.h>

#include "desk.h"

namespace zdesk {

namespace {

HWND g_window = nullptr;
PixelPainter g_paint = nullptr;
long long g_periodMs = 1;
long long g_startMs = 0;
long long g_shown = -1;
int g_width = 0;
int g_height = 0;
std::vector<uint32_t> g_pixels;

void Blit(HDC dc) {
  if (g_pixels.empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = g_width;
  info.bmiHeader.biHeight = -g_height;  // top-down, as the rows were painted
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, g_width, g_height, 0, 0, 0, g_height, g_pixels.data(), &info, DIB_RGB_COLORS);
}

void ShowFrame() {
  const long long frame = (ClockMs() - g_startMs) / g_periodMs;
  if (frame == g_shown) return;
  g_shown = frame;
  g_pixels.resize(size_t(g_width) * g_height);
  g_paint(frame, g_width, g_height, g_pixels);
  zelvio::WindowDc dc(g_window);
  Blit(dc.Get());
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  Blit(dc);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

int RunPixelAnimation(const char* className, const char* title, const ScreenRect& rect, UINT periodMs,
                      PixelPainter paint) {
  g_paint = paint;
  g_periodMs = periodMs > 0 ? periodMs : 1;
  g_width = rect.width;
  g_height = rect.height;
  if (g_width <= 0 || g_height <= 0 || !RegisterWindowClass(className, Procedure)) return 1;
  g_window = CreatePopup(className, title, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, rect);
  if (!g_window) return 1;
  ShowWindow(g_window, SW_SHOW);
  PrintLine("%s window %p at %d,%d %dx%d", title, static_cast<void*>(g_window), rect.left, rect.top, rect.width,
            rect.height);
  g_startMs = ClockMs();
  timeBeginPeriod(1);
  RunMessageLoop(ShowFrame);
  timeEndPeriod(1);
  return 0;
}

}  // namespace zdesk
