#include "overlay/backdrop_window.h"

#include "common/win32/handles.h"
#include "common/win32/window_class.h"
#include "common/win32/window_object.h"

// The backdrop is shown once, at start, and switched on and off through its window shape
// rather than by showing and hiding it. Showing a window stacks it above all others on
// some systems whatever its z-order says (Wine on X maps it on top and never lowers it),
// and the backdrop must never cover an application; a new shape never restacks it.

namespace {

RECT VirtualScreen() {
  RECT rect;
  rect.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  rect.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  rect.right = rect.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  rect.bottom = rect.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return rect;
}

// Explorer's desktop is itself a full-screen window at the very bottom; beneath it the
// backdrop would be hidden, so when such a window shows, the backdrop sits just above it.
HWND BottomSlot(HWND self) {
  HWND shell = GetShellWindow();
  if (shell == nullptr || shell == self || !IsWindowVisible(shell)) return HWND_BOTTOM;
  HWND above = GetWindow(shell, GW_HWNDPREV);
  if (above == nullptr) return HWND_BOTTOM;
  if (above == self) return GetWindow(self, GW_HWNDPREV);
  return above;
}

void KeepAtBottom(WINDOWPOS* pos) {
  pos->flags |= SWP_NOACTIVATE;
  pos->flags &= ~SWP_NOZORDER;
  pos->hwndInsertAfter = BottomSlot(pos->hwnd);
  if (pos->hwndInsertAfter == nullptr) pos->flags |= SWP_NOZORDER;
}

void FitToScreen(HWND window) {
  RECT screen = VirtualScreen();
  SetWindowPos(window, HWND_BOTTOM, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOACTIVATE);
}

void SetEmptyShape(HWND window) {
  zelvio::UniqueRegion empty(CreateRectRgn(0, 0, 0, 0));
  if (!empty) return;
  // On success the system owns the region.
  if (SetWindowRgn(window, empty.get(), TRUE)) (void)empty.release();
}

}  // namespace

bool BackdropWindow::Create(HINSTANCE instance) {
  if (!zelvio::RegisterPlainClass(instance, kBackdropClassName, zelvio::ObjectWindowProc<BackdropWindow>))
    return false;
  // No owner: an owned window would be kept above its owner, the topmost frame.
  RECT screen = VirtualScreen();
  HWND window = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kBackdropClassName, "", WS_POPUP,
                                screen.left, screen.top, screen.right - screen.left,
                                screen.bottom - screen.top, nullptr, nullptr, instance, this);
  if (window == nullptr) return false;
  window_.reset(window);
  SetEmptyShape(window);
  SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

void BackdropWindow::Show(COLORREF color) {
  if (!window_) return;
  color_ = color;
  HWND window = window_.get();
  FitToScreen(window);
  SetWindowRgn(window, nullptr, TRUE);
  InvalidateRect(window, nullptr, TRUE);
}

void BackdropWindow::Hide() {
  if (window_) SetEmptyShape(window_.get());
}

LRESULT BackdropWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
      KeepAtBottom(reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      FitToScreen(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_NCDESTROY:
      // The holder may be the one destroying us; either way the handle is gone now.
      (void)window_.release();
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void BackdropWindow::Paint(HWND window) const {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  zelvio::FillWithColor(dc, paint.rcPaint, color_);
  EndPaint(window, &paint);
}
