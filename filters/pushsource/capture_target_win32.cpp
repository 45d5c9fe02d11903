#include "capture_target_win32.h"

#include <windows.h>

namespace zelvio::pushsource {

CaptureTarget ReadCaptureTarget() {
  Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND overlay = FindWindowA(zelvio::kOverlayWindowClass, nullptr);
  RECT r;
  if (!overlay || !GetWindowRect(overlay, &r)) return ChooseTarget(std::nullopt, screen);
  char caption[256] = {};
  GetWindowTextA(overlay, caption, sizeof(caption));
  OverlayWindow window{{r.left, r.top, r.right, r.bottom}, caption};
  return ChooseTarget(window, screen);
}

}  // namespace zelvio::pushsource
