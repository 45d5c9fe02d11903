// The snapshot file layout, byte for byte: what a bitmap viewer needs to read our files.
#include "platform/bitmap_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zelvio {
namespace {

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

TEST(DibStride, RoundsRowsUpToWholeWords) {
  EXPECT_EQ(DibStride(2, 24), 8u);  // 6 bytes of pixels, 2 of padding
  EXPECT_EQ(DibStride(4, 24), 12u);
  EXPECT_EQ(DibStride(2, 32), 8u);
  EXPECT_EQ(DibStride(1, 1), 4u);
  EXPECT_EQ(DibStride(33, 1), 8u);
  EXPECT_EQ(DibStride(3, 16), 8u);
  EXPECT_EQ(DibStride(864, 32), 3456u);
}

// Top row red, green; bottom row blue, white. Pixels are stored blue, green, red.
TEST(BitmapFile, TwoByTwoTrueColourImageIsExact) {
  BitmapPixels p;
  p.width = 2;
  p.height = 2;
  p.bitsPerPixel = 24;
  p.rows = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xAA, 0xAA,   // top row, padding as GetDIBits left it
            0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xBB, 0xBB};  // bottom row
  const std::vector<uint8_t> expected = {
      'B',  'M',  70,   0,    0,    0,                 // file size
      0,    0,    0,    0,                             // reserved
      54,   0,    0,    0,                             // offset of the pixels
      40,   0,    0,    0,                             // BITMAPINFOHEADER size
      2,    0,    0,    0,                             // width
      2,    0,    0,    0,                             // height, positive: bottom-up
      1,    0,                                         // planes
      24,   0,                                         // bits per pixel
      0,    0,    0,    0,                             // BI_RGB
      16,   0,    0,    0,                             // image bytes
      0,    0,    0,    0,    0,    0,    0,    0,     // resolution
      0,    0,    0,    0,                             // colours used
      0,    0,    0,    0,                             // colours important
      0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xBB, 0xBB,  // bottom row first
      0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xAA, 0xAA,
  };
  EXPECT_EQ(BuildBitmapFile(p), expected);
}

TEST(BitmapFile, ThirtyTwoBitRowsNeedNoPaddingAndComeBottomUp) {
  BitmapPixels p;
  p.width = 1;
  p.height = 3;
  p.bitsPerPixel = 32;
  p.rows = {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0};
  std::vector<uint8_t> file = BuildBitmapFile(p);
  ASSERT_EQ(file.size(), 54u + 12u);
  EXPECT_EQ(Read32(file, 2), 66u);
  EXPECT_EQ(Read16(file, 28), 32);
  EXPECT_EQ(Read32(file, 30), 0u);
  EXPECT_EQ(Read32(file, 34), 12u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()),
            (std::vector<uint8_t>{3, 3, 3, 0, 2, 2, 2, 0, 1, 1, 1, 0}));
}

TEST(BitmapFile, SixteenBitDisplayCarriesItsMasks) {
  BitmapPixels p;
  p.width = 2;
  p.height = 1;
  p.bitsPerPixel = 16;
  p.colourMasks = {0xF800, 0x07E0, 0x001F};
  p.rows = {0x1F, 0x00, 0x00, 0xF8};
  std::vector<uint8_t> file = BuildBitmapFile(p);
  ASSERT_EQ(file.size(), 14u + 40u + 12u + 4u);
  EXPECT_EQ(Read32(file, 10), 66u);  // pixels start after the three masks
  EXPECT_EQ(Read32(file, 30), 3u);   // BI_BITFIELDS
  EXPECT_EQ(Read32(file, 46), 0u);   // masks are no colour table
  EXPECT_EQ(Read32(file, 54), 0xF800u);
  EXPECT_EQ(Read32(file, 58), 0x07E0u);
  EXPECT_EQ(Read32(file, 62), 0x001Fu);
  EXPECT_EQ(Read32(file, 66), 0xF800001Fu);
}

TEST(BitmapFile, PalettedDisplayCarriesItsColourTable) {
  BitmapPixels p;
  p.width = 2;
  p.height = 2;
  p.bitsPerPixel = 1;
  p.palette = {0x000000, 0xFFFFFF};
  p.rows = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
  std::vector<uint8_t> file = BuildBitmapFile(p);
  ASSERT_EQ(file.size(), 54u + 8u + 8u);
  EXPECT_EQ(Read32(file, 10), 62u);
  EXPECT_EQ(Read16(file, 28), 1);
  EXPECT_EQ(Read32(file, 46), 2u);  // colours used
  EXPECT_EQ(Read32(file, 54), 0x000000u);
  EXPECT_EQ(Read32(file, 58), 0xFFFFFFu);
  EXPECT_EQ(file[62], 0x40);  // bottom row first
  EXPECT_EQ(file[66], 0x80);
}

TEST(BitmapFile, RejectsPixelsThatDoNotMatchTheHeader) {
  BitmapPixels p;
  p.width = 2;
  p.height = 2;
  p.bitsPerPixel = 24;
  p.rows.assign(12, 0);  // unpadded rows: 6 bytes each instead of 8
  EXPECT_THROW(BuildBitmapFile(p), BitmapFormatError);

  p.rows.assign(16, 0);
  p.colourMasks = {0xFF0000, 0x00FF00, 0x0000FF};  // masks make no sense at 24 bits
  EXPECT_THROW(BuildBitmapFile(p), BitmapFormatError);

  p.colourMasks.clear();
  p.width = 0;
  EXPECT_THROW(BuildBitmapFile(p), BitmapFormatError);

  BitmapPixels paletted;
  paletted.width = 1;
  paletted.height = 1;
  paletted.bitsPerPixel = 1;
  paletted.palette = {0, 1, 2};  // three colours cannot be told apart with one bit
  paletted.rows.assign(4, 0);
  EXPECT_THROW(BuildBitmapFile(paletted), BitmapFormatError);
}

}  // namespace
}  // namespace zelvio
