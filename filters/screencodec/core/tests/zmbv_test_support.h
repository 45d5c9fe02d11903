// Frames and round trips for the screen codec's tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "screencodec/core/tests/zmbv_test_decoder.h"
#include "screencodec/core/zmbv_encoder.h"

namespace zelvio::screencodec::test {

inline uint32_t Mix(uint32_t a, uint32_t b) {
  uint32_t h = a * 0x9E3779B1u ^ (b * 0x85EBCA77u + 0x165667B1u);
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 13;
  return h;
}

// A top-down frame, rows packed.
struct Frame {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  Frame(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4, 0) {}
  uint8_t* At(int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; }
  void Set(int x, int y, uint32_t v) { std::memcpy(At(x, y), &v, 4); }
  // What a decoder must show: the same with the X bytes 0.
  std::vector<uint8_t> Expected() const {
    std::vector<uint8_t> e = pixels;
    for (size_t i = 3; i < e.size(); i += 4) e[i] = 0;
    return e;
  }
};

// Text-like content of an endless page: 8x16 glyph cells of dark ink on white, each cell
// its own glyph, so every position of the page is recognisable. X bytes hold garbage on
// purpose: the encoder must ignore them.
inline uint32_t PagePixel(int x, int y) {
  uint32_t cell = Mix(uint32_t(x >> 3) + 0x10000u, uint32_t(y >> 4) + 0x20000u);
  int r = y & 15, c = x & 7;
  bool ink = r >= 3 && r < 13 && c > 0 && (Mix(cell, uint32_t(r)) >> c & 1) && (cell & 7) != 0;
  uint32_t garbage = Mix(uint32_t(x), uint32_t(y)) & 0xFF000000u;
  return (ink ? 0x00202030u + (cell & 0x3F) : 0x00FFFFFFu) | garbage;
}

// The page seen through a frame scrolled right by `ox` and down by `oy` pixels.
inline Frame Page(int w, int h, int ox, int oy) {
  Frame f(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.Set(x, y, PagePixel(x + ox, y + oy));
  return f;
}

// Pixels unlike each other and unlike anything before: what no encoder can shrink.
inline Frame Noise(int w, int h, uint32_t seed) {
  Frame f(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.Set(x, y, Mix(uint32_t(y * w + x), seed));
  return f;
}

// Soft colour moving everywhere, as a playing video shows: every pixel changes each frame,
// but neighbours stay alike.
inline Frame Waves(int w, int h, int t) {
  Frame f(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t r = uint32_t(128 + 100 * std::sin((x + 3 * t) * 0.031) * std::cos(y * 0.017 - t * 0.2));
      uint32_t g = uint32_t(128 + 90 * std::sin((x - y) * 0.023 + t * 0.15));
      uint32_t b =
          uint32_t(128 + 80 * std::cos((y + 2 * t) * 0.029)) ^ (Mix(uint32_t(x + y * w), uint32_t(t)) & 3);
      f.Set(x, y, r << 16 | g << 8 | b);
    }
  return f;
}

// Encodes frames and decodes each packet with the test decoder at once.
struct RoundTrip {
  ZmbvEncoder encoder;
  ZmbvTestDecoder decoder;
  std::vector<uint8_t> packet;
  bool key = false;

  explicit RoundTrip(EncoderSettings s) : encoder(s), decoder(s.width, s.height) {}
  RoundTrip(int w, int h, int interval = 150, Effort effort = Effort::Faster)
      : RoundTrip(EncoderSettings{w, h, interval, effort}) {}

  ::testing::AssertionResult Step(const Frame& f) { return StepStrided(f.pixels.data(), f.width * 4, f); }

  // `top`/`stride` as the encoder takes them, `f` the picture they hold.
  ::testing::AssertionResult StepStrided(const uint8_t* top, std::ptrdiff_t stride, const Frame& f) {
    key = encoder.Encode(top, stride, packet);
    if (!decoder.Decode(packet.data(), packet.size()))
      return ::testing::AssertionFailure() << "decoder refused the packet: " << decoder.Error();
    if (decoder.LastWasKey() != key) return ::testing::AssertionFailure() << "key flag disagrees";
    std::vector<uint8_t> expected = f.Expected();
    if (decoder.Picture() != expected) {
      size_t i = 0;
      while (decoder.Picture()[i] == expected[i]) ++i;
      return ::testing::AssertionFailure()
             << "decoded picture differs at pixel (" << (i / 4) % f.width << ", " << (i / 4) / f.width << ")";
    }
    return ::testing::AssertionSuccess();
  }
};

}  // namespace zelvio::screencodec::test
