// The plain backdrop behind every other window: with the background option on, the
// recording shows the applications in the region on one colour instead of the desktop.
#pragma once

#include "common/win32/handles.h"

#include <windows.h>

constexpr const char* kBackdropClassName = "TFormZelvioBackdrop";

class BackdropWindow {
 public:
  // Creates the window at the bottom, shown but with an empty shape: nothing of it is
  // on the screen until Show.
  bool Create(HINSTANCE instance);
  // Covers the whole screen in the colour, below every application window.
  void Show(COLORREF color);
  void Hide();
  void Destroy() { window_.reset(); }
  // Its window's messages.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Paint(HWND window) const;

  zelvio::OwnedWindow window_;
  COLORREF color_ = RGB(0, 0, 0);
};
