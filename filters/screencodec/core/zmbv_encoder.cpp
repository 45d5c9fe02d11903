#include "zmbv_encoder.h"


#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "zmbv_motion.h"
#include "zmbv_pixels.h"

namespace zelvio::screencodec {
namespace {

constexpr uint8_t kKeyFlag = 1;
constexpr uint8_t kVersionMajor = 0, kVersionMinor = 1;
constexpr uint8_t kZlib = 1;
constexpr uint8_t kFormat32 = 8;
constexpr size_t kKeyHeader = 7;
constexpr size_t kInterHeader = 1;

// Larger frames would not fit zlib's 32-bit counts in one call; no screen comes near.
constexpr uint64_t kLargestPayload = uint64_t(1) << 30;

// What each effort costs, chosen by measurement on 1920x1080 screen-like clips (bench_zmbv):
// deflate dominates once anything changes. Level 3 is still zlib's fast matcher and, against
// level 1, shrinks text 25-35 % (typing, dragging, page turns) for the same median time;
// only a region of grainy pictures gets slower (40 -> 75 ms a frame). Level 6 halves the
// text again at page turns of ~90 ms; level 9 takes ~900 ms there for 15 % less. The
// strategies Z_RLE and Z_HUFFMAN_ONLY are twice as fast on pictures but make text 5-20
// times larger, so the default strategy stays. Both efforts search as widely for moved
// content: on grabbed screens, 32 probes and 4 candidates missed much of a dragged window
// and of moving pictures (3.7 and 2.2 times the bytes of 48 and 6) for no time saved.
//
// The level is chosen per packet from how much it has to deflate (zlib may change it between
// packets of one stream, the decoder never knows): most frames of a screen hold a few
// kilobytes of changes, where even level 9 costs well under a millisecond, while a frame of
// moving pictures holds megabytes, where only the fast levels keep up with the frame rate.
struct Tuning {
  int keyLevel;     // a key frame: the whole picture
  int smallLevel;   // an inter frame deflating up to kSmallInput bytes
  int mediumLevel;  // up to kMediumInput bytes
  int largeLevel;   // more
  int probes;       // probe blocks searched fully for moved content
  int candidates;   // vectors every changed block then tries
};

constexpr size_t kSmallInput = size_t(256) * 1024;
constexpr size_t kMediumInput = size_t(1024) * 1024;

// Measured on the grabbed corpus (scripts/bench_codec.sh's clips), CPU per inter frame:
// level 1 above a megabyte took the video-like clip from 64 to 44 ms a frame at the same
// size; level 9 on small packets costs a few tenths of a millisecond and trims what
// typing, scrolling and dragging write by 2-8 %. Key frames stay at the effort's own level:
// at level 6 or more a full-HD key frame takes 50-150 ms, several frame slots.
Tuning TuningFor(Effort effort) {
  if (effort == Effort::Smaller) return {6, 9, 9, 6, 48, 6};
  return {3, 9, 6, 1, 48, 6};
}

int InterLevel(const Tuning& tuning, size_t inputBytes) {
  if (inputBytes <= kSmallInput) return tuning.smallLevel;
  if (inputBytes <= kMediumInput) return tuning.mediumLevel;
  return tuning.largeLevel;
}

size_t VectorArrayBytes(int width, int height) {
  size_t blocks = size_t((width + ZmbvEncoder::kBlockWidth - 1) / ZmbvEncoder::kBlockWidth) *
                  size_t((height + ZmbvEncoder::kBlockHeight - 1) / ZmbvEncoder::kBlockHeight);
  return (blocks * 2 + 3) & ~size_t(3);
}

// deflate's own worst case for `n` bytes (stored blocks of at least 16 KB at memLevel 8 or
// more, 5 bytes each), plus the zlib header and the sync flush's empty stored block.
size_t DeflateBound(size_t n) { return n + (n >> 12) + (n >> 14) + (n >> 25) + 13 + 6 + 16; }

}  // namespace

// One zlib stream from a key frame to the next.
struct ZmbvEncoder::Deflater {
  z_stream stream{};
  std::unique_ptr<uint8_t[]> out;
  size_t capacity = 0;

  int currentLevel;

  Deflater(int level, size_t largestInput) : currentLevel(level) {
    // memLevel 9: the largest hash table and symbol buffer, fewer and better blocks for
    // the same speed on a frame of megabytes.
    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
    capacity = DeflateBound(largestInput) + kKeyHeader;
    out.reset(new uint8_t[capacity]);
  }
  ~Deflater() { deflateEnd(&stream); }

  // A key frame starts the stream afresh, with its header: the decoder resets there.
  void Restart() { deflateReset(&stream); }

