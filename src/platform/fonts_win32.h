// The program's one typeface, at a size in points on the screen's own pixels per inch.
#pragma once

#include <windows.h>

#include "platform/handles_win32.h"

namespace zelvio {

inline UniqueFont TahomaFont(int points, int weight) {
  WindowDc screen(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
  return UniqueFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
}

}  // namespace zelvio
