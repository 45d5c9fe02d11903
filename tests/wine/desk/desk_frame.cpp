// frame: a stand-in for the overlay program that only listens. It owns a window of the
// overlay's class and caption, takes the region of every "Create" command as its window
// rectangle (so the recorder finds the region where the real frame would show it) and prints
// one line per command it receives, in the order they arrive:
//   command: <text> box: <1 when a dialog box of another program is on the screen, else 0>
// A check on the real frame's pixels only sees what was painted, and a paint may come late;
// these lines say what the recorder sent and what was already on the screen at that moment.
#include <cstdint>
#include <optional>
#include <string>

#include "common/overlay_command.h"
#include "desk.h"

namespace zdesk {

namespace {

constexpr int kDefaultSeconds = 600;

BOOL CALLBACK FindForeignBox(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (std::string(className) == "#32770" && IsWindowVisible(window) && process != GetCurrentProcessId()) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool ForeignBoxShown() {
  bool found = false;
  EnumWindows(FindForeignBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool OnCommand(HWND window, const COPYDATASTRUCT* data) {
  if (data == nullptr || data->lpData == nullptr) return false;
  const auto* bytes = static_cast<const uint8_t*>(data->lpData);
  std::optional<zelvio::OverlayCommand> command = zelvio::ParseOverlayCommand(bytes, data->cbData);
  if (!command) return false;
  std::string text(reinterpret_cast<const char*>(bytes), data->cbData);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  PrintLine("command: %s box: %d", text.c_str(), ForeignBoxShown() ? 1 : 0);
  if (command->kind == zelvio::OverlayCommandKind::Create) {
    const int border = zelvio::kOverlayBorder;
    SetWindowPos(window, nullptr, command->left - border, command->top - border, command->width + 2 * border,
                 command->height + 2 * border, SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (command->kind == zelvio::OverlayCommandKind::Close) DestroyWindow(window);
  return true;
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) return OnCommand(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
  return DeskProcedure(window, message, wParam, lParam);
}

}  // namespace

int RunFrame(const Args& args) {
  HBRUSH grey = reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  if (!RegisterWindowClass(zelvio::kOverlayWindowClass, FrameProcedure, grey)) return 1;
  HWND window = CreatePopup(zelvio::kOverlayWindowClass, zelvio::kOverlayCaption,
                            WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, {0, 0, 16, 16});
  if (!window) return 1;
  // Shown, as the real frame is: the tests find windows that are on the screen.
  ShowWindow(window, SW_SHOWNOACTIVATE);
  CloseAfter(window, IntArg(args, 0, kDefaultSeconds));
  PrintLine("ready");
  return RunMessageLoop();
}

}  // namespace zdesk
