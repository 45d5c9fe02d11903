// The screen codec's input path as its filter runs it: a picture described by a bitmap
// header (any bit depth, orientation and size), samples of any length, each long enough one
// turned into top-down 32-bit rows and encoded, sometimes on several threads. Every packet
// must decode, with the tests' decoder, to exactly the picture the sample held.
//
// Input: bit count (32, 24, 16 or another), width (0..63), height (-64..63, negative:
// top-down), effort, thread count and key frame interval from the first six bytes; then
// samples, each led by its length in two bytes (little endian).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "screencodec/core/input_picture.h"
#include "screencodec/core/std_task_runner.h"
#include "screencodec/core/tests/zmbv_test_decoder.h"
#include "screencodec/core/zmbv_encoder.h"

using namespace zelvio::screencodec;

namespace {

// The colours a decoder must show for pixel (x, y) of the sample, read from its stored row.
uint32_t Expected(const InputLayout& layout, const uint8_t* data, int x, int y) {
  const int stored = layout.bottomUp ? layout.height - 1 - y : y;
  const uint8_t* row = data + stored * layout.stride;
  auto widen = [](unsigned v) { return uint32_t((v << 3) | (v >> 2)); };
  switch (layout.pixels) {
    case InputPixels::Rgb32:
      return uint32_t(row[x * 4]) | uint32_t(row[x * 4 + 1]) << 8 | uint32_t(row[x * 4 + 2]) << 16;
    case InputPixels::Rgb24:
      return uint32_t(row[x * 3]) | uint32_t(row[x * 3 + 1]) << 8 | uint32_t(row[x * 3 + 2]) << 16;
    case InputPixels::Rgb555: {
      unsigned p = row[x * 2] | row[x * 2 + 1] << 8;
      return widen(p & 0x1F) | widen((p >> 5) & 0x1F) << 8 | widen((p >> 10) & 0x1F) << 16;
    }
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  static const int kBitCounts[] = {32, 24, 16, 8};
  const int bitCount = kBitCounts[data[0] % 4];
  const int32_t width = data[1] % 64, height = int32_t(data[2] % 128) - 64;
  const Effort effort = data[3] & 1 ? Effort::Smaller : Effort::Faster;
  const int threads = 1 + data[4] % 3;
  const int interval = 1 + data[5] % 8;
  data += 6;
  size -= 6;
  std::optional<InputLayout> layout = DescribeInput(0, bitCount, width, height);
  if (!layout) {
    // Refused: a bit depth the codec does not take, or no picture at all.
    if ((bitCount == 32 || bitCount == 24 || bitCount == 16) && width > 0 && height != 0) std::abort();
    return 0;
  }
  std::unique_ptr<StdTaskRunner> runner;
  if (threads > 1) runner = std::make_unique<StdTaskRunner>(threads);
  ZmbvEncoder encoder({layout->width, layout->height, interval, effort, runner.get()});
  test::ZmbvTestDecoder decoder(layout->width, layout->height);
  std::vector<uint8_t> scratch, packet;
  while (size >= 2) {
    const size_t n = std::min<size_t>(size - 2, size_t(data[0] | data[1] << 8));
    // An exact copy, so a read past the sample's end is caught by the address sanitizer.
    std::vector<uint8_t> sample(data + 2, data + 2 + n);
    data += 2 + n;
    size -= 2 + n;
    // What the filter does with a short sample: drop it.
    if (int64_t(sample.size()) < layout->imageSize) continue;
    TopDownRows rows = ToTopDownRgb32(*layout, sample.data(), scratch);
    encoder.Encode(rows.top, rows.stride, packet);
    if (packet.size() > ZmbvEncoder::MaxPacketSize(layout->width, layout->height)) std::abort();
    if (!decoder.Decode(packet.data(), packet.size())) std::abort();
    for (int y = 0; y < layout->height; ++y) {
      for (int x = 0; x < layout->width; ++x) {
        uint32_t got;
        std::memcpy(&got, decoder.Picture().data() + (size_t(y) * layout->width + x) * 4, 4);
        if (got != Expected(*layout, sample.data(), x, y)) std::abort();
      }
    }
  }
  return 0;
}
