// The uncompressed video formats the screen source offers, over plain numbers; the filter
// turns one into a VIDEOINFOHEADER.
#pragma once
#include <array>
#include <cstdint>

#include "pushsource/core/pushsource_pacing.h"

namespace zelvio::pushsource {

enum class PixelFormat { Rgb32, Rgb24, Rgb555 };

// Best first: 32-bit grabs need no conversion from the screen.
constexpr std::array<PixelFormat, 3> kOfferedFormats = {PixelFormat::Rgb32, PixelFormat::Rgb24,
                                                        PixelFormat::Rgb555};

struct VideoFormat {
  PixelFormat pixels = PixelFormat::Rgb32;
  int width = 0;
  int height = 0;  // positive: bottom-up rows
  int bitCount = 0;
  int64_t stride = 0;  // bytes per row, padded to 4
  int64_t imageSize = 0;
  int64_t avgTimePerFrame = 0;
  int64_t bitRate = 0;  // bits per second
};

int BitCountOf(PixelFormat pixels);
int64_t StrideFor(int width, int bitCount);
VideoFormat DescribeFormat(PixelFormat pixels, int width, int height, int fps);

}  // namespace zelvio::pushsource
