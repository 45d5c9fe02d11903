// A small AVI reader of the tests' own, written from the published RIFF/AVI and OpenDML
// layouts and sharing nothing with the writer, so a wrong field in the writer cannot hide
// behind the same mistake in the reader. Reads through a callback, so it walks multi-GB
// sparse files without touching their payloads.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace avitest {

// Fills `out` with `n` bytes at `offset`; bytes past the end read as zero.
using ReadFn = std::function<void(uint64_t offset, void* out, size_t n)>;

struct Chunk {
  std::string id;
  uint64_t offset = 0;  // of the chunk header
  uint32_t size = 0;
};

struct SuperEntry {
  uint64_t offset = 0;
  uint32_t size = 0;
  uint32_t duration = 0;
};

struct StreamHeader {
  std::string type, handler;
  uint32_t scale = 0, rate = 0, length = 0, bufferSize = 0, sampleSize = 0;
  int16_t right = 0, bottom = 0;
  std::vector<uint8_t> format;
  std::string indxChunkId;
  std::vector<SuperEntry> indx;
};

struct Idx1Entry {
  std::string id;
  uint32_t flags = 0, offset = 0, size = 0;
};

// One ix## chunk, its entries turned into absolute chunk-header offsets.
struct StdIndex {
  std::string fcc, chunkId;
  uint64_t offset = 0;
  std::vector<uint64_t> chunkOffsets;
  std::vector<uint32_t> sizes;
  std::vector<bool> keys;
};

struct AviView {
  std::vector<Chunk> riffs;  // id holds the form type
  uint32_t microSecPerFrame = 0, flags = 0, totalFrames = 0, streamCount = 0, width = 0, height = 0;
  std::vector<StreamHeader> streams;
  bool hasDmlh = false;
  uint32_t dmlhFrames = 0;
  std::vector<uint64_t> moviLists;  // offsets of the LIST headers
  std::vector<Chunk> data;          // stream chunks in file order
  std::vector<Idx1Entry> idx1;
  std::vector<StdIndex> stdIndexes;  // reached through the super indexes
};

class AviReader {
 public:
  AviReader(ReadFn read, uint64_t size) : read_(std::move(read)), size_(size) {}

  // Throws std::runtime_error naming the first thing that is not a well-formed AVI.
  AviView Read() {
    uint64_t pos = 0;
    while (pos < size_) {
      if (Id(pos) != "RIFF") Fail("expected RIFF", pos);
      uint64_t end = pos + 8 + U32(pos + 4);
      if (end > size_) Fail("RIFF past the end of the file", pos);
      view_.riffs.push_back({Id(pos + 8), pos, U32(pos + 4)});
      Children(pos + 12, end, pos == 0);
      pos = end + (end & 1);
    }
    if (view_.riffs.empty() || view_.riffs[0].id != "AVI ") Fail("no RIFF AVI", 0);
    for (const auto& s : view_.streams) {
      for (const auto& e : s.indx) view_.stdIndexes.push_back(ReadStdIndex(e.offset));
    }
    return view_;
  }

