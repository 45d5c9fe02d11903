#include "capture_target_win32.h"

#include <windows.h>

namespace pushsource {

namespace ps = zelvio::pushsource;

ps::CaptureTarget ReadCaptureTarget() {
  ps::Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND overlay = FindWindowA(zelvio::kOverlayWindowClass, nullptr);
  RECT r;
  if (!overlay || !GetWindowRect(overlay, &r)) return ps::ChooseTarget(std::nullopt, screen);
  char caption[256] = {};
  GetWindowTextA(overlay, caption, sizeof(caption));
  ps::OverlayWindow window{{r.left, r.top, r.right, r.bottom}, caption};
  return ps::ChooseTarget(window, screen);
}

}  // namespace pushsource
