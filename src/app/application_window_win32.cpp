#include "app/application_window_win32.h"
#include "common/win32/window_object.h"

namespace zelvio {

namespace {

constexpr char kWindowClass[] = "TApplication";

bool RegisterApplicationClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  // The taskbar button shows the program's icon.
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance, const char* title) {
  RegisterApplicationClass(instance, Procedure);
  // Shown but without area: it has a taskbar button and never a visible pixel.
  int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  window_ = CreateWindowExA(0, kWindowClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                            0, 0, nullptr, nullptr, instance, this);
}

ApplicationWindow::~ApplicationWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

void ApplicationWindow::Minimize() {
  if (IsIconic(window_)) return;
  if (main_) ShowWindow(main_, SW_HIDE);
  ShowWindow(window_, SW_MINIMIZE);
  if (OnMinimize) OnMinimize();
}

void ApplicationWindow::Restore() {
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  if (!main_) return;
  ShowWindow(main_, SW_SHOW);
  SetForegroundWindow(main_);
}

LRESULT CALLBACK ApplicationWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<ApplicationWindow>(window, message, lParam);
  if (self && message == WM_NCCREATE) self->window_ = window;
  if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT ApplicationWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_SYSCOMMAND:
      // The taskbar button's clicks and its window menu.
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
        case SC_CLOSE:
          if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
          return 0;
      }
      break;
    case WM_CLOSE:
      if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
      return 0;
    case WM_SETFOCUS: {
      // Activated through its button or Alt+Tab: the focus goes on to the window the user
      // worked in last (the main window, or the about window while that is open).
      HWND last = GetLastActivePopup(window);
      if (last && last != window && IsWindowVisible(last) && IsWindowEnabled(last)) SetFocus(last);
      return 0;
    }
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The main window runs the close path, once, whichever window hears of it first.
      if (main_) SendMessageA(main_, WM_ENDSESSION, wParam, lParam);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zelvio
