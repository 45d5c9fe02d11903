// Pixel loops the encoder spends its time in. A source pixel is B, G, R, X; the X byte is
// never looked at: what the encoder keeps and emits has 0 there, so a grabber that leaves
// garbage in X neither makes a still screen look changed nor leaks into the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvio::screencodec {

// True when the `count` pixels at `source` have the colours of the `count` pixels at `kept`
// (X bytes of both ignored).
bool SameColours(const uint8_t* source, const uint8_t* kept, size_t count);

// Number of pixels among `count` whose colours differ, counting stops once it passes `limit`.
size_t CountDifferent(const uint8_t* source, const uint8_t* kept, size_t count, size_t limit);

// Number of colour bytes among `count` pixels that differ (what an XOR leaves non-zero, the
// best cheap guess at what it costs to deflate); counting may stop once it passes `limit`.
size_t CountDifferentBytes(const uint8_t* source, const uint8_t* kept, size_t count, size_t limit);

// dst = source with X = 0.
void CopyColours(uint8_t* dst, const uint8_t* source, size_t count);

// dst = (source with X = 0) XOR kept.
void XorColours(uint8_t* dst, const uint8_t* source, const uint8_t* kept, size_t count);

}  // namespace zelvio::screencodec
