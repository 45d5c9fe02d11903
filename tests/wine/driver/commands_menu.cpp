// popup-menu [close]: whether a popup menu (a window of class "#32768") is open, as the
// tray icon's right click opens one, and with "close" Escape to close it again and wait
// until it is gone. Its items cannot be read from another process under Wine.
#include <windows.h>

#include <string>

#include "commands_desktop.h"
#include "output.h"

namespace zdriver {

namespace {

constexpr const char* kPopupMenuClass = "#32768";
constexpr DWORD kCloseWaitMs = 5000;
constexpr DWORD kPollMs = 50;

HWND OpenMenuWindow() {
  HWND window = FindWindowA(kPopupMenuClass, nullptr);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

}  // namespace

int PopupMenuCommand(const Args& args) {
  std::string action = ArgOr(args, 0, "");
  if (!action.empty() && action != "close") return Fail("the only action is close");
  HWND window = OpenMenuWindow();
  if (window == nullptr) return Fail("no popup menu open");
  RECT rect = {};
  GetWindowRect(window, &rect);
  PrintField("rect", std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                         std::to_string(rect.right) + "," + std::to_string(rect.bottom));
  PrintField("pid", static_cast<long long>([&] {
               DWORD pid = 0;
               GetWindowThreadProcessId(window, &pid);
               return pid;
             }()));
  if (action.empty()) return 0;
  // The menu's own loop reads the key, as if the user pressed Escape.
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  DWORD start = GetTickCount();
  while (OpenMenuWindow() != nullptr) {
    if (GetTickCount() - start >= kCloseWaitMs) return Fail("the menu stayed open");
    Sleep(kPollMs);
  }
  PrintFlag("closed", true);
  return 0;
}

}  // namespace zdriver
