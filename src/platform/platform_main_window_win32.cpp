// The main window: its placement and state, its taskbar button, and bringing it back and to
// the front, which hiding to the tray and coming back from it ask of it.
#include "platform/platform_win32.h"

namespace zelvio {

namespace {

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

WindowPlacement Win32MainWindow::GetPlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(program_.main, &wp);
  WindowPlacement p;
  p.flags = static_cast<int>(wp.flags);
  p.showCmd = static_cast<int>(wp.showCmd);
  p.minX = wp.ptMinPosition.x;
  p.minY = wp.ptMinPosition.y;
  p.maxX = wp.ptMaxPosition.x;
  p.maxY = wp.ptMaxPosition.y;
  p.normal = FromRECT(wp.rcNormalPosition);
  return p;
}

void Win32MainWindow::SetPlacement(const WindowPlacement& p) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  wp.flags = static_cast<UINT>(p.flags);
  wp.showCmd = static_cast<UINT>(p.showCmd);
  wp.ptMinPosition = POINT{p.minX, p.minY};
  wp.ptMaxPosition = POINT{p.maxX, p.maxY};
  wp.rcNormalPosition = ToRECT(p.normal);
  SetWindowPlacement(program_.main, &wp);
}

bool Win32MainWindow::MainWindowVisible() { return IsWindowVisible(program_.main) != FALSE; }

bool Win32MainWindow::ProgramMinimized() { return IsIconic(program_.ButtonWindow()) != FALSE; }

void Win32MainWindow::SetMainWindowMaximized(bool maximized) {
  // Before the first showing the state is only remembered: ShowWindow would show the
  // window ahead of its show steps.
  if (!IsWindowVisible(program_.main)) {
    pendingMaximized_ = maximized;
    return;
  }
  if (maximized == (IsZoomed(program_.main) != FALSE)) return;
  ShowWindow(program_.main, maximized ? SW_MAXIMIZE : SW_RESTORE);
}

void Win32MainWindow::PostMinimize() { PostMessageA(program_.ButtonWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void Win32MainWindow::SetTaskbarButton(bool show) {
  const HWND main = program_.main;
  const HWND application = program_.application;
  if (!application) {
    // The main window carries the taskbar button itself, so while it sits in the tray it
    // stays hidden rather than shown again as a minimised tool window.
    ShowWindow(main, SW_HIDE);
    if (show) {
      SetWindowLongA(main, GWL_EXSTYLE, 0);
      ShowWindow(main, SW_SHOW);
      return;
    }
    SetWindowLongA(main, GWL_EXSTYLE, GetWindowLongA(main, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    return;
  }
  // The application window has no area, so showing it again shows nothing but its button,
  // and a tool window has none.
  ShowWindow(application, SW_HIDE);
  if (show) {
    SetWindowLongA(application, GWL_EXSTYLE, 0);
  } else {
    SetWindowLongA(application, GWL_EXSTYLE, GetWindowLongA(application, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  }
  ShowWindow(application, show ? SW_SHOW : SW_SHOWMINNOACTIVE);
}

void Win32MainWindow::RestoreMainWindow() {
  const HWND main = program_.main;
  const HWND application = program_.application;
  if (application) {
    if (IsIconic(application)) ShowWindow(application, SW_RESTORE);
    ShowWindow(main, SW_SHOW);
    SetFocus(main);
    return;
  }
  ShowWindow(main, SW_RESTORE);
  SetFocus(main);
}

void Win32MainWindow::BringProgramToFront() {
  const HWND main = program_.main;
  const HWND application = program_.application;
  HWND popup = GetLastActivePopup(program_.ButtonWindow());
  if (popup && popup != main && popup != application && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
    SetForegroundWindow(popup);
    return;
  }
  SetForegroundWindow(main);
}

void Win32MainWindow::CloseMainWindow() { PostMessageA(program_.main, WM_CLOSE, 0, 0); }

}  // namespace zelvio
