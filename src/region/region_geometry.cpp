#include "region/region_geometry.h"

#include <array>
#include <cstddef>

namespace zelvio {

RegionSize PresetDimension(int index) {
  // Position 14 reads "648x486" in the list but has always produced 648 x 468; stored
  // settings and users' habits rely on that size, so it stays.
  static const std::array<RegionSize, 24> sizes = {{
      {160, 120}, {176, 132}, {176, 144}, {240, 180}, {320, 240}, {352, 240}, {352, 288},  {400, 320},
      {480, 480}, {480, 576}, {624, 488}, {640, 360}, {640, 480}, {640, 512}, {648, 468},  {672, 488},
      {704, 480}, {704, 576}, {720, 480}, {720, 576}, {800, 600}, {864, 480}, {1280, 720}, {1920, 1080},
  }};
  if (index < 0 || index >= static_cast<int>(sizes.size())) return {};
  return sizes[static_cast<size_t>(index)];
}

int CentreOffset(int a) {
  // a / 2 is exact or ends in .5; a .5 goes to the even neighbour.
  int half = a / 2;  // truncated towards zero
  if (a % 2 == 0) return half;
  int away = a > 0 ? half + 1 : half - 1;
  return (half % 2 == 0) ? half : away;
}

RegionOrigin AnchorOrigin(Anchor anchor, int sw, int sh, int w, int h) {
  int centreX = CentreOffset(sw - w);
  int centreY = CentreOffset(sh - h);
  switch (anchor) {
    case Anchor::TopLeft:
      return {0, 0};
    case Anchor::TopCenter:
      return {centreX, 0};
    case Anchor::TopRight:
      return {sw - w, 0};
    case Anchor::CenterLeft:
      return {0, centreY};
    case Anchor::Center:
      return {centreX, centreY};
    case Anchor::CenterRight:
      return {sw - w, centreY};
    case Anchor::BottomLeft:
      return {0, sh - h};
    case Anchor::BottomCenter:
      return {centreX, sh - h};
    case Anchor::BottomRight:
      return {sw - w, sh - h};
  }
  return {};
}

}  // namespace zelvio
