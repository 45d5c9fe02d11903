#include <gtest/gtest.h>

#include "pushsource/core/pushsource_target.h"

namespace ps = zelvio::pushsource;

TEST(PushSourceCaption, ReadsTheRateAfterTheMarker) {
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@25"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@5"), 5);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@30"), 30);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@1000"), 1000);
}

TEST(PushSourceCaption, MalformedCaptionsFallBackTo25) {
  EXPECT_EQ(ps::RateFromCaption(""), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@abc"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@10fps"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@-10"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@ 10"), 25);
  EXPECT_EQ(ps::RateFromCaption("formmaincapturer@10"), 25);
  EXPECT_EQ(ps::RateFromCaption("XFormMainCapturer@10"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@0"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@1001"), 25);
  EXPECT_EQ(ps::RateFromCaption("FormMainCapturer@99999999999999999999"), 25);
}

TEST(PushSourceRegion, OverlayRectangleShrinksByEight) {
  // The 864 x 480 preset centred on 1920 x 1080: the overlay stands at 520,292 - 1400,788.
  ps::Rect region = ps::RegionFromOverlay({520, 292, 1400, 788});
  EXPECT_EQ(region.left, 528);
  EXPECT_EQ(region.top, 300);
  EXPECT_EQ(region.Width(), 864);
  EXPECT_EQ(region.Height(), 480);
}

TEST(PushSourceRegion, RegionsBeyondTheScreenKeepTheirSigns) {
  ps::Rect region = ps::RegionFromOverlay({-108, -68, 2028, 1148});
  EXPECT_EQ(region.left, -100);
  EXPECT_EQ(region.top, -60);
  EXPECT_EQ(region.Width(), 2120);
  EXPECT_EQ(region.Height(), 1200);
}

TEST(PushSourceRegion, NothingLeftInsideTheBorderIsEmpty) {
  EXPECT_TRUE(ps::RegionFromOverlay({0, 0, 16, 100}).Empty());
  EXPECT_TRUE(ps::RegionFromOverlay({0, 0, 100, 16}).Empty());
  EXPECT_TRUE(ps::RegionFromOverlay({0, 0, 0, 0}).Empty());
  EXPECT_FALSE(ps::RegionFromOverlay({0, 0, 17, 17}).Empty());
}

TEST(PushSourceTarget, OverlayGivesRegionAndRate) {
  ps::Rect screen{0, 0, 1920, 1080};
  ps::OverlayWindow overlay{{92, 92, 748, 468}, "FormMainCapturer@10"};
  ps::CaptureTarget target = ps::ChooseTarget(overlay, screen);
  EXPECT_EQ(target.area.left, 100);
  EXPECT_EQ(target.area.top, 100);
  EXPECT_EQ(target.area.Width(), 640);
  EXPECT_EQ(target.area.Height(), 360);
  EXPECT_EQ(target.fps, 10);
}

TEST(PushSourceTarget, NoOverlayOrEmptyRegionMeansWholeScreenAt25) {
  ps::Rect screen{0, 0, 1920, 1080};
  ps::CaptureTarget none = ps::ChooseTarget(std::nullopt, screen);
  EXPECT_EQ(none.area.Width(), 1920);
  EXPECT_EQ(none.area.Height(), 1080);
  EXPECT_EQ(none.fps, 25);

  ps::OverlayWindow tiny{{50, 50, 60, 60}, "FormMainCapturer@5"};
  ps::CaptureTarget fallback = ps::ChooseTarget(tiny, screen);
  EXPECT_EQ(fallback.area.left, 0);
  EXPECT_EQ(fallback.area.Width(), 1920);
  EXPECT_EQ(fallback.fps, 25);
}
