// Layout of the clock barcode that clock_window draws and check_av_sync.py reads back from
// the frames of a recording. The two must agree; the numbers are repeated there.
#pragma once

namespace helpers {

constexpr int kClockBits = 20;
constexpr unsigned kClockModulo = 1000000;  // milliseconds; a multiple of 1000
constexpr int kClockBlockWidth = 12;
constexpr int kClockBlockHeight = 24;
constexpr int kClockBarX = 8;  // the bar's place inside the window
constexpr int kClockBarY = 8;
constexpr int kClockWindowWidth = 2 * kClockBits * kClockBlockWidth + 2 * kClockBarX;
constexpr int kClockWindowHeight = kClockBlockHeight + 2 * kClockBarY;

// Block i of the bar: the value's bits from the most significant, then their inverses.
inline bool ClockBlockIsDark(unsigned value, int i) {
  int bit = i < kClockBits ? kClockBits - 1 - i : 2 * kClockBits - 1 - i;
  bool set = ((value >> bit) & 1u) != 0;
  return i < kClockBits ? set : !set;
}

}  // namespace helpers
