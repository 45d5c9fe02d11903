#include "about/artwork_pixels.h"

#include <algorithm>
#include <cstddef>

namespace zelvio {

namespace {

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// Sums of one output pixel's block: the colour as painted on black is the colour already
// multiplied by its coverage; white minus black is what the background still shows.
struct BlockSums {
  int premultiplied[3] = {0, 0, 0};
  int coverage = 0;
};

BlockSums SumBlock(std::span<const uint32_t> onBlack, std::span<const uint32_t> onWhite, int bigWidth, int x0,
                   int y0, int scale) {
  BlockSums sums;
  for (int y = y0; y < y0 + scale; ++y) {
    for (int x = x0; x < x0 + scale; ++x) {
      size_t at = static_cast<size_t>(y) * bigWidth + x;
      for (int c = 0; c < 3; ++c) {
        int black = Channel(onBlack[at], 8 * c);
        int white = Channel(onWhite[at], 8 * c);
        sums.premultiplied[c] += black;
        sums.coverage += std::clamp(255 - (white - black), 0, 255);
      }
    }
  }
  return sums;
}

uint32_t PixelOf(const BlockSums& sums, int samples) {
  int alpha = (sums.coverage + 3 * samples / 2) / (3 * samples);
  uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
  for (int c = 0; c < 3; ++c) {
    int value = std::min((sums.premultiplied[c] + samples / 2) / samples, alpha);
    pixel |= static_cast<uint32_t>(value) << (8 * c);
  }
  return pixel;
}

}  // namespace

std::vector<uint32_t> CoverageFromBlackAndWhite(std::span<const uint32_t> onBlack,
                                                std::span<const uint32_t> onWhite, int width, int height,
                                                int scale) {
  if (width <= 0 || height <= 0 || scale <= 0) return {};
  size_t bigCount = static_cast<size_t>(width) * scale * height * scale;
  if (onBlack.size() != bigCount || onWhite.size() != bigCount) return {};
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      BlockSums sums = SumBlock(onBlack, onWhite, width * scale, x * scale, y * scale, scale);
      pixels.push_back(PixelOf(sums, scale * scale));
    }
  }
  return pixels;
}

}  // namespace zelvio
