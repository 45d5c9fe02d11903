// What is actually on the screen: single pixels read from the desktop, and a canvas window
// of our own in a known colour for the overlay to frame.
#pragma once

#include <windows.h>

#include <string>

#include "screen_pixel.h"

// Polls until the pixel has the colour (drawing reaches the screen a little later than the
// command's reply); returns the last colour seen.
COLORREF WaitForPixel(int x, int y, COLORREF expected, DWORD timeoutMs);

using ztest::ColorText;
using ztest::ScreenPixel;

// A plain, ordinary (not topmost) window filled with one colour that counts the clicks
// it receives.
class Canvas {
 public:
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  bool Create(const RECT& rect, COLORREF color);
  HWND Window() const { return window_; }
  int Clicks() const { return clicks_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  COLORREF color_ = 0;
  int clicks_ = 0;
};
