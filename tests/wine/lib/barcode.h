// A number drawn as a row of black and white blocks, for windows inside a recorded region:
// the value's bits from the most significant, then the same bits inverted, so a grab that
// caught the bar half redrawn fails the complement. zdesk's clock and graphtest's counter
// draw it; lib/check_av_sync.py and graphtest/check_avi.py read it back from the frames.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"

namespace ztest {

struct BarcodeShape {
  int bits;
  int blockWidth;
  int blockHeight;
};

// Block i of the bar (0 .. 2 * bits - 1).
inline bool BarcodeBlockIsDark(const BarcodeShape& shape, unsigned value, int i) {
  int bit = i < shape.bits ? shape.bits - 1 - i : 2 * shape.bits - 1 - i;
  bool set = ((value >> bit) & 1u) != 0;
  return i < shape.bits ? set : !set;
}

// The whole bar goes to the window in one BitBlt, so a grab rarely sees a mix.
inline void DrawBarcode(HWND window, int x, int y, const BarcodeShape& shape, unsigned value) {
  const int width = 2 * shape.bits * shape.blockWidth;
  zelvio::WindowDc dc(window);
  zelvio::UniqueMemoryDc memory(CreateCompatibleDC(dc.Get()));
  zelvio::UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), width, shape.blockHeight));
  if (!memory || !bitmap) return;
  zelvio::SelectedObject selected(memory.get(), bitmap.get());
  for (int i = 0; i < 2 * shape.bits; ++i) {
    RECT block{i * shape.blockWidth, 0, (i + 1) * shape.blockWidth, shape.blockHeight};
    bool dark = BarcodeBlockIsDark(shape, value, i);
    FillRect(memory.get(), &block, static_cast<HBRUSH>(GetStockObject(dark ? BLACK_BRUSH : WHITE_BRUSH)));
  }
  BitBlt(dc.Get(), x, y, width, shape.blockHeight, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace ztest
