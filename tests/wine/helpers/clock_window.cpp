// A window that shows the machine clock as a barcode, for the recording tests: the
// performance counter in milliseconds, modulo 1 000 000 (so whole seconds stay multiples of
// 1000), as 20 bits from the most significant, then the same 20 bits inverted (a grab that
// caught the bar half redrawn fails the complement). The test audio device clicks where the
// same counter passes a whole second, so a recording shows both sides of one clock.
// Usage: clock_window LEFT TOP   (screen position of the window; it stays until closed)
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "clock_barcode.h"

namespace {

const char kClass[] = "ZelvioClockWindow";

long long ClockMs() {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return now.QuadPart / frequency.QuadPart * 1000 +
         now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart;
}

// The whole bar goes to the screen in one BitBlt, so a grab rarely sees a mix.
void DrawClock(HWND hwnd, unsigned value) {
  using namespace helpers;
  const int width = 2 * kClockBits * kClockBlockWidth;
  HDC dc = GetDC(hwnd);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, width, kClockBlockHeight);
  HGDIOBJ old = SelectObject(mem, bmp);
  for (int i = 0; i < 2 * kClockBits; ++i) {
    RECT r{i * kClockBlockWidth, 0, (i + 1) * kClockBlockWidth, kClockBlockHeight};
    bool dark = ClockBlockIsDark(value, i);
    FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(dark ? BLACK_BRUSH : WHITE_BRUSH)));
  }
  BitBlt(dc, kClockBarX, kClockBarY, width, kClockBlockHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(hwnd, dc);
}

LRESULT CALLBACK ClockProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: clock_window LEFT TOP\n");
    return 2;
  }
  const int left = std::atoi(argv[1]);
  const int top = std::atoi(argv[2]);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ClockProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  if (!RegisterClassA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, "ZelvioClock", WS_POPUP | WS_VISIBLE,
                              left, top, helpers::kClockWindowWidth, helpers::kClockWindowHeight, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  std::printf("clock window %p at %d,%d\n", static_cast<void*>(hwnd), left, top);
  std::fflush(stdout);
  // Redraw on every new millisecond; messages are handled between draws.
  timeBeginPeriod(1);
  long long shown = -1;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        timeEndPeriod(1);
        return 0;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    long long ms = ClockMs();
    if (ms != shown) {
      shown = ms;
      DrawClock(hwnd, static_cast<unsigned>(ms % helpers::kClockModulo));
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}
