// The floor of the screen codec's benchmark (scripts/bench_codec.sh): the least an encoder of
// screens must do for each frame is look at every pixel of it and of the frame before once.
// This compares consecutive frames of a raw clip row by row. A single memcmp of the whole
// frame stops at the first changed pixel, which on a typing clip is a fifth of the way down,
// and would make the floor look cheaper than any encoder can be; a memcmp per row still
// reads both frames to the end.
//
//   bench_frame_compare IN.raw WxH
//
// A raw clip is frames of 4 bytes a pixel, top row first. Frames are read alternately into
// two buffers, so each is compared against memory other than its own, as with a grabber;
// reading is not timed. Prints per-frame wall time (median, p95, max) and changed rows.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

size_t ChangedRows(const uint8_t* a, const uint8_t* b, size_t rowBytes, int rows) {
  size_t changed = 0;
  for (int y = 0; y < rows; ++y, a += rowBytes, b += rowBytes) changed += std::memcmp(a, b, rowBytes) != 0;
  return changed;
}

}  // namespace

int main(int argc, char** argv) {
  int w = 0, h = 0;
  if (argc != 3 || std::sscanf(argv[2], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) {
    std::fprintf(stderr, "usage: bench_frame_compare IN.raw WxH\n");
    return 2;
  }
  FILE* file = std::fopen(argv[1], "rb");
  if (!file) {
    std::perror(argv[1]);
    return 1;
  }
  const size_t rowBytes = size_t(w) * 4, frameBytes = rowBytes * h;
  std::vector<uint8_t> frames[2] = {std::vector<uint8_t>(frameBytes), std::vector<uint8_t>(frameBytes)};
  std::vector<double> ms;
  size_t changedRows = 0, changedFrames = 0;
  for (int i = 0; std::fread(frames[i & 1].data(), 1, frameBytes, file) == frameBytes; ++i) {
    if (i == 0) continue;
    auto start = Clock::now();
    size_t changed = ChangedRows(frames[i & 1].data(), frames[(i - 1) & 1].data(), rowBytes, h);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    changedRows += changed;
    changedFrames += changed != 0;
  }
  std::fclose(file);
  if (ms.empty()) {
    std::fprintf(stderr, "bench_frame_compare: fewer than two frames\n");
    return 1;
  }
  std::sort(ms.begin(), ms.end());
  std::printf(
      "compare frames %zu median_ms %.3f p95_ms %.3f max_ms %.3f changed_frames %zu changed_rows_per_frame "
      "%zu\n",
      ms.size(), ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 95 / 100)], ms.back(),
      changedFrames, changedRows / ms.size());
  return 0;
}
