// zdesk layered [SECONDS]: translucent windows of another program, for the layered-window
// timer. All carry WS_EX_LAYERED (alpha 128) and WS_EX_APPWINDOW:
//   class ZelvioTestLayered, title "Layered visible"    shown, with a title
//   class ZelvioTestLayered, title "Layered minimised"  shown minimised
//   class ZelvioTestLayered, title "Layered hidden"     never shown
//   class ZelvioTestLayeredUntitled, no title           shown, without a title
//   class Button, title "Layered button"                shown: without a taskbar it is the
//                                                       first top-level "Button" window
//   class ZelvioTestLayered, title "Layered period"     shown; whenever its layered bit has
//                                                       been cleared from outside it prints
//                                                       "cleared_ms: <tick count>" and sets
//                                                       the bit again, so the gaps between
//                                                       the lines are the sweep's period
// Prints "shown: 6 windows". They stay until the time is up (default 120 s) or one of ours
// is closed.
#include "desk.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZelvioTestLayered";
constexpr char kUntitledClassName[] = "ZelvioTestLayeredUntitled";
constexpr BYTE kAlpha = 128;
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 10;

HWND g_periodWindow = nullptr;

void MakeLayered(HWND window) {
  LONG style = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, kAlpha, LWA_ALPHA);
}

void WatchPeriodWindow() {
  if ((GetWindowLongA(g_periodWindow, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) return;
  PrintLine("cleared_ms: %lu", GetTickCount());
  MakeLayered(g_periodWindow);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER || wParam != kWatchTimer) return DeskProcedure(window, message, wParam, lParam);
  WatchPeriodWindow();
  return 0;
}

HWND Open(const char* className, const char* title, int left, int showCommand) {
  HWND window = CreateWindowExA(WS_EX_LAYERED | WS_EX_APPWINDOW, className, title, WS_OVERLAPPEDWINDOW, left,
                                600, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  MakeLayered(window);
  if (showCommand != SW_HIDE) ShowWindow(window, showCommand);
  return window;
}

}  // namespace

int RunLayered(const Args& args) {
  int seconds = IntArg(args, 0, 120);
  if (seconds <= 0) return 2;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (!RegisterWindowClass(kClassName, Procedure, background) ||
      !RegisterWindowClass(kUntitledClassName, Procedure, background))
    return 1;
  HWND visible = Open(kClassName, "Layered visible", 50, SW_SHOWNOACTIVATE);
  HWND minimised = Open(kClassName, "Layered minimised", 400, SW_SHOWMINNOACTIVE);
  HWND hidden = Open(kClassName, "Layered hidden", 750, SW_HIDE);
  HWND untitled = Open(kUntitledClassName, "", 1100, SW_SHOWNOACTIVATE);
  g_periodWindow = Open(kClassName, "Layered period", 1450, SW_SHOWNOACTIVATE);
  HWND button = Open("Button", "Layered button", 1450, SW_SHOWNOACTIVATE);
  if (!visible || !minimised || !hidden || !untitled || !g_periodWindow || !button) return 1;
  CloseAfter(visible, seconds);
  SetTimer(g_periodWindow, kWatchTimer, kWatchMs, nullptr);
  PrintLine("shown: 6 windows");
  return RunMessageLoop();
}

}  // namespace zdesk
