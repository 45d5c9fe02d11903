// The main window's layout (ui/layout.h) in Win32 rectangles.
#pragma once

#include <windows.h>

#include "ui/layout.h"

namespace zelvio {

inline LayoutRect ToLayoutRect(const RECT& r) { return LayoutRect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The control's rectangle in main-window client coordinates at `dpi`, given its container's
// content rectangle in the same coordinates.
inline RECT ResolvePlace(const ControlPlace& place, const RECT& container, int dpi) {
  return ToRect(ResolvePlace(ScaledPlace(place, dpi), ToLayoutRect(container)));
}

}  // namespace zelvio
