// The codec's input as the screen source delivers it: 32, 24 or 16-bit (5-5-5) RGB rows,
// bottom-up or top-down, padded to 4 bytes. The encoder wants 32-bit pixels from the top
// row down; 32-bit input is only walked the other way, the others are converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelvio::screencodec {

enum class InputPixels { Rgb32, Rgb24, Rgb555 };

struct InputLayout {
  InputPixels pixels = InputPixels::Rgb32;
  int width = 0;
  int height = 0;  // rows, always positive
  bool bottomUp = true;
  int64_t stride = 0;  // bytes from one stored row to the next
  int64_t imageSize = 0;
};

// From the bitmap header's fields; none for a picture the codec does not take (another bit
// depth, a compressed or bit-field format, a zero or absurd size).
std::optional<InputLayout> DescribeInput(uint32_t compression, int bitCount, int32_t width, int32_t height);

struct TopDownRows {
  const uint8_t* top = nullptr;  // first byte of the top row
  std::ptrdiff_t stride = 0;     // from a row to the one below it; negative for bottom-up
};

// The rows of `data` (at least layout.imageSize bytes) as 32-bit pixels from the top down,
// converted into `scratch` where needed.
TopDownRows ToTopDownRgb32(const InputLayout& layout, const uint8_t* data, std::vector<uint8_t>& scratch);

}  // namespace zelvio::screencodec
