// ffmpeg (what VLC, mpv and most players decode with) decodes the encoder's AVI files to
// exactly the frames given, also when seeking; and it predicts as the test decoder does.
// Skipped, never passed, when ffmpeg is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "screencodec/bench/zmbv_avi_file.h"
#include "screencodec/core/tests/zmbv_test_hand_packets.h"
#include "screencodec/core/std_task_runner.h"
#include "screencodec/core/tests/zmbv_test_support.h"

namespace zelvio::screencodec::test {
namespace {

bool FfmpegInstalled() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          (name + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           std::to_string(std::rand()) + ".avi"))
      .string();
}

// Every decoded frame as BGR0, concatenated; false when ffmpeg failed or said anything.
bool FfmpegDecode(const std::string& path, const std::string& options, std::vector<uint8_t>& out,
                  std::string& errors) {
  std::string err = path + ".err";
  std::string cmd =
      "ffmpeg -v error " + options + " -i '" + path + "' -f rawvideo -pix_fmt bgr0 - 2>'" + err + "'";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return false;
  out.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
  int status = pclose(pipe);
  errors.clear();
  if (FILE* e = fopen(err.c_str(), "r")) {
    int c;
    while ((c = fgetc(e)) != EOF) errors += char(c);
    fclose(e);
  }
  std::remove(err.c_str());
  return status == 0 && errors.empty();
}

class ZmbvFfmpeg : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FfmpegInstalled()) GTEST_SKIP() << "ffmpeg is not installed: cannot check what players decode";
  }
  void TearDown() override {
    for (const auto& p : files_) std::filesystem::remove(p);
  }
  std::string NewFile(const std::string& name) {
    files_.push_back(TempPath(name));
    return files_.back();
  }
  std::vector<std::string> files_;
};

// Frames with every kind of change: scrolls both ways, a dragged window, new pixels, a
// still frame; key frames every 10 at 30 frames a second.
std::vector<Frame> MixedClip(int w, int h) {
  std::vector<Frame> frames;
  for (int i = 0; i < 45; ++i) {
    if (i < 12)
      frames.push_back(Page(w, h, 0, i * 11));
    else if (i < 20)
      frames.push_back(Page(w, h, (i - 12) * -9, 200));
    else if (i < 22)
      frames.push_back(i == 20 ? Waves(w, h, i) : Noise(w, h, uint32_t(i)));
    else if (i < 24)
      frames.push_back(Page(w, h, 0, 0));
    else {
      Frame f = Page(w, h, 0, 500);
      int wx = 10 + (i - 24) * 5, wy = 8 + (i - 24) * 3;
      for (int y = wy; y < std::min(h, wy + 60); ++y)
        for (int x = wx; x < std::min(w, wx + 90); ++x) f.Set(x, y, PagePixel(x - wx + 7000, y - wy));
      frames.push_back(f);
    }
  }
  return frames;
}

TEST_F(ZmbvFfmpeg, DecodesEveryFrameExactly) {
  // 640x360 on three threads: its key frames and full changes are deflated in slices.
  StdTaskRunner threads(3);
  for (auto [w, h, runner] :
       {std::tuple<int, int, TaskRunner*>{200, 150, nullptr}, {37, 21, nullptr}, {640, 360, &threads}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    std::vector<Frame> frames = MixedClip(w, h);
    std::string path = NewFile("zmbv-mixed");
    {
      ZmbvEncoder encoder({w, h, 10, Effort::Faster, runner});
      bench::ZmbvAviFile file(path, w, h);
      std::vector<uint8_t> packet;
      for (const auto& f : frames) {
        bool key = encoder.Encode(f.pixels.data(), w * 4, packet);
        file.Append(packet, key);
      }
      file.Finish();
    }
    std::vector<uint8_t> decoded;
    std::string errors;
    ASSERT_TRUE(FfmpegDecode(path, "", decoded, errors)) << errors;
    const size_t frameBytes = size_t(w) * h * 4;
    ASSERT_EQ(decoded.size(), frames.size() * frameBytes);
    for (size_t i = 0; i < frames.size(); ++i) {
      std::vector<uint8_t> expected = frames[i].Expected();
      ASSERT_TRUE(std::equal(expected.begin(), expected.end(), decoded.begin() + i * frameBytes))
          << "frame " << i;
    }

    // A seek to frame 25 (an inter frame) starts from key frame 20 and decodes from there.
    ASSERT_TRUE(FfmpegDecode(path, "-ss 0.8333", decoded, errors)) << errors;
    ASSERT_EQ(decoded.size(), (frames.size() - 25) * frameBytes);
    std::vector<uint8_t> expected = frames[25].Expected();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoded.begin()));
  }
}

TEST_F(ZmbvFfmpeg, PredictsAsTheTestDecoderDoes) {
  // Hand-made vectors the encoder never writes: reaching outside the frame, the extremes.
  const int w = 40, h = 24;
  Frame first = Page(w, h, 0, 0);
  HandStream s;
  std::vector<std::vector<uint8_t>> packets = {s.Key(first.Expected(), 8, 8)};
  const size_t blocks = 5 * 3, vectorBytes = (blocks * 2 + 3) / 4 * 4;
  const int moves[][2] = {{-64, -64}, {63, 63}, {-3, 5}, {10, -7}, {0, 0}};
  for (int k = 0; k < 4; ++k) {
    std::vector<uint8_t> payload(vectorBytes, 0);
    for (size_t b = 0; b < blocks; ++b) {
      const int* m = moves[(b + size_t(k)) % 5];
      payload[b * 2] = uint8_t(m[0] * 2 | (b % 3 == 0));
      payload[b * 2 + 1] = uint8_t(m[1] * 2);
    }
    for (size_t b = 0; b < blocks; b += 3)
      for (int i = 0; i < 8 * 8 * 4; ++i)
        payload.push_back(uint8_t(Mix(uint32_t(b), uint32_t(i + k))) & (i % 4 == 3 ? 0 : 0xFF));
    packets.push_back(s.Inter(payload));
  }
  ZmbvTestDecoder decoder(w, h);
  std::vector<uint8_t> expected;
  std::string path = NewFile("zmbv-hand");
  {
    bench::ZmbvAviFile file(path, w, h);
    for (size_t i = 0; i < packets.size(); ++i) {
      ASSERT_TRUE(decoder.Decode(packets[i].data(), packets[i].size())) << decoder.Error();
      expected.insert(expected.end(), decoder.Picture().begin(), decoder.Picture().end());
      file.Append(packets[i], i == 0);
    }
    file.Finish();
  }
  std::vector<uint8_t> decoded;
  std::string errors;
  ASSERT_TRUE(FfmpegDecode(path, "", decoded, errors)) << errors;
  EXPECT_EQ(decoded, expected);
}

}  // namespace
}  // namespace zelvio::screencodec::test
