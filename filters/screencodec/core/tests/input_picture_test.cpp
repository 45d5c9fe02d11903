#include "screencodec/core/input_picture.h"

#include <gtest/gtest.h>

namespace zelvio::screencodec {
namespace {

uint32_t PixelAt(const TopDownRows& rows, int x, int y) {
  const uint8_t* p = rows.top + static_cast<std::ptrdiff_t>(y) * rows.stride + x * 4;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

TEST(InputPicture, TakesOnlyUncompressedRgbOfSaneSize) {
  EXPECT_TRUE(DescribeInput(0, 32, 1920, 1080));
  EXPECT_TRUE(DescribeInput(0, 24, 17, -9));
  EXPECT_TRUE(DescribeInput(0, 16, 1, 1));
  EXPECT_FALSE(DescribeInput(0, 8, 640, 480));
  EXPECT_FALSE(DescribeInput(3 /*bit fields*/, 16, 640, 480));
  EXPECT_FALSE(DescribeInput(0x56424D5A, 32, 640, 480));
  EXPECT_FALSE(DescribeInput(0, 32, 0, 480));
  EXPECT_FALSE(DescribeInput(0, 32, 640, 0));
  EXPECT_FALSE(DescribeInput(0, 32, 100000, 10));
}

TEST(InputPicture, RowsArePaddedToFourBytes) {
  auto rgb24 = DescribeInput(0, 24, 17, 9);
  ASSERT_TRUE(rgb24);
  EXPECT_EQ(rgb24->stride, 52);  // 51 bytes of pixels
  EXPECT_EQ(rgb24->imageSize, 52 * 9);
  auto rgb555 = DescribeInput(0, 16, 3, -2);
  ASSERT_TRUE(rgb555);
  EXPECT_EQ(rgb555->stride, 8);
  EXPECT_FALSE(rgb555->bottomUp);
  EXPECT_EQ(rgb555->height, 2);
}

TEST(InputPicture, BottomUp32BitIsWalkedInPlaceFromTheTop) {
  auto layout = DescribeInput(0, 32, 2, 3);
  ASSERT_TRUE(layout);
  std::vector<uint8_t> data(24);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  std::vector<uint8_t> scratch;
  TopDownRows rows = ToTopDownRgb32(*layout, data.data(), scratch);
  EXPECT_TRUE(scratch.empty());
  EXPECT_EQ(rows.top, data.data() + 16);  // the last stored row is the top one
  EXPECT_EQ(rows.stride, -8);
  EXPECT_EQ(PixelAt(rows, 1, 2), 0x07060504u);  // bottom row is stored first
}

TEST(InputPicture, TwentyFourBitRowsBecomeTopDownPixelsWithAZeroFourthByte) {
  auto layout = DescribeInput(0, 24, 2, 2);  // stride 8
  ASSERT_TRUE(layout);
  const std::vector<uint8_t> data = {1, 2, 3, 4,  5,  6,  0xEE, 0xEE,   // bottom row
                                     7, 8, 9, 10, 11, 12, 0xEE, 0xEE};  // top row
  std::vector<uint8_t> scratch;
  TopDownRows rows = ToTopDownRgb32(*layout, data.data(), scratch);
  EXPECT_EQ(rows.stride, 8);
  EXPECT_EQ(PixelAt(rows, 0, 0), 0x00090807u);
  EXPECT_EQ(PixelAt(rows, 1, 0), 0x000C0B0Au);
  EXPECT_EQ(PixelAt(rows, 0, 1), 0x00030201u);
  EXPECT_EQ(PixelAt(rows, 1, 1), 0x00060504u);
}

TEST(InputPicture, FifteenBitPixelsWidenSoWhiteStaysWhite) {
  auto layout = DescribeInput(0, 16, 2, -1);  // top-down, stride 4
  ASSERT_TRUE(layout);
  const std::vector<uint8_t> data = {0xFF, 0x7F, 0x1F, 0x00};  // white, pure blue (5 bits)
  std::vector<uint8_t> scratch;
  TopDownRows rows = ToTopDownRgb32(*layout, data.data(), scratch);
  EXPECT_EQ(PixelAt(rows, 0, 0), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(rows, 1, 0), 0x000000FFu);
}

}  // namespace
}  // namespace zelvio::screencodec
