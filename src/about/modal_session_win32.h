// What makes a window modal without a dialog manager: the rest of the program's windows
// are disabled while it shows, and it sits in the middle of the desktop.
#pragma once

#include <windows.h>

#include <vector>

namespace zelvio {

// Centres the window on the desktop: the screen with the taskbar, not the work area.
void CentreOnDesktop(HWND window);

// Disables the owner and every other visible, enabled top-level window of this thread
// except `modal`; Restore (or the destructor) enables exactly those again.
class DisabledThreadWindows {
 public:
  DisabledThreadWindows(HWND modal, HWND owner);
  ~DisabledThreadWindows() { Restore(); }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

  void Restore();

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self);

  HWND modal_;
  std::vector<HWND> disabled_;
};

}  // namespace zelvio
