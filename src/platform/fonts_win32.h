// The program's one typeface, at a size in points on the window's dots per inch.
#pragma once

#include <windows.h>

#include "platform/dpi_scale.h"
#include "common/win32/handles.h"

namespace zelvio {

inline UniqueFont TahomaFont(int points, int weight, int dpi) {
  return UniqueFont(CreateFontA(FontHeightForDpi(points, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
}

}  // namespace zelvio
