// HookCursor.exe: while this process runs, the screen source draws the mouse cursor into
// the frames. Its window is the only thing the recorder looks for: it finds it by class and
// title and closes it with WM_CLOSE, which ends the process.
#include "common/win32/window_class.h"

#include <windows.h>

namespace {

constexpr const char* kClassName = "TFormHookCursor";
constexpr const char* kTitle = "FormHookCursor";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // WM_CLOSE falls through to DefWindowProc, which destroys the window.
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!zelvio::RegisterPlainClass(instance, kClassName, Procedure)) return 1;
  // Never shown: a top-level window that stays hidden, with no taskbar button. It lives
  // until WM_CLOSE destroys it, which is also the end of this process.
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return 1;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
