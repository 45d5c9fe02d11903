// layered_windows [seconds]: translucent windows of another program, for the
// layered-window timer. All carry WS_EX_LAYERED (alpha 128) and WS_EX_APPWINDOW:
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
// They stay until the time is up (default 120 s) or the first one is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kClass[] = "ZelvioTestLayered";
constexpr char kUntitledClass[] = "ZelvioTestLayeredUntitled";
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_APPWINDOW;
constexpr BYTE kAlpha = 128;
constexpr UINT_PTR kLifeTimer = 1;
constexpr UINT_PTR kWatchTimer = 2;
constexpr UINT kWatchMs = 10;

HWND g_periodWindow = nullptr;

void MakeLayered(HWND window) {
  LONG style = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, kAlpha, LWA_ALPHA);
}

void WatchPeriodWindow() {
  if ((GetWindowLongA(g_periodWindow, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) return;
  std::printf("cleared_ms: %lu\n", GetTickCount());
  std::fflush(stdout);
  MakeLayered(g_periodWindow);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kLifeTimer) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_TIMER && wParam == kWatchTimer) {
    WatchPeriodWindow();
    return 0;
  }
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Register(const char* name) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

HWND Open(const char* className, const char* title, int left, int showCommand) {
  HWND window = CreateWindowExA(kExStyle, className, title, WS_OVERLAPPEDWINDOW, left, 600, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  MakeLayered(window);
  if (showCommand != SW_HIDE) ShowWindow(window, showCommand);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::atoi(argv[1]) : 120;
  if (seconds <= 0) return 2;
  if (!Register(kClass) || !Register(kUntitledClass)) return 1;
  HWND visible = Open(kClass, "Layered visible", 50, SW_SHOWNOACTIVATE);
  HWND minimised = Open(kClass, "Layered minimised", 400, SW_SHOWMINNOACTIVE);
  HWND hidden = Open(kClass, "Layered hidden", 750, SW_HIDE);
  HWND untitled = Open(kUntitledClass, "", 1100, SW_SHOWNOACTIVATE);
  g_periodWindow = Open(kClass, "Layered period", 1450, SW_SHOWNOACTIVATE);
  HWND button = Open("Button", "Layered button", 1450, SW_SHOWNOACTIVATE);
  if (!visible || !minimised || !hidden || !untitled || !g_periodWindow || !button) return 1;
  SetTimer(visible, kLifeTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
  SetTimer(g_periodWindow, kWatchTimer, kWatchMs, nullptr);
  std::printf("shown: 6 windows\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
