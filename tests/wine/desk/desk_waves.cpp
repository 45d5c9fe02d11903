// zdesk waves LEFT TOP WIDTH HEIGHT [PERIOD_MS [BAND_TOP]]: a picture like a playing video
// (screencodec/bench/moving_picture.h: colour waves and soft shapes drifting, a faint grain,
// every pixel new every frame), repainted every PERIOD_MS (default 20: 50 frames a second).
// With BAND_TOP, a grey band across the window from that row carries the machine clock as a
// barcode (as zdesk clock draws it, at 8,8 in the band), painted into the same picture, so a
// recording tells from each frame when it was painted: two frames with the same clock are
// the same picture grabbed twice. Topmost; stays until closed.
#include "desk.h"
#include "screencodec/bench/moving_picture.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZDeskWaves";
constexpr int kBarX = 8;  // the barcode's place inside the band
constexpr int kBarY = 8;
constexpr uint32_t kBandGrey = 0x808080;
int g_periodMs = 20;
int g_bandTop = -1;

void PaintBand(int width, int height, std::vector<uint32_t>& pixels) {
  const int bottom = g_bandTop + kClockShape.blockHeight + 2 * kBarY;
  for (int y = g_bandTop; y < bottom && y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = kBandGrey;
  const unsigned value = static_cast<unsigned>(ClockMs() % kClockModulo);
  for (int i = 0; i < 2 * kClockShape.bits; ++i) {
    const uint32_t colour = ztest::BarcodeBlockIsDark(kClockShape, value, i) ? 0x000000 : 0xFFFFFF;
    for (int y = g_bandTop + kBarY; y < g_bandTop + kBarY + kClockShape.blockHeight && y < height; ++y)
      for (int x = kBarX + i * kClockShape.blockWidth; x < kBarX + (i + 1) * kClockShape.blockWidth && x < width; ++x)
        pixels[size_t(y) * width + x] = colour;
  }
}

void PaintWaves(long long frame, int width, int height, std::vector<uint32_t>& pixels) {
  zelvio::screencodec::bench::PaintMovingPicture(double(frame) * g_periodMs / 1000.0, static_cast<uint32_t>(frame),
                                                 width, height, pixels.data(), width);
  if (g_bandTop >= 0) PaintBand(width, height, pixels);
}

}  // namespace

int RunWaves(const Args& args) {
  const ScreenRect rect = RectArgs(args);
  g_periodMs = IntArg(args, 4, 20) > 0 ? IntArg(args, 4, 20) : 20;
  g_bandTop = IntArg(args, 5, -1);
  return RunPixelAnimation(kClassName, "Waves picture", rect, static_cast<UINT>(g_periodMs), PaintWaves);
}

}  // namespace zdesk
