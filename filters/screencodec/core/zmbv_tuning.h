// What each effort spends where. Deflate dominates the encoder's time once anything changes,
// so the choices that matter are zlib's level and strategy per packet, and how hard the
// encoder looks for moved content before it falls back on XOR data.
//
// zlib may change level and strategy between the packets of one stream; the decoder never
// knows. Most packets of a screen hold a few kilobytes of changes (typing, a caret, a menu),
// where even level 9 costs a fraction of a millisecond and shrinks text the most. A frame of
// moving pictures holds megabytes of XOR data in which most colour bytes changed: there the
// slow levels take several frame slots for a few per cent, so the fast matcher is used. Text
// in large packets (a page turned, a window dragged) sits between. Z_HUFFMAN_ONLY looks for no
// repeats at all: on text it writes many times the bytes, but the XOR data of a moving
// picture holds almost none to find, and there it is a third faster than level 1 and no
// larger, so Faster takes it there.
#pragma once

#include <zlib.h>

#include <cstddef>

#include "screencodec/core/zmbv_deflate.h"

namespace zelvio::screencodec {

enum class Effort;

struct Tuning {
  int keyLevel;         // a key frame of a screen (text, windows), deflated on two cores or more
  int oneCoreKeyLevel;  // the same on one core
  int pictureKeyLevel;  // a key frame that is mostly picture (a video, a photo)
  int smallLevel;       // an inter frame deflating up to kSmallInput bytes
  int textLevel;        // more, of XOR data that is mostly unchanged bytes (text, windows)
  int largeLevel;       // more than kLargeInput bytes of such data
  int pictureLevel;     // more than kSmallInput, of XOR data that is mostly changed colour
  int pictureStrategy;
  int probes;       // probe blocks searched over the whole vector range for moved content
  int candidates;   // vectors the probes found that every changed block tries
  int refineSteps;  // one-pixel steps of a block's own search when no candidate fits
};

constexpr size_t kSmallInput = size_t(256) * 1024;
constexpr size_t kLargeInput = size_t(1024) * 1024;

// A key frame of a still screen is most of a short recording's bytes. Deflated on two cores,
// level 6 takes a full-HD screen in two or three frame slots, which the queue in front of the
// encoder absorbs, for 40 % less than level 3; on one core it would take five, so Faster
// keeps level 3 there. A key frame of a picture gains little from the slow levels (level 3:
// 0.5 % smaller for 1.7 times the time; level 6: 3.5 % for 4.5 times), so it gets level 1. The probes find
// one scroll or one dragged window among thousands of blocks; fewer miss much of a dragged window. The local
// search finds the many small moves of a zoom or an animation, which no shared vector explains; it is cheap
// next to deflate while it pays, and sampled once it does not.
constexpr Tuning kFasterTuning{.keyLevel = 6,
                               .oneCoreKeyLevel = 3,
                               .pictureKeyLevel = 1,
                               .smallLevel = 9,
                               .textLevel = 6,
                               .largeLevel = 1,
                               .pictureLevel = 1,
                               .pictureStrategy = Z_HUFFMAN_ONLY,
                               .probes = 48,
                               .candidates = 6,
                               .refineSteps = 3};
constexpr Tuning kSmallerTuning{.keyLevel = 6,
                                .oneCoreKeyLevel = 6,
                                .pictureKeyLevel = 6,
                                .smallLevel = 9,
                                .textLevel = 9,
                                .largeLevel = 6,
                                .pictureLevel = 6,
                                .pictureStrategy = Z_DEFAULT_STRATEGY,
                                .probes = 48,
                                .candidates = 6,
                                .refineSteps = 8};

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

// Fewer than half the pixels of a sample of rows have the colour of their left neighbour:
// a picture rather than a screen of text and flat surfaces.
inline bool MostlyPicture(size_t sampled, size_t likeLeft) { return likeLeft * 2 < sampled; }

inline Compression KeyCompression(const Tuning& t, bool picture, int threads) {
  if (picture) return {t.pictureKeyLevel};
  return {threads > 1 ? t.keyLevel : t.oneCoreKeyLevel};
}

inline Compression InterCompression(const Tuning& t, const PacketContents& c) {
  if (c.inputBytes <= kSmallInput) return {t.smallLevel};
  if (MostlyChangedColour(c)) return {t.pictureLevel, t.pictureStrategy};
  if (c.inputBytes <= kLargeInput) return {t.textLevel};
  return {t.largeLevel};
}

}  // namespace zelvio::screencodec
