// Region arithmetic that stored settings and the overlay depend on.
#include <gtest/gtest.h>

#include "region/region_geometry.h"

namespace zelvio {
namespace {

TEST(PresetDimensionTest, KnownAndOutOfRangePositions) {
  EXPECT_EQ(PresetDimension(0).width, 160);
  EXPECT_EQ(PresetDimension(21).width, 864);
  EXPECT_EQ(PresetDimension(21).height, 480);
  // The list reads "648x486" but the size has always been 648 x 468.
  EXPECT_EQ(PresetDimension(14).width, 648);
  EXPECT_EQ(PresetDimension(14).height, 468);
  EXPECT_EQ(PresetDimension(23).height, 1080);
  for (int outside : {-1, 24, 1000}) {
    EXPECT_EQ(PresetDimension(outside).width, 0) << outside;
    EXPECT_EQ(PresetDimension(outside).height, 0) << outside;
  }
}

TEST(CentreOffsetTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CentreOffset(1), 0);
  EXPECT_EQ(CentreOffset(3), 2);
  EXPECT_EQ(CentreOffset(5), 2);
  EXPECT_EQ(CentreOffset(-1), 0);
  EXPECT_EQ(CentreOffset(-3), -2);
  EXPECT_EQ(CentreOffset(1056), 528);
  EXPECT_EQ(CentreOffset(1280 - 101), 590);
  EXPECT_EQ(CentreOffset(1280 - 103), 588);
}

TEST(AnchorOriginTest, AnchorsOnScreensLargerAndSmallerThanTheRegion) {
  auto centre = AnchorOrigin(Anchor::Center, 1920, 1080, 864, 480);
  EXPECT_EQ(centre.left, 528);
  EXPECT_EQ(centre.top, 300);
  auto big = AnchorOrigin(Anchor::Center, 1366, 768, 1920, 1080);
  EXPECT_EQ(big.left, -277);
  EXPECT_EQ(big.top, -156);
  auto corner = AnchorOrigin(Anchor::BottomRight, 1920, 1080, 800, 600);
  EXPECT_EQ(corner.left, 1120);
  EXPECT_EQ(corner.top, 480);
  auto topCentre = AnchorOrigin(Anchor::TopCenter, 1920, 1080, 0, 0);
  EXPECT_EQ(topCentre.left, 960);
  EXPECT_EQ(topCentre.top, 0);
  for (Anchor a : {Anchor::TopLeft, Anchor::Center, Anchor::BottomRight, Anchor::CenterRight}) {
    auto full = AnchorOrigin(a, 1920, 1080, 1920, 1080);
    EXPECT_EQ(full.left, 0);
    EXPECT_EQ(full.top, 0);
  }
}

}  // namespace
}  // namespace zelvio
