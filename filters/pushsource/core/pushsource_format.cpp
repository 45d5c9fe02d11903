#include "pushsource/core/pushsource_format.h"

#include "pushsource/core/pushsource_pacing.h"

namespace zelvio::pushsource {

int BitCountOf(PixelFormat pixels) {
  switch (pixels) {
    case PixelFormat::Rgb32:
      return 32;
    case PixelFormat::Rgb24:
      return 24;
    case PixelFormat::Rgb555:
      return 16;
  }
  return 32;
}

int64_t StrideFor(int width, int bitCount) {
  int64_t bits = static_cast<int64_t>(width) * bitCount;
  return (bits + 31) / 32 * 4;
}

VideoFormat DescribeFormat(PixelFormat pixels, int width, int height, int fps) {
  VideoFormat f;
  f.pixels = pixels;
  f.width = width;
  f.height = height;
  f.bitCount = BitCountOf(pixels);
  f.stride = StrideFor(width, f.bitCount);
  f.imageSize = f.stride * height;
  f.avgTimePerFrame = FrameTimeForRate(fps);
  f.bitRate = f.imageSize * 8 * (fps < 1 ? 1 : fps);
  return f;
}

}  // namespace zelvio::pushsource
