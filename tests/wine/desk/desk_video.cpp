// zdesk video [LEFT TOP WIDTH HEIGHT]: a picture like a playing video, new every 33 ms: soft
// colour waves drifting across, with a camera's grain on every pixel. The hardest thing a
// screen codec meets: no two frames share a block and the grain leaves deflate little to
// find, where flat test bars compress to almost nothing. Closes on WM_CLOSE.
#include <cmath>
#include <cstdint>
#include <vector>

#include "desk.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZDeskVideo";
int g_frame = 0;
std::vector<uint32_t> g_pixels;
uint32_t g_noise = 0x2545F491u;

// A cheap generator is enough: the grain only has to look random to deflate.
uint32_t NextNoise() {
  g_noise ^= g_noise << 13;
  g_noise ^= g_noise >> 17;
  g_noise ^= g_noise << 5;
  return g_noise;
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

void PaintFrame(int w, int h) {
  g_pixels.resize(size_t(w) * h);
  const double t = g_frame / 30.0;
  std::vector<double> across(w), down(h);
  for (int x = 0; x < w; ++x) across[x] = std::sin(x * 0.013 + t * 1.9);
  for (int y = 0; y < h; ++y) down[y] = std::cos(y * 0.017 - t * 1.3);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = g_pixels.data() + size_t(y) * w;
    for (int x = 0; x < w; ++x) {
      const double wave = across[x] * down[y];
      const uint32_t grain = NextNoise();
      const int r = Clamp(int(128 + 90 * wave) + int(grain & 15) - 8);
      const int g = Clamp(int(110 + 70 * across[x]) + int((grain >> 8) & 15) - 8);
      const int b = Clamp(int(120 + 80 * down[y]) + int((grain >> 16) & 15) - 8);
      row[x] = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
    }
  }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kAnimationTick) {
    ++g_frame;
    InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  RECT client{};
  GetClientRect(window, &client);
  PaintFrame(client.right, client.bottom);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top-down, as the rows were painted
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SetDIBitsToDevice(dc, 0, 0, client.right, client.bottom, 0, 0, 0, client.bottom, g_pixels.data(), &info,
                    DIB_RGB_COLORS);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

int RunVideo(const Args& args) {
  const ScreenRect rect = RectArgs(args, {0, 0, 800, 450});
  return RunAnimation(kClassName, Procedure, "Video picture", rect, 33);
}

}  // namespace zdesk
