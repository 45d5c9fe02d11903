// What each effort spends where. Deflate dominates the encoder's time once anything changes,
// so the choices that matter are zlib's level and strategy per packet, and how hard the
// encoder looks for moved content before it falls back on XOR data.
//
// zlib may change level and strategy between the packets of one stream; the decoder never
// knows. Most packets of a screen hold a few kilobytes of changes (typing, a caret, a menu),
// where even level 9 costs a fraction of a millisecond and shrinks text the most. A frame of
// moving pictures holds megabytes of XOR data in which most colour bytes changed: there the
// slow levels take several frame slots for a few per cent, so the fast matcher is used. Text
// in large packets (a page turned, a window dragged) sits between. Z_RLE finds only runs: on
// text it writes many times the bytes, but on the XOR data of a moving picture it is a third
// faster than level 1 for a few per cent more, so Faster takes it there.
#pragma once

#include <zlib.h>

#include <cstddef>

#include "screencodec/core/zmbv_deflate.h"

namespace zelvio::screencodec {

enum class Effort;

struct Tuning {
  int keyLevel;      // a key frame: the whole picture, deflated on every core
  int smallLevel;    // an inter frame deflating up to kSmallInput bytes
  int textLevel;     // more, of XOR data that is mostly unchanged bytes (text, windows)
  int largeLevel;    // more than kLargeInput bytes of such data
  int pictureLevel;  // more than kSmallInput, of XOR data that is mostly changed colour
  int pictureStrategy;
  int probes;        // probe blocks searched over the whole vector range for moved content
  int candidates;    // vectors the probes found that every changed block tries
  int refineSteps;   // one-pixel steps of a block's own search when no candidate fits
};

constexpr size_t kSmallInput = size_t(256) * 1024;
constexpr size_t kLargeInput = size_t(1024) * 1024;

// A key frame is deflated on every core, but at level 6 or more a full-HD one still takes
// several frame slots on two, so Faster keeps level 3 there. The probes find one scroll or
// one dragged window among thousands of blocks; fewer miss much of a dragged window.
// The local search finds the many small moves of a zoom or an animation, which no shared
// vector explains; it is cheap next to deflate while it pays, and sampled once it does not.
constexpr Tuning kFasterTuning{.keyLevel = 3, .smallLevel = 9, .textLevel = 6, .largeLevel = 1, .pictureLevel = 1,
                               .pictureStrategy = Z_RLE, .probes = 48, .candidates = 6, .refineSteps = 3};
constexpr Tuning kSmallerTuning{.keyLevel = 6, .smallLevel = 9, .textLevel = 9, .largeLevel = 6, .pictureLevel = 6,
                                .pictureStrategy = Z_DEFAULT_STRATEGY, .probes = 48, .candidates = 6, .refineSteps = 8};

// What an inter frame's packet holds, as the encoder saw while it wrote it.
struct PacketContents {
  size_t inputBytes = 0;      // vectors and XOR data
  size_t xorBytes = 0;        // XOR data alone, 4 bytes a pixel
  size_t differingBytes = 0;  // colour bytes of the XOR data that are not 0
};

// Half the colour bytes changed: a moving picture rather than text on a background.
inline bool MostlyChangedColour(const PacketContents& c) {
  return c.xorBytes > 0 && c.differingBytes * 4 > c.xorBytes * 3 / 2;
}

inline Compression InterCompression(const Tuning& t, const PacketContents& c) {
  if (c.inputBytes <= kSmallInput) return {t.smallLevel};
  if (MostlyChangedColour(c)) return {t.pictureLevel, t.pictureStrategy};
  if (c.inputBytes <= kLargeInput) return {t.textLevel};
  return {t.largeLevel};
}

}  // namespace zelvio::screencodec
