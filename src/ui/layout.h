// Where each control of the main window sits, in pixels at 96 dots per inch.
//
// A place is relative to the content area of the control's container: the client area for
// the window itself, the inside of a group box or panel, the page area of a tab control
// for a tab sheet. A width or height of zero or less reaches to that many pixels short of
// the container's far edge, and a negative x keeps that far from the right edge, so a
// control can fill, dock or sit at the right without knowing the exact size of a tab
// page, which depends on the tab row.
//
// On a scaled display every number of a place grows with the dots per inch (ScaledPlace)
// and is then resolved in the container as it is at that scale.
#pragma once

#include <span>
#include <string_view>

namespace zelvio {

enum LayoutFlag : unsigned {
  kLayoutPlain = 0,
  kLayoutTicks = 1,       // track bar with tick marks
  kLayoutWrap = 2,        // label wraps its words
  kLayoutRight = 4,       // label aligned right
  kLayoutCentre = 8,      // label centred
  kLayoutRedText = 16,    // label drawn in red
  kLayoutTabImages = 32,  // tab control with a picture on each tab
};

struct ControlPlace {
  std::string_view name;
  int x;
  int y;
  int width;
  int height;
  unsigned flags;
};

// Edges in pixels, right and bottom exclusive, as a Win32 RECT has them.
struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const LayoutRect&) const = default;
};

// The main window's client area at 96 dpi.
inline constexpr int kMainClientWidth = 393;
inline constexpr int kMainClientHeight = 418;

// Every place, at 96 dpi.
std::span<const ControlPlace> AllPlaces();

// The place of a control at 96 dpi; nullptr for one without a window of its own (timers,
// tab sheets).
const ControlPlace* PlaceOf(std::string_view name);

// The place with every distance grown to `dpi`.
ControlPlace ScaledPlace(const ControlPlace& place, int dpi);

// The control's rectangle in main-window client coordinates, given its container's
// content rectangle in the same coordinates.
LayoutRect ResolvePlace(const ControlPlace& place, const LayoutRect& container);

}  // namespace zelvio
