// bare: the yardstick of the start-up benchmark. A program that does nothing but register a
// class, create one ordinary top-level window and show it, so the time until that window is
// visible is what any Wine program pays before its first window, measured in the same run.
#include "desk.h"

namespace zdesk {

namespace {

constexpr char kBareClass[] = "ZDeskBare";
constexpr int kDefaultSeconds = 60;

}  // namespace

int RunBare(const Args& args) {
  if (!RegisterWindowClass(kBareClass, DeskProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return 1;
  HWND window =
      CreateWindowExA(0, kBareClass, "Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                      480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  CloseAfter(window, IntArg(args, 0, kDefaultSeconds));
  return RunMessageLoop();
}

}  // namespace zdesk
