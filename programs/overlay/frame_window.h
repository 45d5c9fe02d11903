// The overlay's one visible window: an 8-pixel coloured frame around the capture region.
// The recorder finds it by class name, drives it with WM_COPYDATA text commands and reads
// its window rectangle back, so that rectangle is always the region grown by the border.
#pragma once

#include "common/win32/handles.h"
#include "common/overlay_command.h"
#include "overlay/backdrop_window.h"

#include <windows.h>

constexpr const char* kFrameClassName = zelvio::kOverlayWindowClass;
constexpr const char* kFrameInitialCaption = zelvio::kOverlayCaption;
constexpr int kFrameBorder = zelvio::kOverlayBorder;

class FrameWindow {
 public:
  // Creates the window, hidden until the first region arrives.
  bool Create(HINSTANCE instance);
  // Its window's messages.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool OnCopyData(const COPYDATASTRUCT* data);
  void Apply(const zelvio::OverlayCommand& command);
  void OnRegion(const zelvio::OverlayCommand& command);
  void OnColor(const zelvio::OverlayCommand& command);
  void OnFlashOver();
  void ShowColor(COLORREF color);
  void Paint(HWND window) const;

  zelvio::OwnedWindow window_;
  BackdropWindow backdrop_;
  // Green: the recorder starts Stopped. A flash shows shownColor_ for a while and then
  // falls back to stateColor_.
  COLORREF stateColor_ = RGB(0x00, 0xFF, 0x00);
  COLORREF shownColor_ = RGB(0x00, 0xFF, 0x00);
};
