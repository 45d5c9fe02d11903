// The known picture of the snapshot tests: every pixel's colour follows from its place in
// the picture alone, and no two pixels within 2048 x 1280 share a colour, so a copy that is
// shifted, cut or framed differs somewhere. check_bitmap.py computes the same.
#pragma once

#include <cstdint>

namespace helpers {

// 0x00RRGGBB of the pixel at (x, y), counted from the picture's top-left corner: red runs
// along x and green along y, and each 256 x 256 block has a blue of its own.
inline uint32_t TestPictureColour(int x, int y) {
  uint32_t red = static_cast<uint32_t>(x) & 0xFF;
  uint32_t green = static_cast<uint32_t>(y) & 0xFF;
  uint32_t blue = (17 + 5 * static_cast<uint32_t>(x >> 8) + 41 * static_cast<uint32_t>(y >> 8)) & 0xFF;
  return (red << 16) | (green << 8) | blue;
}

}  // namespace helpers
