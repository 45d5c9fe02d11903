// The encoder's packets decode to exactly the frames it was given, across the kinds of
// change a screen goes through, and moved content is coded as motion, not as new pixels.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "screencodec/core/std_task_runner.h"
#include "screencodec/core/tests/zmbv_test_support.h"

namespace zelvio::screencodec::test {
namespace {

// A desktop that is not flat (a gradient with a grid) and a window of text at (wx, wy).
Frame Desktop(int w, int h, int wx, int wy, int ww, int wh) {
  Frame f(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool inside = x >= wx && y >= wy && x < wx + ww && y < wy + wh;
      uint32_t desk = (x % 40 == 0 || y % 40 == 0)
                          ? 0x00143C5Au
                          : (uint32_t(x * 60 / w) << 16 | uint32_t(70 + y * 80 / h) << 8 | 140u);
      f.Set(x, y, inside ? PagePixel(x - wx + 4000, y - wy) : desk);
    }
  }
  return f;
}

// Share of the last inter frame's blocks that were predicted exactly under `want`.
double ShareMovedBy(const ZmbvTestDecoder& d, int dx, int dy) {
  const auto& v = d.LastVectors();
  size_t n = 0;
  for (const auto& b : v) n += b.dx == dx && b.dy == dy && !b.xored;
  return v.empty() ? 0 : double(n) / double(v.size());
}

TEST(ZmbvRoundTrip, StillTypingAndFullChange) {
  RoundTrip rt(320, 200);
  Frame page = Page(320, 200, 0, 0);
  ASSERT_TRUE(rt.Step(page));
  EXPECT_TRUE(rt.key);
  ASSERT_TRUE(rt.Step(page));  // unchanged: all vectors zero, no XOR data
  EXPECT_FALSE(rt.key);
  for (const auto& b : rt.decoder.LastVectors()) ASSERT_TRUE(b.dx == 0 && b.dy == 0 && !b.xored);
  EXPECT_LT(rt.packet.size(), 40u);

  // Typing: a few glyphs appear, one after another, across a block border.
  Frame typed = page;
  for (int k = 0; k < 6; ++k) {
    for (int y = 100; y < 112; ++y)
      for (int x = 60 + k * 8; x < 67 + k * 8; ++x)
        if (Mix(uint32_t(k), uint32_t(x * y)) & 1) typed.Set(x, y, 0x00101010);
    ASSERT_TRUE(rt.Step(typed)) << "glyph " << k;
  }
  Frame noise = Noise(320, 200, 5);
  ASSERT_TRUE(rt.Step(noise));
  ASSERT_TRUE(rt.Step(page));
}

TEST(ZmbvRoundTrip, VerticalAndSidewaysScrollsOfEveryStep) {
  for (int step = -63; step <= 63; ++step) {
    if (step == 0) continue;
    RoundTrip down(160, 144);
    ASSERT_TRUE(down.Step(Page(160, 144, 0, 200)));
    ASSERT_TRUE(down.Step(Page(160, 144, 0, 200 + step))) << "vertical " << step;
    RoundTrip right(144, 96);
    ASSERT_TRUE(right.Step(Page(144, 96, 200, 0)));
    ASSERT_TRUE(right.Step(Page(144, 96, 200 + step, 0))) << "sideways " << step;
  }
  // Beyond what a vector reaches: still exact, whatever it costs.
  for (int step : {64, 100, -90, 300}) {
    RoundTrip far(160, 144);
    ASSERT_TRUE(far.Step(Page(160, 144, 0, 400)));
    ASSERT_TRUE(far.Step(Page(160, 144, 0, 400 + step))) << step;
    ASSERT_TRUE(far.Step(Page(160, 144, step, 400 + step))) << step;
  }
}

TEST(ZmbvRoundTrip, DraggedWindowOverDesktop) {
  RoundTrip rt(400, 300);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(rt.Step(Desktop(400, 300, 40 + i * 7, 30 + i * 5, 180, 120))) << i;
  // The other way, and a jump larger than any vector.
  ASSERT_TRUE(rt.Step(Desktop(400, 300, 80, 50, 180, 120)));
  ASSERT_TRUE(rt.Step(Desktop(400, 300, 200, 160, 180, 120)));
}

TEST(ZmbvRoundTrip, OddSizesAndEdgeBlocks) {
  for (auto [w, h] : {std::pair{1, 1}, {17, 9}, {15, 17}, {33, 1}, {1366, 768}, {1920, 1080}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    RoundTrip rt(w, h);
    ASSERT_TRUE(rt.Step(Page(w, h, 0, 0)));
    // Only the last column and the last row change: the narrow edge blocks.
    Frame edge = Page(w, h, 0, 0);
    for (int y = 0; y < h; ++y) edge.Set(w - 1, y, 0x00FF0000);
    for (int x = 0; x < w; ++x) edge.Set(x, h - 1, 0x0000FF00);
    ASSERT_TRUE(rt.Step(edge));
    ASSERT_TRUE(rt.Step(Page(w, h, 3, 5)));
    ASSERT_TRUE(rt.Step(Noise(w, h, 1)));
  }
}

TEST(ZmbvRoundTrip, BottomUpAndPaddedRows) {
  const int w = 50, h = 37;
  RoundTrip rt(w, h);
  for (int i = 0; i < 4; ++i) {
    Frame f = Page(w, h, i * 2, i * 9);
    // A bottom-up DIB: the top row is last in memory, walked with a negative stride.
    std::vector<uint8_t> dib(f.pixels.size());
    for (int y = 0; y < h; ++y) std::memcpy(&dib[size_t(h - 1 - y) * w * 4], f.At(0, y), size_t(w) * 4);
    ASSERT_TRUE(rt.StepStrided(&dib[size_t(h - 1) * w * 4], -std::ptrdiff_t(w) * 4, f)) << i;
  }
  // Rows with padding after them.
  const std::ptrdiff_t stride = w * 4 + 12;
  Frame f = Noise(w, h, 9);
  std::vector<uint8_t> padded(size_t(stride) * h, 0xAB);
  for (int y = 0; y < h; ++y) std::memcpy(&padded[size_t(y) * stride], f.At(0, y), size_t(w) * 4);
  ASSERT_TRUE(rt.StepStrided(padded.data(), stride, f));
}

TEST(ZmbvRoundTrip, XByteIsIgnoredAndWrittenAsZero) {
  RoundTrip rt(64, 48);
  Frame f = Page(64, 48, 0, 0);
  ASSERT_TRUE(rt.Step(f));  // Step checks that every decoded X byte is 0
  for (size_t i = 3; i < f.pixels.size(); i += 4) f.pixels[i] ^= 0x5A;
  ASSERT_TRUE(rt.Step(f));
  for (const auto& b : rt.decoder.LastVectors()) ASSERT_TRUE(b.dx == 0 && b.dy == 0 && !b.xored);
}

TEST(ZmbvKeyFrames, IntervalAndRequest) {
  RoundTrip rt(48, 32, 5);
  std::vector<int> keys;
  for (int i = 0; i < 17; ++i) {
    if (i == 7) rt.encoder.RequestKeyFrame();
    ASSERT_TRUE(rt.Step(Page(48, 32, 0, i)));
    if (rt.key) keys.push_back(i);
  }
  // The interval counts from the latest key frame, requested or not.
  EXPECT_EQ(keys, (std::vector<int>{0, 5, 7, 12}));

  RoundTrip every(48, 32, 1);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(every.Step(Page(48, 32, 0, 0)));
    EXPECT_TRUE(every.key);
  }
}

TEST(ZmbvKeyFrames, DecodingStartsAfreshAtEachKeyFrame) {
  // A player that seeks starts at a key frame with a fresh inflater: the zlib stream has to
  // start again there, without history from the frames before.
  ZmbvEncoder encoder({96, 64, 4});
  std::vector<std::vector<uint8_t>> packets(9);
  std::vector<Frame> frames;
  for (int i = 0; i < 9; ++i) {
    frames.push_back(Page(96, 64, i % 3, i * 4));
    encoder.Encode(frames.back().pixels.data(), 96 * 4, packets[i]);
  }
  for (int start : {0, 4, 8}) {
    ZmbvTestDecoder decoder(96, 64);
    for (int i = start; i < 9; ++i) {
      ASSERT_TRUE(decoder.Decode(packets[i].data(), packets[i].size()))
          << start << "/" << i << ": " << decoder.Error();
      ASSERT_EQ(decoder.Picture(), frames[i].Expected()) << start << "/" << i;
    }
  }
}

TEST(ZmbvMotion, ScrolledPageIsCodedAsVectors) {
  const int w = 640, h = 480;
  for (auto [dx, dy] : {std::pair{0, 20}, {0, -48}, {0, 63}, {24, 0}, {-63, 0}}) {
    SCOPED_TRACE(testing::Message() << dx << "," << dy);
    RoundTrip rt(w, h);
    ASSERT_TRUE(rt.Step(Page(w, h, 1000, 1000)));
    ASSERT_TRUE(rt.Step(Page(w, h, 1000 + dx, 1000 + dy)));
    // Only the strip scrolled into view is new; coded pixel by pixel, the whole frame would
    // be far larger than that strip's raw size.
    size_t revealed = size_t(std::abs(dx) * h + std::abs(dy) * w) * 4;
    EXPECT_LT(rt.packet.size(), revealed / 2 + 2000);
    // The vector points where the content was: (dx, dy) in the previous frame.
    EXPECT_GT(ShareMovedBy(rt.decoder, dx, dy), 0.8);
  }
}

TEST(ZmbvMotion, DraggedWindowIsCodedAsVectors) {
  RoundTrip rt(640, 400);
  ASSERT_TRUE(rt.Step(Desktop(640, 400, 100, 80, 320, 240)));
  ASSERT_TRUE(rt.Step(Desktop(640, 400, 107, 75, 320, 240)));
  // The window moved right 7 and up 5: its content is found 7 left and 5 down.
  EXPECT_GT(ShareMovedBy(rt.decoder, -7, 5), 0.2);
  EXPECT_LT(rt.packet.size(), size_t(320 * 240 * 4 / 20));
}

TEST(ZmbvEncoderLimits, BadSettingsThrow) {
  EXPECT_THROW(ZmbvEncoder({0, 10}), std::invalid_argument);
  EXPECT_THROW(ZmbvEncoder({10, -1}), std::invalid_argument);
  EXPECT_THROW(ZmbvEncoder({10, 10, 0}), std::invalid_argument);
  EXPECT_THROW(ZmbvEncoder({1 << 20, 1 << 20}), std::invalid_argument);
  // What the filter accepts at its connection is what the encoder takes, and every size
  // computed from it fits the 32-bit fields it goes into (23170 x 23170 once wrapped them).
  for (auto [w, h, ok] : {std::tuple{1, 1, true},
                          {32768, 4096, true},
                          {11585, 11585, true},
                          {32768, 4097, false},
                          {23170, 23170, false},
                          {0, 5, false},
                          {5, -1, false}}) {
    EXPECT_EQ(ZmbvEncoder::CanEncode(w, h), ok) << w << "x" << h;
    if (ok) {
      EXPECT_LE(ZmbvEncoder::MaxPacketSize(w, h), size_t(INT32_MAX)) << w << "x" << h;
    } else {
      EXPECT_EQ(ZmbvEncoder::MaxPacketSize(w, h), 0u) << w << "x" << h;
    }
  }
}

// A packet that fails (here its deflate threads) throws, and the next one is a key frame
// that decodes: the stream never goes on from a packet nobody received.
TEST(ZmbvEncoderLimits, FailedPacketIsFollowedByAKeyFrame) {
  struct FailingRunner : SerialRunner {
    bool fail = false;
    int Threads() const override { return 2; }
    void RunAll(int count, const std::function<void(int)>& task) override {
      if (fail) throw std::runtime_error("no threads");
      SerialRunner::RunAll(count, task);
    }
  } runner;
  const int w = 400, h = 300;
  RoundTrip rt(EncoderSettings{w, h, 150, Effort::Faster, &runner});
  ASSERT_TRUE(rt.Step(Waves(w, h, 0)));
  ASSERT_TRUE(rt.Step(Waves(w, h, 1)));
  runner.fail = true;
  Frame lost = Waves(w, h, 2);
  EXPECT_THROW(rt.encoder.Encode(lost.pixels.data(), w * 4, rt.packet), std::runtime_error);
  runner.fail = false;
  ASSERT_TRUE(rt.Step(Waves(w, h, 3)));
  EXPECT_TRUE(rt.key);
  ASSERT_TRUE(rt.Step(Waves(w, h, 4)));
  EXPECT_FALSE(rt.key);
}

TEST(ZmbvEncoderLimits, NoPacketExceedsMaxPacketSize) {
  for (auto [w, h] : {std::pair{1, 1}, {17, 9}, {640, 480}}) {
    for (Effort effort : {Effort::Faster, Effort::Smaller}) {
      ZmbvEncoder encoder({w, h, 3, effort});
      std::vector<uint8_t> packet;
      for (uint32_t i = 0; i < 4; ++i) {
        Frame f = Noise(w, h, i);
        encoder.Encode(f.pixels.data(), w * 4, packet);
        EXPECT_LE(packet.size(), ZmbvEncoder::MaxPacketSize(w, h)) << w << "x" << h << " frame " << i;
      }
    }
  }
}

TEST(ZmbvRoundTrip, SmallerEffortDecodesTheSame) {
  RoundTrip rt(300, 200, 150, Effort::Smaller);
  ASSERT_TRUE(rt.Step(Desktop(300, 200, 20, 20, 150, 100)));
  for (int i = 1; i < 5; ++i) ASSERT_TRUE(rt.Step(Desktop(300, 200, 20 + i * 9, 20 + i * 4, 150, 100)));
  ASSERT_TRUE(rt.Step(Page(300, 200, 0, 33)));
}

// Counts the packets that were deflated in slices.
struct CountingRunner : StdTaskRunner {
  using StdTaskRunner::StdTaskRunner;
  int runs = 0;
  void RunAll(int count, const std::function<void(int)>& task) override {
    ++runs;
    StdTaskRunner::RunAll(count, task);
  }
};

// Packets deflated in slices on several threads are one stream a decoder reads packet by
// packet, whatever mix of sliced and whole packets (a moving picture, then typing, then a
// key frame) it holds, and they cost about what one thread's do.
TEST(ZmbvSlices, SlicedPacketsDecodeAsOneStreamAtTheSameCost) {
  const int w = 640, h = 360;
  for (int threads : {2, 3}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    CountingRunner runner(threads);
    RoundTrip sliced(EncoderSettings{w, h, 9, Effort::Faster, &runner});
    RoundTrip whole(EncoderSettings{w, h, 9, Effort::Faster});
    size_t slicedBytes = 0, wholeBytes = 0;
    Frame typed = Page(w, h, 0, 0);
    for (int i = 0; i < 14; ++i) {
      // Frames 0-3 move everywhere, 4-6 only have a glyph typed each, then it moves again;
      // frame 9 is a key frame.
      const bool typing = i >= 4 && i < 7;
      if (typing) typed.Set(100 + i, 100, 0x00101010);
      const Frame f = typing ? typed : Waves(w, h, i);
      ASSERT_TRUE(sliced.Step(f)) << "frame " << i;
      ASSERT_TRUE(whole.Step(f)) << "frame " << i;
      slicedBytes += sliced.packet.size();
      wholeBytes += whole.packet.size();
    }
    EXPECT_GE(runner.runs, 10) << "large packets must be deflated in slices";
    EXPECT_LE(double(slicedBytes), double(wholeBytes) * 1.03);
  }
}

}  // namespace
}  // namespace zelvio::screencodec::test
