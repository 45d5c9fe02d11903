// The main window's taskbar button, and bringing the window back and to the front: what
// hiding to the tray and coming back from it ask of the window.
#include "platform/platform_win32.h"

namespace zelvio {

void Win32Platform::SetTaskbarButton(bool show) {
  if (!application_) {
    // The main window carries the taskbar button itself, so while it sits in the tray it
    // stays hidden rather than shown again as a minimised tool window.
    ShowWindow(main_, SW_HIDE);
    if (show) {
      SetWindowLongA(main_, GWL_EXSTYLE, 0);
      ShowWindow(main_, SW_SHOW);
      return;
    }
    SetWindowLongA(main_, GWL_EXSTYLE, GetWindowLongA(main_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    return;
  }
  // The application window has no area, so showing it again shows nothing but its button,
  // and a tool window has none.
  ShowWindow(application_, SW_HIDE);
  if (show) {
    SetWindowLongA(application_, GWL_EXSTYLE, 0);
  } else {
    SetWindowLongA(application_, GWL_EXSTYLE, GetWindowLongA(application_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  }
  ShowWindow(application_, show ? SW_SHOW : SW_SHOWMINNOACTIVE);
}

void Win32Platform::RestoreMainWindow() {
  if (application_) {
    if (IsIconic(application_)) ShowWindow(application_, SW_RESTORE);
    ShowWindow(main_, SW_SHOW);
    SetFocus(main_);
    return;
  }
  ShowWindow(main_, SW_RESTORE);
  SetFocus(main_);
}

void Win32Platform::BringProgramToFront() {
  HWND popup = GetLastActivePopup(ButtonWindow());
  if (popup && popup != main_ && popup != application_ && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
    SetForegroundWindow(popup);
    return;
  }
  SetForegroundWindow(main_);
}

void Win32Platform::CloseMainWindow() { PostMessageA(main_, WM_CLOSE, 0, 0); }

}  // namespace zelvio
