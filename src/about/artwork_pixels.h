// The about window's pictures are painted with plain GDI, which neither smooths edges nor
// keeps an alpha channel. Painting each picture larger, once on black and once on white,
// and shrinking it here gives both: the difference between the two backgrounds is how much
// of each pixel the picture covers.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zelvio {

// Pixels are 32-bit 0xAARRGGBB values, rows top to bottom, as a 32-bit DIB section holds
// them. `onBlack` and `onWhite` are the same picture painted at `scale` times the size
// width x height. The result is width x height pixels with premultiplied alpha, ready for
// AlphaBlend; empty when the inputs do not have the size the arguments say.
std::vector<uint32_t> CoverageFromBlackAndWhite(std::span<const uint32_t> onBlack,
                                                std::span<const uint32_t> onWhite, int width, int height,
                                                int scale);

}  // namespace zelvio
