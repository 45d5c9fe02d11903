// Stream formats and sinks the AVI tests build their files with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "capture/avi/avi_layout.h"
#include "avi_writer.h"
#include "avi_reader.h"

namespace avitest {

using zelvio::avi::Bytes;
using zelvio::avi::StreamFormat;
using zelvio::avi::StreamKind;

inline void Put(Bytes& b, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// BITMAPINFOHEADER.
inline Bytes BitmapHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression) {
  Bytes b;
  Put(b, 40, 4);
  Put(b, uint32_t(width), 4);
  Put(b, uint32_t(height), 4);
  Put(b, 1, 2);
  Put(b, bits, 2);
  Put(b, compression, 4);
  Put(b, uint32_t(width * std::abs(height) * bits / 8), 4);
  for (int i = 0; i < 4; ++i) Put(b, 0, 4);
  return b;
}

// WAVEFORMATEX for PCM.
inline Bytes WaveFormat(uint32_t rate, uint16_t bits, uint16_t channels) {
  Bytes b;
  uint16_t align = uint16_t(bits / 8 * channels);
  Put(b, 1, 2);
  Put(b, channels, 2);
  Put(b, rate, 4);
  Put(b, rate * align, 4);
  Put(b, align, 2);
  Put(b, bits, 2);
  Put(b, 0, 2);
  return b;
}

constexpr uint32_t kMjpg = 'M' | 'J' << 8 | 'P' << 16 | uint32_t('G') << 24;
constexpr uint32_t kZmbv = 'Z' | 'M' << 8 | 'B' << 16 | uint32_t('V') << 24;

inline StreamFormat RawVideo(int32_t w, int32_t h, int64_t avgTime = 333333) {
  return {StreamKind::Video, BitmapHeader(w, h, 32, 0), avgTime};
}
inline StreamFormat MjpgVideo(int32_t w, int32_t h, int64_t avgTime = 400000) {
  return {StreamKind::Video, BitmapHeader(w, h, 24, kMjpg), avgTime};
}
// The screen codec's format as our compressor connects it: 32 bits, 'ZMBV'.
inline StreamFormat ZmbvVideo(int32_t w, int32_t h, int64_t avgTime = 1000000) {
  return {StreamKind::Video, BitmapHeader(w, h, 32, kZmbv), avgTime};
}
inline StreamFormat PcmAudio(uint32_t rate = 8000, uint16_t bits = 16, uint16_t channels = 1) {
  return {StreamKind::Audio, WaveFormat(rate, bits, channels), 0};
}

// A whole file in memory.
struct MemorySink : zelvio::avi::AviSink {
  Bytes bytes;
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (bytes.size() < offset + size) bytes.resize(offset + size, 0);
    if (size) std::memcpy(bytes.data() + offset, data, size);
  }
};

// Keeps the small writes (headers, indexes) and only the extent of large payloads, which
// the tests fill with zeros; lets a test lay out files of several GB without storing them.
struct SparseSink : zelvio::avi::AviSink {
  struct Write {
    uint64_t offset;
    uint64_t size;
    Bytes data;  // empty for a dropped payload
  };
  static constexpr size_t kKeepLimit = 1 << 20;
  std::vector<Write> writes;
  uint64_t size = 0;

  void WriteAt(uint64_t offset, const void* data, size_t n) override {
    Write w{offset, n, {}};
    if (n <= kKeepLimit)
      w.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
    writes.push_back(std::move(w));
    size = std::max<uint64_t>(size, offset + n);
  }
  ReadFn Reader() const {
    return [this](uint64_t at, void* out, size_t n) {
      auto* o = static_cast<uint8_t*>(out);
      std::memset(o, 0, n);
      for (const auto& w : writes) {
        if (w.data.empty() || w.offset >= at + n || w.offset + w.size <= at) continue;
        uint64_t from = std::max(at, w.offset), to = std::min(at + n, w.offset + w.size);
        std::memcpy(o + (from - at), w.data.data() + (from - w.offset), to - from);
      }
    };
  }
};

}  // namespace avitest
