// hotkey_helper try <key>...        for each key: may another program take it as a hotkey?
//                                   Prints "<key>: free" or "<key>: taken"
//                                   and gives a free key straight back.
// hotkey_helper hold <key> [seconds] takes the key as a hotkey without modifier, prints
//                                   "registered: 1" or "registered: 0", and keeps it (with a
//                                   window of class ZelvioTestHotkeyHolder to wait for) until
//                                   the time is up (default 120 s) or the window is closed.
// Keys are named as in the recorder's lists: "A".."Z", "F1".."F12", for "try" optionally
// with one modifier in front: "CTRL+A", "ALT+F3", "SHIFT+K", "WIN+P".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char kHolderClass[] = "ZelvioTestHotkeyHolder";
constexpr int kFirstProbeId = 0x100;
constexpr int kHoldId = 1;
constexpr UINT_PTR kLifeTimer = 1;

// 0 for a name that is not a key.
UINT KeyCode(const std::string& name) {
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<UINT>(name[0]);
  if (name.size() >= 2 && name[0] == 'F') {
    int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 12) return static_cast<UINT>(VK_F1 + number - 1);
  }
  return 0;
}

struct Modifier {
  const char* prefix;
  UINT flag;
};

const Modifier kModifiers[] = {
    {"ALT+", MOD_ALT}, {"CTRL+", MOD_CONTROL}, {"SHIFT+", MOD_SHIFT}, {"WIN+", MOD_WIN}};

// Splits "CTRL+A" into its modifier flag and key name.
UINT TakeModifier(std::string* name) {
  for (const Modifier& modifier : kModifiers) {
    std::string prefix = modifier.prefix;
    if (name->compare(0, prefix.size(), prefix) != 0) continue;
    name->erase(0, prefix.size());
    return modifier.flag;
  }
  return 0;
}

int Try(int count, char** names) {
  int id = kFirstProbeId;
  for (int i = 0; i < count; ++i, ++id) {
    std::string name = names[i];
    UINT modifiers = TakeModifier(&name);
    UINT key = KeyCode(name);
    if (key == 0) {
      std::printf("%s: unknown\n", names[i]);
      continue;
    }
    bool free = RegisterHotKey(nullptr, id, modifiers, key) != FALSE;
    if (free) UnregisterHotKey(nullptr, id);
    std::printf("%s: %s\n", names[i], free ? "free" : "taken");
  }
  std::fflush(stdout);
  return 0;
}

LRESULT CALLBACK HolderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kLifeTimer) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int Hold(const char* name, int seconds) {
  UINT key = KeyCode(name);
  if (key == 0 || seconds <= 0) return 2;
  bool registered = RegisterHotKey(nullptr, kHoldId, 0, key) != FALSE;
  std::printf("registered: %d\n", registered ? 1 : 0);
  std::fflush(stdout);
  if (!registered) return 1;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = HolderProcedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHolderClass;
  RegisterClassA(&wc);
  // Never shown: it only tells the test that the key is held.
  HWND window = CreateWindowExA(0, kHolderClass, name, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (window == nullptr) return 1;
  SetTimer(window, kLifeTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  UnregisterHotKey(nullptr, kHoldId);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "try" && argc > 2) return Try(argc - 2, argv + 2);
  if (mode == "hold" && argc > 2) return Hold(argv[2], argc > 3 ? std::atoi(argv[3]) : 120);
  std::printf("usage: hotkey_helper try <key>... | hold <key> [seconds]\n");
  return 2;
}
