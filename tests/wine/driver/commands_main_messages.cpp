// The messages the notification-area icon and its menu send to the main window, posted
// from outside: a bare X server has no notification area to click in.
#include <windows.h>

#include <string>

#include "commands_desktop.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

// The program's own numbers for its icon's callback message and the icon's identifier.
constexpr UINT kTrayIconMessage = WM_APP + 10;
constexpr WPARAM kTrayIconId = 1;

}  // namespace

// command <id>: a menu command, WM_COMMAND with the item's id and no control.
int MenuCommandCommand(const Args& args) {
  long long id = 0;
  if (!ParseInt(args[0], &id) || id < 0 || id > 0xFFFF) return Fail("bad command id");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!PostMessageA(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0)) {
    return Fail("could not post WM_COMMAND");
  }
  PrintField("posted", "WM_COMMAND " + args[0]);
  return 0;
}

// tray-click <left|right>: the button released on the icon.
int TrayClickCommand(const Args& args) {
  LPARAM mouse = 0;
  if (args[0] == "left") {
    mouse = WM_LBUTTONUP;
  } else if (args[0] == "right") {
    mouse = WM_RBUTTONUP;
  } else {
    return Fail("button must be left or right");
  }
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!PostMessageA(main, kTrayIconMessage, kTrayIconId, mouse)) {
    return Fail("could not post the tray icon message");
  }
  PrintField("posted", "tray " + args[0]);
  return 0;
}

}  // namespace zdriver
