// Puts ZMBV packets into an AVI file with Zelvio's own AVI writer, so ffmpeg can decode
// what the encoder made: BITMAPINFOHEADER with biCompression 'ZMBV', 32 bits, a positive
// height (a compressed bitmap is never top-down), and the key frames flagged in the index.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "capture/avi/avi_layout.h"
#include "support/avi_writer.h"

namespace zelvio::screencodec::bench {

class ZmbvAviFile {
 public:
  ZmbvAviFile(const std::string& path, int width, int height, int64_t avgTimePerFrame = 333333)
      : sink_(path), writer_(sink_, {{avi::StreamKind::Video, Header(width, height), avgTimePerFrame}}) {}

  void Append(const std::vector<uint8_t>& packet, bool key) {
    writer_.AppendChunk(0, packet.data(), packet.size(), key);
  }
  void Finish() { writer_.Finish(); }

 private:
  struct FileSink : avi::AviSink {
    FILE* file;
    explicit FileSink(const std::string& path) : file(std::fopen(path.c_str(), "wb")) {
      if (!file) throw std::runtime_error("cannot write " + path);
    }
    ~FileSink() override { std::fclose(file); }
    void WriteAt(uint64_t offset, const void* data, size_t size) override {
      if (std::fseek(file, long(offset), SEEK_SET) != 0 || std::fwrite(data, 1, size, file) != size)
        throw std::runtime_error("AVI write failed");
    }
  };

  static avi::Bytes Header(int width, int height) {
    avi::Bytes b;
    auto put = [&](uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    put(40, 4);
    put(uint32_t(width), 4);
    put(uint32_t(height), 4);
    put(1, 2);   // planes
    put(32, 2);  // bits
    put(avi::FourCC("ZMBV"), 4);
    put(uint32_t(width) * uint32_t(height) * 4, 4);
    for (int i = 0; i < 4; ++i) put(0, 4);
    return b;
  }

  FileSink sink_;
  avi::AviWriter writer_;
};

}  // namespace zelvio::screencodec::bench