  // Deflates `n` bytes at `level` behind `header` and leaves the whole packet in `packet`.
  void Pack(const uint8_t* header, size_t headerBytes, const uint8_t* in, size_t n, int level,
            std::vector<uint8_t>& packet) {
    std::memcpy(out.get(), header, headerBytes);
    size_t used = headerBytes;
    if (level != currentLevel) {
      // The previous packet ended on a sync flush, so nothing is pending: whatever the
      // switch writes (nothing, as a rule) belongs to this packet's part of the stream.
      stream.next_in = nullptr;
      stream.avail_in = 0;
      stream.next_out = out.get() + used;
      stream.avail_out = uInt(capacity - used);
      if (deflateParams(&stream, level, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate failed");
      used = capacity - stream.avail_out;
      currentLevel = level;
    }
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = uInt(n);
    for (;;) {
      stream.next_out = out.get() + used;
      stream.avail_out = uInt(capacity - used);
      if (deflate(&stream, Z_SYNC_FLUSH) == Z_STREAM_ERROR) throw std::runtime_error("deflate failed");
      used = capacity - stream.avail_out;
      if (stream.avail_out != 0) break;
      // Past the bound: never expected, but a bigger packet beats a broken one.
      std::unique_ptr<uint8_t[]> bigger(new uint8_t[capacity * 2]);
      std::memcpy(bigger.get(), out.get(), used);
      out = std::move(bigger);
      capacity *= 2;
    }
    packet.assign(out.get(), out.get() + used);
  }
};

ZmbvEncoder::ZmbvEncoder(const EncoderSettings& settings) : settings_(settings) {
  if (settings.width < 1 || settings.height < 1)
    throw std::invalid_argument("ZMBV frame size must be at least 1x1");
  if (settings.keyFrameInterval < 1) throw std::invalid_argument("ZMBV key frame interval must be at least 1");
  uint64_t pixels = uint64_t(settings.width) * uint64_t(settings.height);
  // 4 bytes a pixel and at most 4 more (a 1x1 block's padded vector) stay within the limit.
  if (pixels > kLargestPayload / 8)
    throw std::invalid_argument("ZMBV frame size too large");
  across_ = (settings.width + kBlockWidth - 1) / kBlockWidth;
  down_ = (settings.height + kBlockHeight - 1) / kBlockHeight;
  vectorBytes_ = VectorArrayBytes(settings.width, settings.height);
  size_t frameBytes = size_t(pixels) * 4;
  kept_.reset(new uint8_t[frameBytes]);
  input_.reset(new uint8_t[vectorBytes_ + frameBytes]);
  changed_.assign(size_t(across_) * down_, 0);
  deflater_ = std::make_unique<Deflater>(TuningFor(settings.effort).keyLevel, vectorBytes_ + frameBytes);
}

ZmbvEncoder::~ZmbvEncoder() = default;

size_t ZmbvEncoder::MaxPacketSize(int width, int height) {
  if (width < 1 || height < 1) return 0;
  size_t frameBytes = size_t(width) * size_t(height) * 4;
  return kKeyHeader + DeflateBound(VectorArrayBytes(width, height) + frameBytes);
}

bool ZmbvEncoder::Encode(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  bool key = keyRequested_ || sinceKey_ >= settings_.keyFrameInterval;
  if (key) {
    EncodeKey(top, stride, packet);
    sinceKey_ = 1;
    keyRequested_ = false;
  } else {
    EncodeInter(top, stride, packet);
    ++sinceKey_;
  }
  return key;
}

void ZmbvEncoder::EncodeKey(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  const size_t rowBytes = size_t(settings_.width) * 4;
  for (int y = 0; y < settings_.height; ++y)
    CopyColours(kept_.get() + y * rowBytes, top + y * stride, size_t(settings_.width));
  const uint8_t header[kKeyHeader] = {kKeyFlag,  kVersionMajor, kVersionMinor,           kZlib,
                                      kFormat32, uint8_t(kBlockWidth), uint8_t(kBlockHeight)};
  deflater_->Restart();
  deflater_->Pack(header, kKeyHeader, kept_.get(), rowBytes * settings_.height, TuningFor(settings_.effort).keyLevel,
                  packet);
}

void ZmbvEncoder::EncodeInter(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  std::memset(input_.get(), 0, vectorBytes_);
  size_t inputBytes = vectorBytes_;
  bool any = MarkChanged(top, stride);
  if (any) inputBytes = ChooseVectors(top, stride);
  const uint8_t header[kInterHeader] = {0};
  deflater_->Pack(header, kInterHeader, input_.get(), inputBytes, InterLevel(TuningFor(settings_.effort), inputBytes),
                  packet);
  // Only now: until every block has its prediction, the kept frame must stay the previous one.
  if (any) KeepChanged(top, stride);
}

// Every source pixel is read once here, a whole row at a time while rows are unchanged
// (the usual case on a screen), block by block only in rows that differ.
bool ZmbvEncoder::MarkChanged(const uint8_t* top, std::ptrdiff_t stride) {
  std::fill(changed_.begin(), changed_.end(), uint8_t(0));
  const int width = settings_.width;
  bool any = false;
  for (int y = 0; y < settings_.height; ++y) {
    const uint8_t* source = top + y * stride;
    const uint8_t* kept = kept_.get() + size_t(y) * width * 4;
    if (SameColours(source, kept, size_t(width))) continue;
    uint8_t* flags = changed_.data() + size_t(y / kBlockHeight) * across_;
    for (int bx = 0; bx < across_; ++bx) {
      if (flags[bx]) continue;
      int x = bx * kBlockWidth;
      size_t w = size_t(std::min(kBlockWidth, width - x));
      if (!SameColours(source + x * 4, kept + x * 4, w)) flags[bx] = any = true;
    }
  }
  return any;
}

// Per changed block: an exact match under a neighbour's vector or a candidate found by the
// probes costs two bytes and no XOR data; otherwise the vector that leaves the fewest
// differing pixels, XORed. Returns the bytes of input written (vectors and XOR data).
size_t ZmbvEncoder::ChooseVectors(const uint8_t* top, std::ptrdiff_t stride) {
  const SourceFrame source{top, stride};
  const KeptFrame kept{kept_.get(), settings_.width, settings_.height};
  const BlockGrid grid{settings_.width, settings_.height, kBlockWidth, kBlockHeight, across_, down_};
  const Tuning tuning = TuningFor(settings_.effort);
  const std::vector<MotionVector> found =
      FindMovedContent(source, kept, grid, changed_, tuning.probes, tuning.candidates);

  std::vector<MotionVector> chosen(changed_.size());
  std::vector<MotionVector> tries;
  uint8_t* vectors = input_.get();
  uint8_t* out = input_.get() + vectorBytes_;
  for (int by = 0; by < down_; ++by) {
    for (int bx = 0; bx < across_; ++bx) {
      size_t index = size_t(by) * across_ + bx;
      if (!changed_[index]) continue;
      tries.clear();
      auto offer = [&](MotionVector v) {
        if ((v.dx || v.dy) && Reaches(grid, bx, by, v) && std::find(tries.begin(), tries.end(), v) == tries.end())
          tries.push_back(v);
      };
      if (bx > 0) offer(chosen[index - 1]);
      if (by > 0) offer(chosen[index - across_]);
      for (MotionVector v : found) offer(v);

      MotionVector best{};
      bool exact = false;
      for (MotionVector v : tries) {
        if (BlockMatches(source, kept, grid, bx, by, v)) {
          best = v;
          exact = true;
          break;
        }
      }
      int x0 = bx * kBlockWidth, y0 = by * kBlockHeight;
      int w = grid.BlockW(bx), h = grid.BlockH(by);
      if (!exact && !tries.empty()) {
        auto differing = [&](MotionVector v, size_t limit) {
          size_t n = 0;
          for (int j = 0; j < h && n <= limit; ++j)
            n += CountDifferent(source.At(x0, y0 + j), kept.At(x0 + v.dx, y0 + v.dy + j), size_t(w), limit - n);
          return n;
        };
        size_t fewest = differing(best, size_t(w) * h);
        for (MotionVector v : tries) {
          size_t n = differing(v, fewest);
          if (n < fewest) {
            fewest = n;
            best = v;
          }
        }
      }
      chosen[index] = best;
      vectors[index * 2] = uint8_t((best.dx * 2) | (exact ? 0 : 1));
      vectors[index * 2 + 1] = uint8_t(best.dy * 2);
      if (exact) continue;
      for (int j = 0; j < h; ++j) {
        XorColours(out, source.At(x0, y0 + j), kept.At(x0 + best.dx, y0 + best.dy + j), size_t(w));
        out += size_t(w) * 4;
      }
    }
  }
  return size_t(out - input_.get());
}

void ZmbvEncoder::KeepChanged(const uint8_t* top, std::ptrdiff_t stride) {
  const size_t rowBytes = size_t(settings_.width) * 4;
  for (int by = 0; by < down_; ++by) {
    for (int bx = 0; bx < across_; ++bx) {
      if (!changed_[size_t(by) * across_ + bx]) continue;
      int x0 = bx * kBlockWidth, y0 = by * kBlockHeight;
      int w = std::min(kBlockWidth, settings_.width - x0), h = std::min(kBlockHeight, settings_.height - y0);
      for (int j = 0; j < h; ++j)
        CopyColours(kept_.get() + (y0 + j) * rowBytes + x0 * 4, top + (y0 + j) * stride + x0 * 4, size_t(w));
    }
  }
}

}  // namespace zelvio::screencodec
