// Commands on top-level windows: waiting for them, reading them, closing the main window
// and posting hotkeys to it or pressing them on the keyboard.
#include <windows.h>

#include <string>

#include "commands.h"
#include "control_type.h"
#include "key_names.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr long long kDefaultTimeoutMs = 10000;

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom);
}

void PrintWindow(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  PrintField("caption", WindowText(window));
  PrintField("rect", RectText(rect));
  PrintFlag("visible", IsWindowVisible(window) != FALSE);
  PrintField("pid", static_cast<long long>(ProcessOf(window)));
}

}  // namespace

int WaitWindowCommand(const Args& args) {
  long long timeout = TimeoutArg(args, 2, kDefaultTimeoutMs);
  if (timeout < 0) return Fail("bad time-out");
  DWORD start = GetTickCount();
  HWND window = WaitForTopLevel(args[0], ArgOr(args, 1, ""), static_cast<DWORD>(timeout));
  if (window == nullptr) return Fail("no window of class " + args[0] + " within the time-out");
  PrintField("waited_ms", static_cast<long long>(GetTickCount() - start));
  PrintWindow(window);
  return 0;
}

int WindowInfoCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], ArgOr(args, 1, ""));
  if (window == nullptr) return Fail("no window of class " + args[0]);
  PrintWindow(window);
  return 0;
}

int WaitGoneCommand(const Args& args) {
  long long timeout = TimeoutArg(args, 2, kDefaultTimeoutMs);
  if (timeout < 0) return Fail("bad time-out");
  DWORD start = GetTickCount();
  if (!WaitForTopLevelGone(args[0], ArgOr(args, 1, ""), static_cast<DWORD>(timeout))) {
    return Fail("window of class " + args[0] + " still there after the time-out");
  }
  PrintField("waited_ms", static_cast<long long>(GetTickCount() - start));
  return 0;
}

// Posted, not sent: the close steps may open message boxes, and the caller must be free to
// answer them.
int CloseMainCommand(const Args&) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!PostMessageA(main, WM_CLOSE, 0, 0)) return Fail("could not post WM_CLOSE");
  PrintField("posted", "WM_CLOSE");
  return 0;
}

// Keys pressed on a bare X server do not reach RegisterHotKey, so the hotkey message is
// posted directly; it runs the same handler.
int HotkeyCommand(const Args& args) {
  long long id = 0;
  if (!ParseInt(args[0], &id)) return Fail("bad hotkey id");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  if (!PostMessageA(main, WM_HOTKEY, static_cast<WPARAM>(id), 0)) {
    return Fail("could not post WM_HOTKEY");
  }
  PrintField("posted", "WM_HOTKEY " + args[0]);
  return 0;
}

// hotkey-sequence <id|w<ms>>...: each id is sent as WM_HOTKEY and handled before the next
// step ("w400" waits 400 ms), so a whole Record, Stop, Record fits in one second, as a
// user's quick F1, F5, F1 does; one driver start per key would not.
int HotkeySequenceCommand(const Args& args) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  for (const std::string& step : args) {
    long long value = 0;
    if (!step.empty() && step[0] == 'w') {
      if (!ParseInt(step.substr(1), &value) || value < 0) return Fail("bad wait " + step);
      Sleep(static_cast<DWORD>(value));
      continue;
    }
    if (!ParseInt(step, &value)) return Fail("bad hotkey id " + step);
    if (!SendWithin(main, WM_HOTKEY, static_cast<WPARAM>(value), 0, 10000, nullptr)) {
      return Fail("WM_HOTKEY " + step + " was not handled");
    }
  }
  PrintField("sent", std::to_string(args.size()) + " steps");
  return 0;
}

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

// press-keys <[MOD+]KEY>...: each hotkey pressed on the keyboard as a user presses it,
// through the system's input queue (SendInput): the modifier held down around the key.
int PressKeysCommand(const Args& args) {
  for (const std::string& given : args) {
    const ztest::HotkeyName name = ztest::ParseHotkeyName(given);
    if (name.key == 0) return Fail("unknown key " + given);
    INPUT inputs[4];
    UINT count = 0;
    if (name.modifierKey != 0) inputs[count++] = KeyInput(name.modifierKey, false);
    inputs[count++] = KeyInput(static_cast<WORD>(name.key), false);
    inputs[count++] = KeyInput(static_cast<WORD>(name.key), true);
    if (name.modifierKey != 0) inputs[count++] = KeyInput(name.modifierKey, true);
    if (SendInput(count, inputs, sizeof(INPUT)) != count) {
      return Fail("SendInput refused " + given + ", error " + std::to_string(GetLastError()));
    }
  }
  PrintField("pressed", std::to_string(args.size()) + " keys");
  return 0;
}

}  // namespace zdriver
