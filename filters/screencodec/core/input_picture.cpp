#include "screencodec/core/input_picture.h"

namespace zelvio::screencodec {

namespace {

constexpr uint32_t kBiRgb = 0;
// Larger than any screen; keeps every size computation far from overflow.
constexpr int32_t kMaxSide = 32768;

const uint8_t* StoredRow(const InputLayout& layout, const uint8_t* data, int rowFromTop) {
  int stored = layout.bottomUp ? layout.height - 1 - rowFromTop : rowFromTop;
  return data + static_cast<std::ptrdiff_t>(stored) * layout.stride;
}

void Rgb24Row(const uint8_t* in, uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, in += 3, out += 4) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
    out[3] = 0;
  }
}

// 5 bits widened to 8 the usual way (the top bits repeated below), so white stays white.
uint8_t Widen5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }

void Rgb555Row(const uint8_t* in, uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, in += 2, out += 4) {
    unsigned pixel = in[0] | (in[1] << 8);
    out[0] = Widen5(pixel & 0x1F);
    out[1] = Widen5((pixel >> 5) & 0x1F);
    out[2] = Widen5((pixel >> 10) & 0x1F);
    out[3] = 0;
  }
}

}  // namespace

std::optional<InputLayout> DescribeInput(uint32_t compression, int bitCount, int32_t width, int32_t height) {
  if (compression != kBiRgb) return std::nullopt;
  if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
    return std::nullopt;
  InputLayout layout;
  switch (bitCount) {
    case 32:
      layout.pixels = InputPixels::Rgb32;
      break;
    case 24:
      layout.pixels = InputPixels::Rgb24;
      break;
    case 16:
      layout.pixels = InputPixels::Rgb555;
      break;
    default:
      return std::nullopt;
  }
  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.bottomUp = height > 0;
  layout.stride = ((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4;
  layout.imageSize = layout.stride * layout.height;
  return layout;
}

TopDownRows ToTopDownRgb32(const InputLayout& layout, const uint8_t* data, std::vector<uint8_t>& scratch) {
  if (layout.pixels == InputPixels::Rgb32) {
    const uint8_t* top = StoredRow(layout, data, 0);
    return {top, static_cast<std::ptrdiff_t>(layout.bottomUp ? -layout.stride : layout.stride)};
  }
  const size_t outStride = static_cast<size_t>(layout.width) * 4;
  scratch.resize(outStride * static_cast<size_t>(layout.height));
  for (int y = 0; y < layout.height; ++y) {
    const uint8_t* in = StoredRow(layout, data, y);
    uint8_t* out = scratch.data() + static_cast<size_t>(y) * outStride;
    if (layout.pixels == InputPixels::Rgb24) {
      Rgb24Row(in, out, layout.width);
    } else {
      Rgb555Row(in, out, layout.width);
    }
  }
  return {scratch.data(), static_cast<std::ptrdiff_t>(outStride)};
}

}  // namespace zelvio::screencodec
