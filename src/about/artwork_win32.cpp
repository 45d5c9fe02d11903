#include "about/artwork_win32.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "about/artwork_pixels.h"

namespace zelvio {

namespace {

// Each picture pixel is painted as a 4 x 4 block and then averaged.
constexpr int kSupersample = 4;

BITMAPINFO TopDownBgra(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A 32-bit DIB section; `bits` points at its pixels.
UniqueBitmap NewDibSection(int width, int height, uint32_t** bits) {
  BITMAPINFO info = TopDownBgra(width, height);
  void* pixels = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  *bits = static_cast<uint32_t*>(pixels);
  return bitmap;
}

// Paints the design scaled onto a plain background and returns the pixels.
std::vector<uint32_t> PaintOn(COLORREF background, int width, int height, int designWidth, int designHeight,
                              ArtworkPainter paint) {
  uint32_t* bits = nullptr;
  UniqueBitmap bitmap = NewDibSection(width, height, &bits);
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || !bits) return {};
  {
    SelectedObject target(dc.get(), bitmap.get());
    RECT all{0, 0, width, height};
    UniqueBrush fill(CreateSolidBrush(background));
    FillRect(dc.get(), &all, fill.get());
    SetGraphicsMode(dc.get(), GM_ADVANCED);
    XFORM scale{static_cast<FLOAT>(width) / designWidth,   0, 0,
                static_cast<FLOAT>(height) / designHeight, 0, 0};
    SetWorldTransform(dc.get(), &scale);
    SetBkMode(dc.get(), TRANSPARENT);
    SetPolyFillMode(dc.get(), WINDING);
    paint(dc.get());
    GdiFlush();
  }
  return std::vector<uint32_t>(bits, bits + static_cast<size_t>(width) * height);
}

}  // namespace

Artwork PaintArtwork(int width, int height, int designWidth, int designHeight, ArtworkPainter paint) {
  int bigWidth = width * kSupersample;
  int bigHeight = height * kSupersample;
  std::vector<uint32_t> onBlack =
      PaintOn(RGB(0, 0, 0), bigWidth, bigHeight, designWidth, designHeight, paint);
  std::vector<uint32_t> onWhite =
      PaintOn(RGB(255, 255, 255), bigWidth, bigHeight, designWidth, designHeight, paint);
  std::vector<uint32_t> pixels = CoverageFromBlackAndWhite(onBlack, onWhite, width, height, kSupersample);
  if (pixels.empty()) return {};
  uint32_t* bits = nullptr;
  UniqueBitmap bitmap = NewDibSection(width, height, &bits);
  if (!bitmap || !bits) return {};
  std::copy(pixels.begin(), pixels.end(), bits);
  return Artwork(std::move(bitmap), width, height);
}

void Artwork::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  SelectedObject picture(source.get(), bitmap_.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, width_, height_, source.get(), 0, 0, width_, height_, blend);
}

}  // namespace zelvio
