// The capture region's arithmetic: preset sizes and anchors.
#pragma once

namespace zelvio {

struct RegionSize {
  int width = 0;
  int height = 0;
};

// The size a preset list position stands for; 0 x 0 outside 0..23.
RegionSize PresetDimension(int index);

// Half of `a`, rounded to the nearest integer with halves going to the even neighbour.
int CentreOffset(int a);

enum class Anchor {
  TopLeft,
  TopCenter,
  TopRight,
  CenterLeft,
  Center,
  CenterRight,
  BottomLeft,
  BottomCenter,
  BottomRight
};

struct RegionOrigin {
  int left = 0;
  int top = 0;
};

RegionOrigin AnchorOrigin(Anchor anchor, int screenWidth, int screenHeight, int width, int height);

}  // namespace zelvio
