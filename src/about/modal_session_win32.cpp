#include "about/modal_session_win32.h"

#include <algorithm>

namespace zelvio {

void CentreOnDesktop(HWND window) {
  // The whole desktop, taskbar included (all monitors together), not the work area.
  RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  desktop.right = desktop.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  desktop.bottom = desktop.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (desktop.right <= desktop.left || desktop.bottom <= desktop.top) {
    desktop = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT frame{};
  GetWindowRect(window, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = desktop.left + (desktop.right - desktop.left - width) / 2;
  int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DisabledThreadWindows::DisabledThreadWindows(HWND modal, HWND owner) : modal_(modal) {
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
  // The owner counts even when hidden, say in the tray: it must not take input meanwhile.
  bool listed = std::find(disabled_.begin(), disabled_.end(), owner) != disabled_.end();
  if (owner && owner != modal && !listed && IsWindowEnabled(owner)) disabled_.push_back(owner);
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

BOOL CALLBACK DisabledThreadWindows::Collect(HWND window, LPARAM self) {
  auto* session = reinterpret_cast<DisabledThreadWindows*>(self);
  if (window == session->modal_) return TRUE;
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  session->disabled_.push_back(window);
  return TRUE;
}

void DisabledThreadWindows::Restore() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabled_.clear();
}

}  // namespace zelvio
