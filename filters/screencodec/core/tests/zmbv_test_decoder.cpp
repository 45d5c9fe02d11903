#include "zmbv_test_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zelvio::screencodec::test {

struct ZmbvTestDecoder::Inflater {
  z_stream stream{};
  bool open = false;
  ~Inflater() {
    if (open) inflateEnd(&stream);
  }
  bool Restart() {
    if (open) return inflateReset(&stream) == Z_OK;
    open = inflateInit(&stream) == Z_OK;
    return open;
  }
};

ZmbvTestDecoder::ZmbvTestDecoder(int width, int height)
    : width_(width), height_(height), inflater_(std::make_unique<Inflater>()) {
  if (width < 1 || height < 1 || width > 16384 || height > 16384)
    throw std::invalid_argument("bad frame size for the test decoder");
  picture_.assign(size_t(width) * height * 4, 0);
}

ZmbvTestDecoder::~ZmbvTestDecoder() = default;

bool ZmbvTestDecoder::Fail(const std::string& why) {
  error_ = why;
  ready_ = false;
  return false;
}

bool ZmbvTestDecoder::Decode(const uint8_t* data, size_t size) {
  error_.clear();
  if (size < 1) return Fail("empty packet");
  lastKey_ = (data[0] & 1) != 0;
  if (data[0] & ~3) return Fail("unknown flag bits");
  if (data[0] & 2) return Fail("delta palette flag in a 32-bit stream");
  return lastKey_ ? DecodeKey(data + 1, size - 1) : DecodeInter(data + 1, size - 1);
}

bool ZmbvTestDecoder::Unpack(const uint8_t* data, size_t size, size_t limit) {
  if (!compressed_) {
    if (size > limit) return Fail("stored payload too long");
    payload_.assign(data, data + size);
    return true;
  }
  // One byte of room past the limit, so too much data shows as such instead of stopping
  // exactly at the limit.
  payload_.resize(limit + 1);
  z_stream& z = inflater_->stream;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = uInt(size);
  z.next_out = payload_.data();
  z.avail_out = uInt(payload_.size());
  int rc = inflate(&z, Z_SYNC_FLUSH);
  if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return Fail("inflate failed");
  if (z.avail_in != 0) return Fail("packet holds more than one frame's data");
  payload_.resize(payload_.size() - z.avail_out);
  if (payload_.size() > limit) return Fail("inflated payload too long");
  return true;
}

bool ZmbvTestDecoder::DecodeKey(const uint8_t* data, size_t size) {
  if (size < 6) return Fail("key frame header cut short");
  if (data[0] != 0 || data[1] != 1) return Fail("unsupported version");
  if (data[2] > 1) return Fail("unknown compression");
  if (data[3] != 8) return Fail("not a 32-bit format");
  if (data[4] == 0 || data[5] == 0) return Fail("zero block size");
  compressed_ = data[2] == 1;
  blockWidth_ = data[4];
  blockHeight_ = data[5];
  if (compressed_ && !inflater_->Restart()) return Fail("inflater failed to start");
  size_t frameBytes = size_t(width_) * height_ * 4;
  if (!Unpack(data + 6, size - 6, frameBytes)) return false;
  if (payload_.size() != frameBytes) return Fail("key frame of the wrong size");
  picture_ = payload_;
  ready_ = true;
  return true;
}

bool ZmbvTestDecoder::DecodeInter(const uint8_t* data, size_t size) {
  if (!ready_) return Fail("inter frame without a key frame before it");
  const int across = (width_ + blockWidth_ - 1) / blockWidth_;
  const int down = (height_ + blockHeight_ - 1) / blockHeight_;
  const size_t blocks = size_t(across) * down;
  const size_t vectorBytes = (blocks * 2 + 3) / 4 * 4;
  if (!Unpack(data, size, vectorBytes + size_t(width_) * height_ * 4)) return false;
  if (payload_.size() < vectorBytes) return Fail("vector array cut short");

  previous_ = picture_;
  vectors_.assign(blocks, {});
  const uint8_t* xorData = payload_.data() + vectorBytes;
  const uint8_t* xorEnd = payload_.data() + payload_.size();
  for (size_t b = 0; b < blocks; ++b) {
    const int bx = int(b % across), by = int(b / across);
    const int x0 = bx * blockWidth_, y0 = by * blockHeight_;
    const int w = std::min(blockWidth_, width_ - x0), h = std::min(blockHeight_, height_ - y0);
    BlockVector& v = vectors_[b];
    v.dx = int8_t(payload_[b * 2]) >> 1;
    v.dy = int8_t(payload_[b * 2 + 1]) >> 1;
    v.xored = (payload_[b * 2] & 1) != 0;
    if (v.xored && size_t(xorEnd - xorData) < size_t(w) * h * 4) return Fail("XOR data cut short");
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const int sx = x0 + i + v.dx, sy = y0 + j + v.dy;
        uint8_t* dst = &picture_[(size_t(y0 + j) * width_ + x0 + i) * 4];
        if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_)
          std::memset(dst, 0, 4);
        else
          std::memcpy(dst, &previous_[(size_t(sy) * width_ + sx) * 4], 4);
        if (v.xored) {
          for (int k = 0; k < 4; ++k) dst[k] ^= *xorData++;
        }
      }
    }
  }
  if (xorData != xorEnd) return Fail("XOR data longer than the flagged blocks");
  return true;
}

}  // namespace zelvio::screencodec::test
