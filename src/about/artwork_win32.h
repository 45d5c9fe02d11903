// A small picture with smooth edges and real transparency, painted with GDI when the window
// is built instead of being loaded from a file, and drawn with AlphaBlend.
#pragma once

#include <windows.h>

#include <utility>

#include "common/win32/handles.h"

namespace zelvio {

class Artwork {
 public:
  Artwork() = default;
  Artwork(UniqueBitmap bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !bitmap_; }

  // Draws the picture over what the DC already shows, its top left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  UniqueBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

// Paints in a designWidth x designHeight space; the caller maps that space onto the picture.
using ArtworkPainter = void (*)(HDC dc);

// A width x height picture of what `paint` draws. Empty when GDI runs out of resources.
Artwork PaintArtwork(int width, int height, int designWidth, int designHeight, ArtworkPainter paint);

}  // namespace zelvio
