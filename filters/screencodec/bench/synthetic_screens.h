// Screen-like pictures made up on the spot, for measuring the screen codec and for its
// tests: a desktop with a window of text, typing, a page scrolled by lines or by pages,
// a sheet scrolled sideways, a window dragged over a tiled desktop, a region of changing
// pictures, and a whole frame of moving colour like a decoded video (moving_picture.h). Deterministic: the
// same clip, size and frame number give the same pixels.
//
// Frames are 32 bits a pixel (B, G, R, X with X = 0), top row first, rows packed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvio::screencodec::bench {

enum class Clip { Still, Typing, ScrollLines, ScrollPages, ScrollSideways, Drag, Pictures, Movie };

// "still", "typing", "scroll-lines", "scroll-pages", "scroll-sideways", "drag", "pictures",
// "movie" (every pixel changes every frame, at 30 frames a second).
const std::vector<std::string>& ClipNames();
bool ClipFromName(const std::string& name, Clip& clip);

// Pixels per frame each moving clip moves by.
constexpr int kLineHeight = 16;
constexpr int kScrollLinesStep = 3 * kLineHeight;  // a mouse wheel notch
constexpr int kSidewaysStep = 24;
constexpr int kDragDx = 7, kDragDy = 3;
constexpr int kPageEvery = 6;  // scroll-pages turns a page every this many frames

// Paints frame `index` of `clip` at width x height into `frame` (resized to fit).
void PaintFrame(Clip clip, int index, int width, int height, std::vector<uint8_t>& frame);

}  // namespace zelvio::screencodec::bench
