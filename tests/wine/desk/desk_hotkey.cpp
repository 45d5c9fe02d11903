// zdesk hotkey try KEY...          for each key: may another program take it as a hotkey?
//                                  Prints "KEY: free" or "KEY: taken" and gives a free key
//                                  straight back.
// zdesk hotkey hold KEY [SECONDS]  takes the key as a hotkey without modifier, prints
//                                  "registered: 1" or "registered: 0", and keeps it (with a
//                                  window of class ZelvioTestHotkeyHolder to wait for) until
//                                  the time is up (default 120 s) or the window is closed.
// Keys are named as in the recorder's lists: "A".."Z", "F1".."F12", for "try" optionally
// with one modifier in front: "CTRL+A", "ALT+F3", "SHIFT+K", "WIN+P".
#include "desk.h"
#include "key_names.h"

namespace zdesk {

namespace {

constexpr char kHolderClass[] = "ZelvioTestHotkeyHolder";
constexpr int kFirstProbeId = 0x100;
constexpr int kHoldId = 1;

int Try(const Args& names) {
  int id = kFirstProbeId;
  for (const std::string& given : names) {
    const ztest::HotkeyName name = ztest::ParseHotkeyName(given);
    if (name.key == 0) {
      PrintLine("%s: unknown", given.c_str());
      continue;
    }
    bool free = RegisterHotKey(nullptr, id, name.modifier, name.key) != FALSE;
    if (free) UnregisterHotKey(nullptr, id);
    PrintLine("%s: %s", given.c_str(), free ? "free" : "taken");
    ++id;
  }
  return 0;
}

int Hold(const std::string& name, int seconds) {
  UINT key = ztest::KeyCode(name);
  if (key == 0 || seconds <= 0) return 2;
  bool registered = RegisterHotKey(nullptr, kHoldId, 0, key) != FALSE;
  PrintLine("registered: %d", registered ? 1 : 0);
  if (!registered) return 1;
  // Never shown: it only tells the test that the key is held.
  RegisterWindowClass(kHolderClass, DeskProcedure);
  HWND window = CreateWindowExA(0, kHolderClass, name.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  CloseAfter(window, seconds);
  RunMessageLoop();
  UnregisterHotKey(nullptr, kHoldId);
  return 0;
}

}  // namespace

int RunHotkey(const Args& args) {
  Args rest(args.begin() + 1, args.end());
  if (args[0] == "try") return Try(rest);
  if (args[0] == "hold") return Hold(args[1], IntArg(args, 2, 120));
  PrintLine("usage: zdesk hotkey try KEY... | hold KEY [SECONDS]");
  return 2;
}

}  // namespace zdesk
