// One pixel of what the screen shows, read from outside any program: the driver's "pixel"
// command and the companions probe both check colours this way.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace ztest {

// The pixel as 0x00BBGGRR (like RGB()), or CLR_INVALID.
inline COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return CLR_INVALID;
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// "RRGGBB", the way the tests write colours.
inline std::string ColorText(COLORREF colour) {
  if (colour == CLR_INVALID) return "invalid";
  char text[8];
  std::snprintf(text, sizeof(text), "%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

}  // namespace ztest
