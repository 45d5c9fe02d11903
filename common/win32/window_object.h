// Windows whose messages go to a C++ object: the object is CreateWindowEx's last argument,
// kept in the window's user data from WM_NCCREATE on.
#pragma once

#include <windows.h>

namespace zelvio {

// The object the window was created for; null for the few messages before WM_NCCREATE.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A window procedure for a class whose object answers Handle(window, message, wParam, lParam).
template <typename T>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  T* self = WindowObject<T>(window, message, lParam);
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

}  // namespace zelvio
