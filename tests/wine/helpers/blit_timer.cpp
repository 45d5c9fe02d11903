// blit_timer <left> <top> <width> <height> [count]: the bare cost of the screen copy a
// snapshot makes — BitBlt SRCCOPY from the desktop window's DC into a screen-compatible
// bitmap of that size — timed with the performance counter, count times (default 21) after
// three warm-up copies. Prints median_us, min_us and max_us.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

constexpr int kWarmUps = 3;

class DesktopDc {
 public:
  DesktopDc() : window_(GetDesktopWindow()), dc_(GetDC(window_)) {}
  ~DesktopDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  DesktopDc(const DesktopDc&) = delete;
  DesktopDc& operator=(const DesktopDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

long long Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return (to.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::printf("usage: blit_timer <left> <top> <width> <height> [count]\n");
    return 2;
  }
  int left = std::atoi(argv[1]);
  int top = std::atoi(argv[2]);
  int width = std::atoi(argv[3]);
  int height = std::atoi(argv[4]);
  int count = argc > 5 ? std::atoi(argv[5]) : 21;
  if (width <= 0 || height <= 0 || count <= 0) return 2;

  DesktopDc screen;
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  UniqueDc memory(CreateCompatibleDC(screen.Get()));
  if (!screen.Get() || !bitmap || !memory) return 1;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());

  LARGE_INTEGER frequency = {};
  QueryPerformanceFrequency(&frequency);
  std::vector<long long> times;
  for (int i = 0; i < kWarmUps + count; ++i) {
    LARGE_INTEGER begin = {};
    LARGE_INTEGER end = {};
    QueryPerformanceCounter(&begin);
    BitBlt(memory.get(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY);
    QueryPerformanceCounter(&end);
    if (i >= kWarmUps) times.push_back(Microseconds(begin, end, frequency));
  }
  SelectObject(memory.get(), previous);

  std::sort(times.begin(), times.end());
  std::printf("median_us: %lld\n", times[times.size() / 2]);
  std::printf("min_us: %lld\n", times.front());
  std::printf("max_us: %lld\n", times.back());
  return 0;
}
