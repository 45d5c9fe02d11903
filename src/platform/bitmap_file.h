// The bytes of a Windows bitmap file (.bmp): file header, BITMAPINFOHEADER, colour masks
// or colour table, then the pixel rows bottom-up, each padded to four bytes. Kept apart
// from the screen grab so the layout is checked byte for byte without a screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/errors.h"

namespace zelvio {

struct BitmapPixels {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // 1, 4, 8, 16, 24 or 32
  // Red, green and blue masks. Given (three of them) for 16 and 32 bits per pixel, the file
  // says BI_BITFIELDS and carries them after the header; empty means plain BI_RGB.
  std::vector<uint32_t> colourMasks;
  // 0x00RRGGBB entries, as RGBQUAD stores them; for 8 bits per pixel and less.
  std::vector<uint32_t> palette;
  // Top-down rows, each DibStride(width, bitsPerPixel) bytes long, as GetDIBits hands them
  // over for a negative height.
  std::vector<uint8_t> rows;
};

// Bytes in one DIB row: the pixels rounded up to whole 32-bit words.
size_t DibStride(int width, int bitsPerPixel);

// Pixels that no bitmap file can hold: no area, a depth or masks the format does not have,
// rows that do not match the size.
struct BitmapFormatError : ZelvioError {
  using ZelvioError::ZelvioError;
};

// The complete file. Throws BitmapFormatError when the rows do not match the size.
std::vector<uint8_t> BuildBitmapFile(const BitmapPixels& pixels);

}  // namespace zelvio
