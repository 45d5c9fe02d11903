// Where each control of the main window sits: the places of the control table resolved
// in their containers.
//
// On a scaled display every number of a place grows with the dots per inch (ScaledPlace)
// and is then resolved in the container as it is at that scale.
#pragma once

#include "ui/control_table.h"

namespace zelvio {

// Edges in pixels, right and bottom exclusive, as a Win32 RECT has them.
struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const LayoutRect&) const = default;
};

// The place with every distance grown to `dpi`.
ControlPlace ScaledPlace(const ControlPlace& place, int dpi);

// The control's rectangle in main-window client coordinates, given its container's
// content rectangle in the same coordinates.
LayoutRect ResolvePlace(const ControlPlace& place, const LayoutRect& container);

}  // namespace zelvio
