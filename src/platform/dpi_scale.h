// Sizes are designed at 96 dots per inch, the 100 % setting of a Windows display; on a scaled
// display (120, 144, 192 ...) every pixel size grows with the monitor's dots per inch.
#pragma once

namespace zelvio {

inline constexpr int kDesignDpi = 96;

// `value` designed at 96 dpi, in pixels at `dpi`: value * dpi / 96 rounded to the nearest
// pixel, a half away from zero, as Windows' MulDiv rounds. Negative values scale the same way,
// so an offset from a far edge stays an offset. A dpi of 0 or less counts as 96.
int ScaleForDpi(int value, int dpi);

// The height to ask of a font of `points` points at `dpi`: negative, so the font's character
// height (without internal leading) is that many pixels, as point sizes are defined.
int FontHeightForDpi(int points, int dpi);

}  // namespace zelvio
