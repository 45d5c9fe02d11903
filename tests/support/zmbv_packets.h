// Small but valid Zip Motion Blocks Video packets at 32 bits per pixel, for files that real
// decoders must play: a key frame of one colour, and inter frames that change nothing. One
// zlib stream runs from a key frame to the next, each packet ending with a sync flush, as
// the format wants; so an inter frame decodes only after every packet since its key frame.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "avi_samples.h"
#include "capture/avi/avi_layout.h"

namespace avitest {

class ZmbvPackets {
 public:
  ZmbvPackets(int width, int height) : width_(width), height_(height) {}
  ~ZmbvPackets() { End(); }
  ZmbvPackets(const ZmbvPackets&) = delete;
  ZmbvPackets& operator=(const ZmbvPackets&) = delete;

  // Flags (key), version 0.1, zlib, 32 bpp, 16x16 blocks, then every pixel B, G, R, 0.
  zelvio::avi::Bytes Key(uint32_t bgr) {
    End();
    if (deflateInit(&z_, Z_DEFAULT_COMPRESSION) != Z_OK) throw std::runtime_error("deflateInit");
    open_ = true;
    zelvio::avi::Bytes pixels;
    for (int i = 0; i < width_ * height_; ++i) {
      for (int b = 0; b < 3; ++b) pixels.push_back(uint8_t(bgr >> (8 * b)));
      pixels.push_back(0);
    }
    zelvio::avi::Bytes packet = {1, 0, 1, 1, 8, kBlock, kBlock};
    Deflate(pixels, packet);
    return packet;
  }

  // No flags, then a zero motion vector and no XOR data for every block: nothing changed.
  zelvio::avi::Bytes Unchanged() {
    if (!open_) throw std::logic_error("an inter frame needs a key frame before it");
    size_t blocks = size_t((width_ + kBlock - 1) / kBlock) * size_t((height_ + kBlock - 1) / kBlock);
    zelvio::avi::Bytes vectors((blocks * 2 + 3) / 4 * 4, 0);
    zelvio::avi::Bytes packet = {0};
    Deflate(vectors, packet);
    return packet;
  }

 private:
  static constexpr uint8_t kBlock = 16;

  void Deflate(zelvio::avi::Bytes& in, zelvio::avi::Bytes& out) {
    z_.next_in = in.data();
    z_.avail_in = uInt(in.size());
    uint8_t buffer[4096];
    do {
      z_.next_out = buffer;
      z_.avail_out = sizeof buffer;
      if (deflate(&z_, Z_SYNC_FLUSH) == Z_STREAM_ERROR) throw std::runtime_error("deflate");
      out.insert(out.end(), buffer, buffer + (sizeof buffer - z_.avail_out));
    } while (z_.avail_out == 0);
  }

  void End() {
    if (open_) deflateEnd(&z_);
    open_ = false;
  }

  int width_, height_;
  z_stream z_{};
  bool open_ = false;
};

}  // namespace avitest

namespace avitest {

// A screen-codec recording as the mux writes it. `frames` spells the video: 'K' a key frame
// (each of its own colour), 'i' an unchanged inter frame, 'e' an empty chunk (a frame the
// mux got no picture for: the one before it stays); with `sound`, one chunk of sound
// (a tenth of a second, as long as a frame) follows every frame. Cut off where a crash
// would leave it; `finished` is the same recording stopped cleanly.
struct ZmbvRecording {
  std::vector<StreamFormat> streams;
  Bytes unfinished, finished;
  AviView layout;  // chunk positions, read from the finished file
};

inline ZmbvRecording RecordZmbv(const std::string& frames, bool sound,
                                uint64_t segmentLimit = zelvio::avi::kSegmentLimit) {
  ZmbvRecording r;
  r.streams.push_back(ZmbvVideo(32, 16));
  if (sound) r.streams.push_back(PcmAudio());
  MemorySink crashed, clean;
  zelvio::avi::AviWriter a(crashed, r.streams, {segmentLimit}), b(clean, r.streams, {segmentLimit});
  ZmbvPackets packets(32, 16);
  Bytes silence(1600, 0);
  for (size_t i = 0; i < frames.size(); ++i) {
    bool key = frames[i] == 'K';
    Bytes packet;
    if (key) packet = packets.Key(uint32_t(0x2040F0u + 0x1F0B00u * i));
    if (frames[i] == 'i') packet = packets.Unchanged();
    for (auto* w : {&a, &b}) {
      w->AppendChunk(0, packet.data(), packet.size(), key);
      if (sound) w->AppendChunk(1, silence.data(), silence.size(), true);
    }
  }
  b.Finish();
  r.unfinished = crashed.bytes;
  r.finished = clean.bytes;
  r.layout = AviReader(MemoryRead(r.finished), r.finished.size()).Read();
  return r;
}

}  // namespace avitest
