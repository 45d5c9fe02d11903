#include "platform/bitmap_file.h"

namespace zelvio {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool ValidDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

void Check(const BitmapPixels& p) {
  if (p.width <= 0 || p.height <= 0) throw BitmapFormatError("bitmap without area");
  if (!ValidDepth(p.bitsPerPixel)) throw BitmapFormatError("unsupported colour depth");
  if (!p.colourMasks.empty() && p.colourMasks.size() != 3)
    throw BitmapFormatError("three masks expected");
  if (!p.colourMasks.empty() && p.bitsPerPixel != 16 && p.bitsPerPixel != 32) {
    throw BitmapFormatError("masks only go with 16 or 32 bits per pixel");
  }
  size_t tableLimit = p.bitsPerPixel <= 8 ? size_t{1} << p.bitsPerPixel : 0;
  if (p.palette.size() > tableLimit) throw BitmapFormatError("colour table does not fit the depth");
  if (p.rows.size() != DibStride(p.width, p.bitsPerPixel) * static_cast<size_t>(p.height)) {
    throw BitmapFormatError("pixel rows do not match the bitmap size");
  }
}

}  // namespace

size_t DibStride(int width, int bitsPerPixel) {
  size_t bits = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel);
  return (bits + 31) / 32 * 4;
}

std::vector<uint8_t> BuildBitmapFile(const BitmapPixels& p) {
  Check(p);
  const bool bitfields = !p.colourMasks.empty();
  const uint32_t tableBytes = bitfields ? 12 : static_cast<uint32_t>(p.palette.size() * 4);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + tableBytes;
  const uint32_t imageBytes = static_cast<uint32_t>(p.rows.size());

  std::vector<uint8_t> out;
  out.reserve(offset + imageBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);
  // BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(p.width));
  Put32(out, static_cast<uint32_t>(p.height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(p.bitsPerPixel));
  Put32(out, bitfields ? kBiBitfields : kBiRgb);
  Put32(out, imageBytes);
  Put32(out, 0);  // no resolution recorded
  Put32(out, 0);
  Put32(out, bitfields ? 0 : static_cast<uint32_t>(p.palette.size()));
  Put32(out, 0);
  for (uint32_t mask : p.colourMasks) Put32(out, mask);
  for (uint32_t entry : p.palette) Put32(out, entry & 0x00FFFFFF);

  const size_t stride = DibStride(p.width, p.bitsPerPixel);
  for (int row = p.height - 1; row >= 0; --row) {
    auto first = p.rows.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(row));
    out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(stride));
  }
  return out;
}

}  // namespace zelvio
