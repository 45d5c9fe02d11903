// A ZMBV decoder of the tests' own, written from the published format description and
// sharing no code with the encoder, so a mistake in the encoder cannot hide behind the same
// mistake here. It is strict where ffmpeg is strict (versions, sizes, the inflated length,
// an inter frame before any key frame) and reads untrusted packets safely: every size is
// checked before use, and inflating never produces more than one frame's worth.
//
// 32 bits per pixel only. Plain C++ with zlib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelvio::screencodec::test {

class ZmbvTestDecoder {
 public:
  // The frame size comes from the container, as in an AVI's BITMAPINFOHEADER.
  ZmbvTestDecoder(int width, int height);
  ~ZmbvTestDecoder();
  ZmbvTestDecoder(const ZmbvTestDecoder&) = delete;
  ZmbvTestDecoder& operator=(const ZmbvTestDecoder&) = delete;

  // Decodes one packet onto the picture. False (with Error()) for a packet ffmpeg would
  // refuse; after a failure only a key frame decodes again.
  bool Decode(const uint8_t* data, size_t size);

  // The picture: top row first, 4 bytes a pixel (B, G, R, X), rows packed.
  const std::vector<uint8_t>& Picture() const { return picture_; }
  const std::string& Error() const { return error_; }
  bool LastWasKey() const { return lastKey_; }
  int BlockWidth() const { return blockWidth_; }
  int BlockHeight() const { return blockHeight_; }

  // What the last inter frame said, for tests that look at the vectors chosen.
  struct BlockVector {
    int dx = 0, dy = 0;
    bool xored = false;
  };
  const std::vector<BlockVector>& LastVectors() const { return vectors_; }

 private:
  bool Fail(const std::string& why);
  bool DecodeKey(const uint8_t* data, size_t size);
  bool DecodeInter(const uint8_t* data, size_t size);
  // Inflates `size` bytes on the running stream into payload_; at most `limit` bytes out.
  bool Unpack(const uint8_t* data, size_t size, size_t limit);

  struct Inflater;
  int width_, height_;
  std::vector<uint8_t> picture_, previous_, payload_;
  std::vector<BlockVector> vectors_;
  std::unique_ptr<Inflater> inflater_;
  std::string error_;
  int blockWidth_ = 0, blockHeight_ = 0;
  bool compressed_ = false;
  bool ready_ = false;  // a key frame decoded and nothing failed since
  bool lastKey_ = false;
};

}  // namespace zelvio::screencodec::test
