// Commands on a top-level window's state: its styles, place and shown state, and the
// colour of a screen pixel (what the overlay's frame shows, say).
#include <windows.h>

#include <cstdio>
#include <string>

#include "commands_desktop.h"
#include "message_boxes.h"
#include "output.h"
#include "screen_pixel.h"
#include "windows_find.h"

namespace zdriver {

namespace {

std::string Hex(unsigned long value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "0x%lx", value);
  return buffer;
}

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom);
}

// The style bits the tests ask about get a line of their own, so a shell test compares a
// flag instead of doing bit arithmetic on a hex text.
void PrintState(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
  PrintField("caption", WindowText(window));
  PrintField("rect", RectText(rect));
  PrintFlag("visible", IsWindowVisible(window) != FALSE);
  PrintFlag("enabled", IsWindowEnabled(window) != FALSE);
  PrintFlag("iconic", IsIconic(window) != FALSE);
  PrintField("style", Hex(style));
  PrintField("exstyle", Hex(exStyle));
  PrintFlag("toolwindow", (exStyle & WS_EX_TOOLWINDOW) != 0);
  PrintFlag("layered", (exStyle & WS_EX_LAYERED) != 0);
  PrintFlag("appwindow", (exStyle & WS_EX_APPWINDOW) != 0);
  PrintField("pid", static_cast<long long>(ProcessOf(window)));
  HWND owner = GetWindow(window, GW_OWNER);
  PrintField("owner", owner ? ClassOf(owner) + " \"" + WindowText(owner) + "\"" : std::string("none"));
}

struct ShowName {
  const char* name;
  int command;
};

const ShowName kShowNames[] = {
    {"minimize", SW_MINIMIZE}, {"restore", SW_RESTORE}, {"hide", SW_HIDE}, {"show", SW_SHOW}};

}  // namespace

// window-exstyle <class> [title|-]
int WindowExStyleCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], ArgOr(args, 1, ""));
  if (window == nullptr) return Fail("no window of class " + args[0]);
  PrintState(window);
  return 0;
}

// move-main <x> <y>: moves the main window as a user's drag would, keeping its size.
int MoveMainCommand(const Args& args) {
  long long x = 0;
  long long y = 0;
  if (!ParseInt(args[0], &x) || !ParseInt(args[1], &y)) return Fail("bad position");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!SetWindowPos(main, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    return Fail("SetWindowPos failed (error " + std::to_string(GetLastError()) + ")");
  }
  RECT rect = {};
  GetWindowRect(main, &rect);
  PrintField("rect", RectText(rect));
  return 0;
}

// show-main <minimize|restore|hide|show>: asynchronous, because the program's reaction to
// a minimise may open a message box and a synchronous call would wait behind it.
int ShowMainCommand(const Args& args) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  // Minimise is the window's minimise box; restore is a click on the taskbar button, which
  // belongs to the window that owns the main window when there is one.
  HWND owner = GetWindow(main, GW_OWNER);
  if (args[0] == "minimize" || (args[0] == "restore" && owner != nullptr)) {
    HWND target = args[0] == "minimize" ? main : owner;
    WPARAM command = args[0] == "minimize" ? SC_MINIMIZE : SC_RESTORE;
    if (!PostMessageA(target, WM_SYSCOMMAND, command, 0)) return Fail("could not post WM_SYSCOMMAND");
    PrintField("posted", args[0]);
    return 0;
  }
  for (const ShowName& show : kShowNames) {
    if (args[0] != show.name) continue;
    if (!ShowWindowAsync(main, show.command)) {
      // The result is the previous visibility, so only an error code means failure.
      if (GetLastError() != ERROR_SUCCESS) return Fail("ShowWindowAsync failed");
    }
    PrintField("posted", args[0]);
    return 0;
  }
  return Fail("unknown show command " + args[0]);
}

// show-window <class> <hide|show>: hides another program's top-level window, or shows it
// again without taking the focus, e.g. a window that stands in front of one to photograph.
int ShowWindowCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], "");
  if (window == nullptr) return Fail("no window of class " + args[0]);
  int command = args[1] == "hide" ? SW_HIDE : args[1] == "show" ? SW_SHOWNA : -1;
  if (command < 0) return Fail("unknown show command " + args[1]);
  ShowWindowAsync(window, command);
  PrintField("posted", args[1]);
  return 0;
}

// post-close <class> [title|-]: what the window's close button does.
int PostCloseCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], ArgOr(args, 1, ""));
  if (window == nullptr) return Fail("no window of class " + args[0]);
  if (!PostMessageA(window, WM_CLOSE, 0, 0)) return Fail("could not post WM_CLOSE");
  PrintField("posted", "WM_CLOSE");
  return 0;
}

// pixel <x> <y>: the screen's colour there as RRGGBB.
int PixelCommand(const Args& args) {
  long long x = 0;
  long long y = 0;
  if (!ParseInt(args[0], &x) || !ParseInt(args[1], &y)) return Fail("bad position");
  COLORREF colour = ztest::ScreenPixel(static_cast<int>(x), static_cast<int>(y));
  if (colour == CLR_INVALID) return Fail("the pixel could not be read");
  PrintField("color", ztest::ColorText(colour));
  return 0;
}

// flash-or-box <hotkey id> <x> <y> <colour> [timeout_ms]: posts the hotkey to the main
// window, then watches the screen pixel and the program's message boxes and says which came
// first: the pixel turning that colour ("flash") or a box ("box"). The box, if any, is left
// open. A flash lasts a tenth of a second, so the watch starts with the post, the pixel is
// read in a tight loop and a box is looked for only every few reads.
int FlashOrBoxCommand(const Args& args) {
  long long id = 0;
  long long x = 0;
  long long y = 0;
  if (!ParseInt(args[0], &id)) return Fail("bad hotkey id");
  if (!ParseInt(args[1], &x) || !ParseInt(args[2], &y)) return Fail("bad position");
  const std::string& flash = args[3];
  long long timeout = TimeoutArg(args, 4, 10000);
  if (timeout < 0) return Fail("bad timeout");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!PostMessageA(main, WM_HOTKEY, static_cast<WPARAM>(id), 0)) return Fail("could not post WM_HOTKEY");
  const DWORD start = GetTickCount();
  for (unsigned round = 0; GetTickCount() - start < static_cast<DWORD>(timeout); ++round) {
    COLORREF colour = ztest::ScreenPixel(static_cast<int>(x), static_cast<int>(y));
    if (ztest::ColorText(colour) == flash) {
      PrintField("first", "flash");
      PrintField("after_ms", static_cast<long long>(GetTickCount() - start));
      return 0;
    }
    if (round % 8 == 0 && WaitForMessageBox(0).window != nullptr) {
      PrintField("first", "box");
      PrintField("after_ms", static_cast<long long>(GetTickCount() - start));
      return 0;
    }
  }
  return Fail("neither a flash nor a box came");
}

}  // namespace zdriver
