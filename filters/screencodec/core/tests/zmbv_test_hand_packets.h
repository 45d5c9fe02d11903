// Packets put together by hand from the format description, one zlib stream from a key
// frame on, each packet ending in a sync flush. For checking the test decoder (and ffmpeg)
// without the encoder.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace zelvio::screencodec::test {

class HandStream {
 public:
  HandStream() {
    if (deflateInit(&z_, 6) != Z_OK) throw std::runtime_error("deflateInit");
  }
  ~HandStream() { deflateEnd(&z_); }
  HandStream(const HandStream&) = delete;
  HandStream& operator=(const HandStream&) = delete;

  std::vector<uint8_t> Key(const std::vector<uint8_t>& pixels, int blockW, int blockH) {
    deflateReset(&z_);
    std::vector<uint8_t> p = {1, 0, 1, 1, 8, uint8_t(blockW), uint8_t(blockH)};
    Deflate(pixels, p);
    return p;
  }
  // `payload`: the vector array (padded) and the XOR data.
  std::vector<uint8_t> Inter(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> p = {0};
    Deflate(payload, p);
    return p;
  }

 private:
  void Deflate(const std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
    std::vector<uint8_t> buffer(in.size() * 2 + 64);
    z_.next_in = const_cast<Bytef*>(in.data());
    z_.avail_in = uInt(in.size());
    z_.next_out = buffer.data();
    z_.avail_out = uInt(buffer.size());
    if (deflate(&z_, Z_SYNC_FLUSH) != Z_OK || z_.avail_in != 0) throw std::runtime_error("deflate");
    out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - z_.avail_out));
  }
  z_stream z_{};
};

}  // namespace zelvio::screencodec::test
