// zdesk zoom LEFT TOP WIDTH HEIGHT [PERIOD_MS]: a zoom into the Mandelbrot set, a new frame
// every PERIOD_MS (default 40), as a fractal viewer plays it in a window. Every frame the
// picture grows about its centre by 2 %, so its blocks move outwards a little each, by
// different amounts: the many small local moves of a zoom or a film, not one shared move.
// It zooms in for 10 s and starts again. Kept cheap enough to hold its pace under Wine on a
// busy machine: 64 iterations at most, a palette made once, the main cardioid and the
// period-2 bulb filled without iterating. Topmost; stays until closed.
#include <cmath>

#include "desk.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZDeskZoom";
constexpr int kMaxIterations = 64;
constexpr int kZoomFrames = 250;
constexpr double kShrink = 0.98;  // the view's width from one frame to the next
constexpr double kStartWidth = 3.2;
// A point on the set's edge in "seahorse valley", where the zoom keeps finding detail.
constexpr double kCentreX = -0.743643887037151;
constexpr double kCentreY = 0.131825904205330;

uint32_t g_palette[kMaxIterations + 1];

void MakePalette() {
  for (int i = 0; i < kMaxIterations; ++i) {
    const double t = i * 0.19;
    const int r = int(128 + 127 * std::sin(t));
    const int g = int(128 + 127 * std::sin(t + 2.1));
    const int b = int(128 + 127 * std::sin(t + 4.2));
    g_palette[i] = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
  }
  g_palette[kMaxIterations] = 0;  // inside the set
}

bool InsideBulbs(double x, double y) {
  const double q = (x - 0.25) * (x - 0.25) + y * y;
  return q * (q + (x - 0.25)) <= 0.25 * y * y || (x + 1) * (x + 1) + y * y <= 1.0 / 16;
}

int Iterations(double cx, double cy) {
  if (InsideBulbs(cx, cy)) return kMaxIterations;
  double x = 0, y = 0;
  int i = 0;
  for (; i < kMaxIterations; ++i) {
    const double xx = x * x, yy = y * y;
    if (xx + yy > 4) break;
    y = 2 * x * y + cy;
    x = xx - yy + cx;
  }
  return i;
}

void PaintZoom(long long frame, int width, int height, std::vector<uint32_t>& pixels) {
  const double view = kStartWidth * std::pow(kShrink, double(frame % kZoomFrames));
  const double step = view / width;
  for (int y = 0; y < height; ++y) {
    const double cy = kCentreY + (y - height / 2) * step;
    for (int x = 0; x < width; ++x)
      pixels[size_t(y) * width + x] = g_palette[Iterations(kCentreX + (x - width / 2) * step, cy)];
  }
}

}  // namespace

int RunZoom(const Args& args) {
  const ScreenRect rect = RectArgs(args, {0, 0, 640, 360});
  const int period = IntArg(args, 4, 40) > 0 ? IntArg(args, 4, 40) : 40;
  MakePalette();
  return RunPixelAnimation(kClassName, "Zoom picture", rect, static_cast<UINT>(period), PaintZoom);
}

}  // namespace zdesk
