#include "ui/layout.h"

#include "platform/dpi_scale.h"

namespace zelvio {

namespace {

// Zero or less: that far short of the container's far edge.
int Extent(int start, int size, int containerSize) { return size > 0 ? size : containerSize - start + size; }

}  // namespace

ControlPlace ScaledPlace(const ControlPlace& place, int dpi) {
  ControlPlace scaled = place;
  scaled.x = ScaleForDpi(place.x, dpi);
  scaled.y = ScaleForDpi(place.y, dpi);
  scaled.width = ScaleForDpi(place.width, dpi);
  scaled.height = ScaleForDpi(place.height, dpi);
  return scaled;
}

LayoutRect ResolvePlace(const ControlPlace& place, const LayoutRect& container) {
  const int containerWidth = container.right - container.left;
  // A negative x keeps that far from the right edge, with the width as given.
  const int x = place.x >= 0 ? place.x : containerWidth + place.x - place.width;
  int width = Extent(x, place.width, containerWidth);
  int height = Extent(place.y, place.height, container.bottom - container.top);
  LayoutRect r;
  r.left = container.left + x;
  r.top = container.top + place.y;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

}  // namespace zelvio
