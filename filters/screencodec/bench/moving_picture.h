// A picture like a decoded video, for the screen codec's benchmarks: colour waves drifting
// across the frame, soft blobs gliding over them, and a faint grain that differs from frame
// to frame, so every pixel changes every frame while the picture stays smooth (a film, not
// noise). The same function paints the synthetic clip (synthetic_screens.h) and the window of
// the grabbed corpus (zdesk waves), so both measure the same kind of picture.
// Portable and deterministic: the same time, seed and size give the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvio::screencodec::bench {

// Paints the picture at `seconds` into width x height pixels of 0x00RRGGBB (B, G, R, X in
// memory), rows `stride` pixels apart, top row first. `grain` seeds the frame's grain: give
// each frame its own.
void PaintMovingPicture(double seconds, uint32_t grain, int width, int height, uint32_t* pixels,
                        std::ptrdiff_t stride);

}  // namespace zelvio::screencodec::bench
