// zdesk blit LEFT TOP WIDTH HEIGHT [COUNT]: the bare cost of the screen copy a snapshot
// makes, BitBlt SRCCOPY from the desktop window's DC into a screen-compatible bitmap of that
// size, timed with the performance counter, COUNT times (default 21) after three warm-up
// copies. Prints median_us, min_us and max_us.
#include <algorithm>

#include "desk.h"
#include "common/win32/handles.h"

namespace zdesk {

namespace {

constexpr int kWarmUps = 3;

long long Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return (to.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart;
}

}  // namespace

int RunBlit(const Args& args) {
  const ScreenRect rect = RectArgs(args);
  const int count = IntArg(args, 4, 21);
  if (rect.width <= 0 || rect.height <= 0 || count <= 0) return 2;

  zelvio::WindowDc screen(GetDesktopWindow());
  zelvio::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), rect.width, rect.height));
  zelvio::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  if (!screen.Get() || !bitmap || !memory) return 1;
  std::vector<long long> times;
  {
    zelvio::SelectedObject selected(memory.get(), bitmap.get());
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kWarmUps + count; ++i) {
      LARGE_INTEGER begin = {};
      LARGE_INTEGER end = {};
      QueryPerformanceCounter(&begin);
      BitBlt(memory.get(), 0, 0, rect.width, rect.height, screen.Get(), rect.left, rect.top, SRCCOPY);
      QueryPerformanceCounter(&end);
      if (i >= kWarmUps) times.push_back(Microseconds(begin, end, frequency));
    }
  }
  std::sort(times.begin(), times.end());
  PrintLine("median_us: %lld", times[times.size() / 2]);
  PrintLine("min_us: %lld", times.front());
  PrintLine("max_us: %lld", times.back());
  return 0;
}

}  // namespace zdesk
