#include "moving_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvio::screencodec::bench {
namespace {

constexpr double kTau = 6.283185307179586;

// One wave per channel along one direction: amplitude, cycles across the frame, cycles a
// second, phase. Sizes are in cycles per frame width, so 720p and 1080p look alike.
struct Wave {
  double amplitude, cycles, speed, phase;
};

// Rows of the three channels' waves (R, G, B) along x, y, x + y and x - y.
constexpr Wave kAlongX[3] = {{38, 1.3, 0.21, 0.0}, {30, 0.9, -0.17, 1.1}, {26, 1.7, 0.13, 2.3}};
constexpr Wave kAlongY[3] = {{30, 0.8, -0.15, 0.7}, {34, 1.1, 0.19, 2.9}, {28, 0.6, 0.23, 4.1}};
constexpr Wave kDiagonal[3] = {{22, 2.1, 0.31, 1.9}, {18, 1.6, -0.27, 0.3}, {24, 2.6, 0.19, 3.3}};
constexpr Wave kAntiDiagonal[3] = {{16, 1.9, -0.23, 2.2}, {20, 2.3, 0.29, 5.0}, {14, 1.4, -0.33, 0.9}};
constexpr int kBase[3] = {120, 112, 128};

// A soft shape: its path (a Lissajous figure in fractions of the frame), its radius in
// fractions of the height and what it adds to each channel at its centre.
struct Blob {
  double ax, fx, ay, fy, radius;
  int add[3];
};
constexpr Blob kBlobs[] = {{0.35, 0.11, 0.30, 0.17, 0.22, {70, 30, -40}},
                           {0.40, -0.07, 0.35, 0.13, 0.30, {-50, 40, 60}},
                           {0.30, 0.19, 0.25, -0.09, 0.16, {40, -60, 30}}};

// The three channels travel together in one word, 10 bits each (R at bit 20, G at 10, B at
// 0), every table's value lifted by kLift so that no lane goes below 0 or over 1023 in a sum
// of four tables, the base and the grain: a pixel is four loads and adds, not twelve.
constexpr int kLift = 64;
constexpr int kTables = 4;

uint32_t Lanes(int r, int g, int b) { return uint32_t(r) << 20 | uint32_t(g) << 10 | uint32_t(b); }

// table[i] = the three channels' waves at position i of n along a frame `width` wide.
void FillWaves(const Wave (&waves)[3], double seconds, int n, int width, std::vector<uint32_t>& table) {
  table.resize(size_t(n));
  int v[3];
  for (int i = 0; i < n; ++i) {
    for (int c = 0; c < 3; ++c) {
      const Wave& wave = waves[c];
      const double step = kTau * wave.cycles / std::max(width, 1);
      v[c] = kLift +
             int(std::lround(wave.amplitude * std::sin(i * step + seconds * wave.speed * kTau + wave.phase)));
    }
    table[size_t(i)] = Lanes(v[0], v[1], v[2]);
  }
}

int Lane(uint32_t sum, int shift) { return std::clamp(int((sum >> shift) & 1023) - kTables * kLift, 0, 255); }

uint32_t NextGrain(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// Adds the blob over what is painted, each channel kept within 0..255.
void AddBlob(const Blob& blob, double seconds, int width, int height, uint32_t* pixels,
             std::ptrdiff_t stride) {
  const double cx = width * (0.5 + blob.ax * std::sin(seconds * blob.fx * kTau));
  const double cy = height * (0.5 + blob.ay * std::cos(seconds * blob.fy * kTau));
  const double r = blob.radius * height;
  const int y0 = std::max(0, int(cy - r)), y1 = std::min(height, int(cy + r) + 1);
  for (int y = y0; y < y1; ++y) {
    const double dy2 = (y - cy) * (y - cy);
    if (dy2 >= r * r) continue;
    const double half = std::sqrt(r * r - dy2);
    const int x0 = std::max(0, int(cx - half)), x1 = std::min(width, int(cx + half) + 1);
    uint32_t* row = pixels + y * stride;
    for (int x = x0; x < x1; ++x) {
      const double d = ((x - cx) * (x - cx) + dy2) / (r * r);
      if (d >= 1) continue;
      const int f = int(256 * (1 - d) * (1 - d));  // soft edge, no outline to catch the eye
      const uint32_t p = row[x];
      const int red = std::clamp(int(p >> 16 & 0xFF) + (blob.add[0] * f >> 8), 0, 255);
      const int green = std::clamp(int(p >> 8 & 0xFF) + (blob.add[1] * f >> 8), 0, 255);
      const int blue = std::clamp(int(p & 0xFF) + (blob.add[2] * f >> 8), 0, 255);
      row[x] = uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
    }
  }
}

}  // namespace

void PaintMovingPicture(double seconds, uint32_t grain, int width, int height, uint32_t* pixels,
                        std::ptrdiff_t stride) {
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> alongX, alongY, diagonal, anti;
  FillWaves(kAlongX, seconds, width, width, alongX);
  FillWaves(kAlongY, seconds, height, width, alongY);
  FillWaves(kDiagonal, seconds, width + height, width, diagonal);
  FillWaves(kAntiDiagonal, seconds, width + height, width, anti);
  // A grain of -1..0 in each channel: a sensor's or a decoder's, too faint to see, enough
  // to make every frame new.
  const uint32_t base = Lanes(kBase[0] - 1, kBase[1] - 1, kBase[2] - 1);
  const uint32_t grainMask = Lanes(1, 1, 1);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = pixels + y * stride;
    const uint32_t rowBase = base + alongY[size_t(y)];
    const uint32_t* down = diagonal.data() + y;           // x + y
    const uint32_t* up = anti.data() + (height - 1 - y);  // x - y + height - 1
    uint32_t state = (grain * 0x9E3779B1u) ^ (uint32_t(y) * 0x85EBCA6Bu) ^ 0x2545F491u;
    if (state == 0) state = 1;
    for (int x = 0; x < width; ++x) {
      const uint32_t sum = rowBase + alongX[size_t(x)] + down[x] + up[x] + (NextGrain(state) & grainMask);
      row[x] = uint32_t(Lane(sum, 20)) << 16 | uint32_t(Lane(sum, 10)) << 8 | uint32_t(Lane(sum, 0));
    }
  }
  for (const Blob& blob : kBlobs) AddBlob(blob, seconds, width, height, pixels, stride);
}

}  // namespace zelvio::screencodec::bench