 private:
  [[noreturn]] void Fail(const std::string& what, uint64_t at) {
    throw std::runtime_error(what + " at " + std::to_string(at));
  }
  std::vector<uint8_t> Bytes(uint64_t at, size_t n) {
    std::vector<uint8_t> b(n);
    read_(at, b.data(), n);
    return b;
  }
  uint32_t U32(uint64_t at) {
    auto b = Bytes(at, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
  }
  uint16_t U16(uint64_t at) {
    auto b = Bytes(at, 2);
    return uint16_t(b[0] | b[1] << 8);
  }
  uint64_t U64(uint64_t at) { return U32(at) | uint64_t(U32(at + 4)) << 32; }
  std::string Id(uint64_t at) {
    auto b = Bytes(at, 4);
    return std::string(b.begin(), b.end());
  }

  void Children(uint64_t pos, uint64_t end, bool first) {
    while (pos + 8 <= end) {
      std::string id = Id(pos);
      uint32_t size = U32(pos + 4);
      uint64_t next = pos + 8 + size + (size & 1);
      if (pos + 8 + size > end) Fail("chunk " + id + " past its parent", pos);
      if (id == "LIST")
        List(pos, size);
      else if (id == "idx1")
        Idx1(pos, size, first);
      else if (id != "JUNK")
        Fail("unexpected chunk " + id, pos);
      pos = next;
    }
  }

  void List(uint64_t pos, uint32_t size) {
    std::string type = Id(pos + 8);
    uint64_t end = pos + 8 + size;
    if (type == "hdrl")
      Hdrl(pos + 12, end);
    else if (type == "movi")
      Movi(pos, end);
    else
      Fail("unexpected list " + type, pos);
  }

  void Hdrl(uint64_t pos, uint64_t end) {
    while (pos + 8 <= end) {
      std::string id = Id(pos);
      uint32_t size = U32(pos + 4);
      if (id == "avih") {
        view_.microSecPerFrame = U32(pos + 8);
        view_.flags = U32(pos + 20);
        view_.totalFrames = U32(pos + 24);
        view_.streamCount = U32(pos + 32);
        view_.width = U32(pos + 40);
        view_.height = U32(pos + 44);
      } else if (id == "LIST" && Id(pos + 8) == "strl") {
        Strl(pos + 12, pos + 8 + size);
      } else if (id == "LIST" && Id(pos + 8) == "odml") {
        view_.hasDmlh = Id(pos + 12) == "dmlh";
        view_.dmlhFrames = U32(pos + 20);
      }
      pos += 8 + size + (size & 1);
    }
  }

  void Strl(uint64_t pos, uint64_t end) {
    StreamHeader s;
    while (pos + 8 <= end) {
      std::string id = Id(pos);
      uint32_t size = U32(pos + 4);
      uint64_t d = pos + 8;
      if (id == "strh") {
        s.type = Id(d);
        s.handler = Id(d + 4);
        s.scale = U32(d + 20);
        s.rate = U32(d + 24);
        s.length = U32(d + 32);
        s.bufferSize = U32(d + 36);
        s.sampleSize = U32(d + 44);
        s.right = int16_t(U16(d + 52));
        s.bottom = int16_t(U16(d + 54));
      } else if (id == "strf") {
        s.format = Bytes(d, size);
      } else if (id == "indx") {
        if (U16(d) != 4 || Bytes(d + 3, 1)[0] != 0) Fail("indx is not a super index", pos);
        uint32_t n = U32(d + 4);
        s.indxChunkId = Id(d + 8);
        for (uint32_t i = 0; i < n; ++i) {
          uint64_t e = d + 24 + 16ull * i;
          s.indx.push_back({U64(e), U32(e + 8), U32(e + 12)});
        }
      }
      pos += 8 + size + (size & 1);
    }
    view_.streams.push_back(s);
  }

  void Movi(uint64_t listPos, uint64_t end) {
    view_.moviLists.push_back(listPos);
    uint64_t pos = listPos + 12;
    while (pos + 8 <= end) {
      std::string id = Id(pos);
      uint32_t size = U32(pos + 4);
      if (pos + 8 + size > end) Fail("chunk " + id + " past its movi", pos);
      bool stream = id.size() == 4 && isdigit(uint8_t(id[0])) && isdigit(uint8_t(id[1]));
      if (stream)
        view_.data.push_back({id, pos, size});
      else if (id.rfind("ix", 0) != 0 && id != "JUNK")
        Fail("unexpected chunk " + id + " in movi", pos);
      pos += 8 + size + (size & 1);
    }
  }

  void Idx1(uint64_t pos, uint32_t size, bool first) {
    if (!first) Fail("idx1 outside the first RIFF", pos);
    for (uint32_t i = 0; i + 16 <= size; i += 16) {
      uint64_t e = pos + 8 + i;
      view_.idx1.push_back({Id(e), U32(e + 4), U32(e + 8), U32(e + 12)});
    }
  }

  StdIndex ReadStdIndex(uint64_t pos) {
    StdIndex ix;
    ix.offset = pos;
    ix.fcc = Id(pos);
    uint64_t d = pos + 8;
    if (U16(d) != 2 || Bytes(d + 3, 1)[0] != 1) Fail("not a standard index", pos);
    uint32_t n = U32(d + 4);
    ix.chunkId = Id(d + 8);
    uint64_t base = U64(d + 12);
    for (uint32_t i = 0; i < n; ++i) {
      uint64_t e = d + 24 + 8ull * i;
      uint32_t sz = U32(e + 4);
      ix.chunkOffsets.push_back(base + U32(e) - 8);
      ix.sizes.push_back(sz & 0x7FFFFFFFu);
      ix.keys.push_back((sz & 0x80000000u) == 0);
    }
    return ix;
  }

  ReadFn read_;
  uint64_t size_;
  AviView view_;
};

inline ReadFn MemoryRead(const std::vector<uint8_t>& bytes) {
  return [&bytes](uint64_t at, void* out, size_t n) {
    std::memset(out, 0, n);
    if (at >= bytes.size()) return;
    size_t have = std::min<uint64_t>(n, bytes.size() - at);
    std::memcpy(out, bytes.data() + at, have);
  };
}

}  // namespace avitest
