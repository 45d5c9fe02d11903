// The test decoder against packets made by hand from the format description (not by the
// encoder): it must reject what ffmpeg rejects and predict the way the format says, or the
// round trips that rely on it prove nothing.
#include <gtest/gtest.h>
#include <zlib.h>

#include "screencodec/core/tests/zmbv_test_decoder.h"
#include "screencodec/core/tests/zmbv_test_hand_packets.h"

namespace zelvio::screencodec::test {
namespace {

TEST(ZmbvTestDecoder, RejectsWhatThePlayersRefuse) {
  HandStream s;
  ZmbvTestDecoder d(4, 4);
  auto inter = s.Inter(std::vector<uint8_t>(8, 0));
  EXPECT_FALSE(d.Decode(inter.data(), inter.size())) << "inter frame before any key frame";

  std::vector<uint8_t> pixels(4 * 4 * 4, 7);
  auto decodes = [](std::vector<uint8_t> p) {
    ZmbvTestDecoder d(4, 4);
    return d.Decode(p.data(), p.size());
  };
  EXPECT_TRUE(decodes(HandStream().Key(pixels, 2, 2)));
  auto bad = HandStream().Key(pixels, 2, 2);
  bad[2] = 2;  // minor version
  EXPECT_FALSE(decodes(bad));
  bad = HandStream().Key(pixels, 2, 2);
  bad[4] = 7;  // not 32 bpp
  EXPECT_FALSE(decodes(bad));
  EXPECT_FALSE(decodes(HandStream().Key(pixels, 0, 2)));
  EXPECT_FALSE(decodes(HandStream().Key(std::vector<uint8_t>(4 * 4 * 4 - 4, 0), 2, 2))) << "short key frame";
  EXPECT_FALSE(decodes(HandStream().Key(std::vector<uint8_t>(4 * 4 * 4 + 4, 0), 2, 2))) << "long key frame";
  EXPECT_FALSE(decodes({}));
}

TEST(ZmbvTestDecoder, PredictsFromMovedBlocksAndZerosOutside) {
  // 4x4 pixels in 2x2 blocks; pixel value = 16 * y + x in every colour byte.
  std::vector<uint8_t> key;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      key.insert(key.end(), {uint8_t(16 * y + x), uint8_t(16 * y + x), uint8_t(16 * y + x), 0});
  HandStream s;
  ZmbvTestDecoder d(4, 4);
  auto k = s.Key(key, 2, 2);
  ASSERT_TRUE(d.Decode(k.data(), k.size())) << d.Error();
  // Block 0 from (-1,-1): the top row and left column of its prediction lie outside.
  // Block 1 from one pixel left, with XOR data. Blocks 2 and 3 unchanged.
  std::vector<uint8_t> payload = {uint8_t(-1 * 2), uint8_t(-1 * 2), uint8_t(-1 * 2 + 1), 0, 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) payload.insert(payload.end(), {0xFF, 0, 0, 0});
  auto p = s.Inter(payload);
  ASSERT_TRUE(d.Decode(p.data(), p.size())) << d.Error();
  auto px = [&](int x, int y) { return d.Picture()[(size_t(y) * 4 + x) * 4 + 1]; };
  EXPECT_EQ(px(0, 0), 0);
  EXPECT_EQ(px(1, 0), 0);
  EXPECT_EQ(px(0, 1), 0);
  EXPECT_EQ(px(1, 1), 0x00);                             // from (0,0)
  EXPECT_EQ(px(2, 0), 0x01);                             // from (1,0)
  EXPECT_EQ(px(3, 1), 0x12);                             // from (2,1)
  EXPECT_EQ(d.Picture()[(0 * 4 + 2) * 4], 0x01 ^ 0xFF);  // blue byte XORed
  EXPECT_EQ(px(2, 3), 0x32);
  // XOR data too short for the flagged block, and too long.
  HandStream t;
  ZmbvTestDecoder e(4, 4);
  k = t.Key(key, 2, 2);
  ASSERT_TRUE(e.Decode(k.data(), k.size()));
  auto shortXor = t.Inter({1, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3});
  EXPECT_FALSE(e.Decode(shortXor.data(), shortXor.size()));
}

}  // namespace
}  // namespace zelvio::screencodec::test
