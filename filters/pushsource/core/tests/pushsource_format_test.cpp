#include <gtest/gtest.h>

#include "pushsource/core/pushsource_format.h"

namespace ps = zelvio::pushsource;

TEST(PushSourceFormat, RowsArePaddedToFourBytes) {
  EXPECT_EQ(ps::StrideFor(864, 32), 3456);
  EXPECT_EQ(ps::StrideFor(864, 24), 2592);
  EXPECT_EQ(ps::StrideFor(641, 24), 1924);  // 1923 bytes of pixels
  EXPECT_EQ(ps::StrideFor(641, 16), 1284);  // 1282 bytes of pixels
  EXPECT_EQ(ps::StrideFor(1, 24), 4);
  EXPECT_EQ(ps::StrideFor(1, 16), 4);
  EXPECT_EQ(ps::StrideFor(2, 16), 4);
}

TEST(PushSourceFormat, OffersRgb32First) {
  ASSERT_EQ(ps::kOfferedFormats.size(), 3u);
  EXPECT_EQ(ps::kOfferedFormats[0], ps::PixelFormat::Rgb32);
  EXPECT_EQ(ps::kOfferedFormats[1], ps::PixelFormat::Rgb24);
  EXPECT_EQ(ps::kOfferedFormats[2], ps::PixelFormat::Rgb555);
}

TEST(PushSourceFormat, DescribesFullHdRgb32At30) {
  ps::VideoFormat f = ps::DescribeFormat(ps::PixelFormat::Rgb32, 1920, 1080, 30);
  EXPECT_EQ(f.bitCount, 32);
  EXPECT_EQ(f.stride, 7680);
  EXPECT_EQ(f.imageSize, 7680 * 1080);
  EXPECT_EQ(f.avgTimePerFrame, 333'333);
  EXPECT_EQ(f.bitRate, int64_t{7680} * 1080 * 8 * 30);
  EXPECT_EQ(f.height, 1080);  // positive: bottom-up
}

TEST(PushSourceFormat, OddWidthsGetPaddedImageSizes) {
  ps::VideoFormat rgb24 = ps::DescribeFormat(ps::PixelFormat::Rgb24, 641, 3, 25);
  EXPECT_EQ(rgb24.bitCount, 24);
  EXPECT_EQ(rgb24.imageSize, 1924 * 3);
  EXPECT_EQ(rgb24.avgTimePerFrame, 400'000);

  ps::VideoFormat rgb555 = ps::DescribeFormat(ps::PixelFormat::Rgb555, 641, 3, 5);
  EXPECT_EQ(rgb555.bitCount, 16);
  EXPECT_EQ(rgb555.imageSize, 1284 * 3);
  EXPECT_EQ(rgb555.avgTimePerFrame, 2'000'000);
}
