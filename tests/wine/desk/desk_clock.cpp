// zdesk clock LEFT TOP [PERIOD_MS]: a window at that screen position showing the machine
// clock as a barcode (lib/barcode.h), for the recording tests: the performance counter in
// milliseconds, modulo 1 000 000 (so whole seconds stay multiples of 1000), as 20 bits,
// redrawn on every new millisecond or, with a period, once every PERIOD_MS milliseconds
// (the recording benchmark's clock: two frames grabbed a slot apart must differ). The test audio
// device clicks where the same counter passes a whole second, so a recording shows both
// sides of one clock. Prints "clock window <handle> at LEFT,TOP"; stays until closed.
#include <windows.h>
#include <mmsystem.h>

#include "barcode.h"
#include "desk.h"

namespace zdesk {

namespace {

constexpr int kBarX = 8;                    // the bar's place inside the window
constexpr int kBarY = 8;
constexpr char kClassName[] = "ZelvioClockWindow";

HWND g_window = nullptr;
long long g_shown = -1;
long long g_period = 1;

// Redraws once per period; messages are handled between draws.
void ShowClock() {
  long long ms = ClockMs();
  if (g_shown >= 0 && ms / g_period == g_shown / g_period) return;
  g_shown = ms;
  ztest::DrawBarcode(g_window, kBarX, kBarY, kClockShape, static_cast<unsigned>(ms % kClockModulo));
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

long long ClockMs() {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return now.QuadPart / frequency.QuadPart * 1000 +
         now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart;
}

int RunClock(const Args& args) {
  const ScreenRect rect{IntArg(args, 0, 0), IntArg(args, 1, 0),
                        2 * kClockShape.bits * kClockShape.blockWidth + 2 * kBarX,
                        kClockShape.blockHeight + 2 * kBarY};
  g_period = IntArg(args, 2, 1) > 0 ? IntArg(args, 2, 1) : 1;
  if (!RegisterWindowClass(kClassName, Procedure)) return 1;
  g_window = CreatePopup(kClassName, "ZelvioClock", WS_EX_TOPMOST | WS_EX_TOOLWINDOW, rect);
  if (!g_window) return 1;
  ShowWindow(g_window, SW_SHOW);
  PrintLine("clock window %p at %d,%d", static_cast<void*>(g_window), rect.left, rect.top);
  timeBeginPeriod(1);
  RunMessageLoop(ShowClock);
  timeEndPeriod(1);
  return 0;
}

}  // namespace zdesk
