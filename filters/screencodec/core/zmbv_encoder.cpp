#include "zmbv_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "zmbv_deflate.h"
#include "zmbv_motion.h"
#include "zmbv_tuning.h"
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

size_t VectorArrayBytes(int width, int height) {
  size_t blocks = size_t((width + ZmbvEncoder::kBlockWidth - 1) / ZmbvEncoder::kBlockWidth) *
                  size_t((height + ZmbvEncoder::kBlockHeight - 1) / ZmbvEncoder::kBlockHeight);
  return (blocks * 2 + 3) & ~size_t(3);
}

// deflate's own worst case for `n` bytes (stored blocks of at least 16 KB at memLevel 8 or
// more, 5 bytes each), plus the zlib header and, per slice, the sync flush's empty stored
// block.
size_t DeflateBound(size_t n) {
  return n + (n >> 12) + (n >> 14) + (n >> 25) + 2 + ZmbvDeflater::kMaxSlices * (13 + 6 + 16);
}

}  // namespace

ZmbvEncoder::ZmbvEncoder(const EncoderSettings& settings) : settings_(settings) {
  if (!CanEncode(settings.width, settings.height))
    throw std::invalid_argument("ZMBV frame size out of range");
  if (settings.keyFrameInterval < 1)
    throw std::invalid_argument("ZMBV key frame interval must be at least 1");
  uint64_t pixels = uint64_t(settings.width) * uint64_t(settings.height);
  across_ = (settings.width + kBlockWidth - 1) / kBlockWidth;
  down_ = (settings.height + kBlockHeight - 1) / kBlockHeight;
  vectorBytes_ = VectorArrayBytes(settings.width, settings.height);
  size_t frameBytes = size_t(pixels) * 4;
  kept_.reset(new uint8_t[frameBytes]);
  input_.reset(new uint8_t[vectorBytes_ + frameBytes]);
  changed_.assign(size_t(across_) * down_, 0);
  deflater_ = std::make_unique<ZmbvDeflater>(vectorBytes_ + frameBytes, settings.runner);
}

ZmbvEncoder::~ZmbvEncoder() = default;

bool ZmbvEncoder::CanEncode(int width, int height) {
  if (width < 1 || height < 1) return false;
  // 4 bytes a pixel and at most 4 more (a 1x1 block's padded vector) stay within the limit.
  return uint64_t(width) * uint64_t(height) <= kLargestPayload / 8;
}

size_t ZmbvEncoder::MaxPacketSize(int width, int height) {
  if (!CanEncode(width, height)) return 0;
  size_t frameBytes = size_t(width) * size_t(height) * 4;
  return kKeyHeader + DeflateBound(VectorArrayBytes(width, height) + frameBytes);
}

bool ZmbvEncoder::Encode(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  bool key = keyRequested_ || sinceKey_ >= settings_.keyFrameInterval;
  // A packet that fails leaves the stream broken for every later one: start afresh.
  keyRequested_ = true;
  if (key) {
    EncodeKey(top, stride, packet);
    sinceKey_ = 1;
  } else {
    EncodeInter(top, stride, packet);
    ++sinceKey_;
  }
  keyRequested_ = false;
  return key;
}

void ZmbvEncoder::EncodeKey(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  const size_t rowBytes = size_t(settings_.width) * 4;
  for (int y = 0; y < settings_.height; ++y)
    CopyColours(kept_.get() + y * rowBytes, top + y * stride, size_t(settings_.width));
  const uint8_t header[kKeyHeader] = {kKeyFlag,  kVersionMajor,        kVersionMinor,        kZlib,
                                      kFormat32, uint8_t(kBlockWidth), uint8_t(kBlockHeight)};
  packet.assign(header, header + kKeyHeader);
  deflater_->StartStream();
  const int threads = settings_.runner ? settings_.runner->Threads() : 1;
  deflater_->Deflate(kept_.get(), rowBytes * settings_.height,
                     KeyCompression(Tuned(), KeptIsPicture(), threads), packet);
}

void ZmbvEncoder::EncodeInter(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet) {
  std::memset(input_.get(), 0, vectorBytes_);
  size_t inputBytes = vectorBytes_;
  bool any = MarkChanged(top, stride);
  if (any) inputBytes = ChooseVectors(top, stride);
  const uint8_t header[kInterHeader] = {0};
  packet.assign(header, header + kInterHeader);
  const PacketContents contents{inputBytes, any ? xorBytes_ : 0, any ? differingBytes_ : 0};
  deflater_->Deflate(input_.get(), inputBytes, InterCompression(Tuned(), contents), packet);
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

// The vectors a changed block tries before any search of its own: its left and upper
// neighbours' (moved content moves together) and what the probes found, each once, only
// those that move and keep the block inside the frame.
// The vectors a changed block tries before any search of its own: its left and upper
// neighbours' (moved content moves together; the upper one only within the band, whose rows
// one thread chooses in order) and what the probes found, each once, only those that move
// and keep the block inside the frame.
std::vector<MotionVector> ZmbvEncoder::SharedCandidates(const BlockGrid& grid, int bx, int by, int firstRow,
                                                        const std::vector<MotionVector>& found) const {
  std::vector<MotionVector> tries;
  auto offer = [&](MotionVector v) {
    if ((v.dx || v.dy) && Reaches(grid, bx, by, v) && std::find(tries.begin(), tries.end(), v) == tries.end())
      tries.push_back(v);
  };
  const size_t index = size_t(by) * across_ + bx;
  if (bx > 0) offer(chosen_[index - 1]);
  if (by > firstRow) offer(chosen_[index - across_]);
  for (MotionVector v : found) offer(v);
  return tries;
}

// An exact match under a shared candidate costs two bytes and no XOR data. Otherwise the
// candidate (or no move) that leaves the fewest differing bytes, refined by a small local
// search where the frame's budget allows it.
ZmbvEncoder::Prediction ZmbvEncoder::PredictBlock(const MotionFrames& frames, int bx, int by,
                                                  const std::vector<MotionVector>& tries,
                                                  LocalSearchBudget::Tally& tally) const {
  for (MotionVector v : tries) {
    if (BlockMatches(frames.source, frames.kept, frames.grid, bx, by, v)) return {v, true, 0};
  }
  MotionVector best{};
  size_t cost = BlockCost(frames.source, frames.kept, frames.grid, bx, by, best, SIZE_MAX);
  for (MotionVector v : tries) {
    size_t c = BlockCost(frames.source, frames.kept, frames.grid, bx, by, v, cost);
    if (c < cost) {
      cost = c;
      best = v;
    }
  }
  if (cost > 0 && refine_.Next(tally)) {
    const size_t before = cost;
    best = RefineLocally(frames.source, frames.kept, frames.grid, bx, by, best, cost, Tuned().refineSteps);
    LocalSearchBudget::Count(tally, cost + cost / 8 < before);
  }
  return {best, cost == 0, cost};
}

// The blocks of rows [band.fromRow, band.toRow): their vectors in place, their XOR data at
// `out` in raster order. Touches nothing another band does, so bands run side by side.
void ZmbvEncoder::ChooseBand(const MotionFrames& frames, const std::vector<MotionVector>& found, Band& band,
                             uint8_t* out) {
  uint8_t* const start = out;
  uint8_t* vectors = input_.get();
  band.differing = 0;
  band.tally = {};
  for (int by = band.fromRow; by < band.toRow; ++by) {
    for (int bx = 0; bx < across_; ++bx) {
      const size_t index = size_t(by) * across_ + bx;
      if (!changed_[index]) continue;
      const Prediction p = PredictBlock(
          frames, bx, by, SharedCandidates(frames.grid, bx, by, band.fromRow, found), band.tally);
      chosen_[index] = p.v;
      vectors[index * 2] = uint8_t((p.v.dx * 2) | (p.exact ? 0 : 1));
      vectors[index * 2 + 1] = uint8_t(p.v.dy * 2);
      if (p.exact) continue;
      out = WriteXor(frames, bx, by, p.v, out);
      band.differing += p.cost;
    }
  }
  band.xorBytes = size_t(out - start);
}

// A frame that changed in many blocks (a moving picture) is cut into bands of block rows,
// one per thread; the first band writes its XOR data in place, the others into buffers of
// their own that are then moved up behind it.
size_t ZmbvEncoder::ChooseVectors(const uint8_t* top, std::ptrdiff_t stride) {
  const MotionFrames frames{{top, stride}, {kept_.get(), settings_.width, settings_.height}, Grid()};
  const std::vector<MotionVector> found =
      FindMovedContent(frames.source, frames.kept, frames.grid, changed_, Tuned().probes, Tuned().candidates);
  chosen_.assign(changed_.size(), MotionVector{});
  refine_.StartFrame();

  const size_t changedBlocks = size_t(std::count(changed_.begin(), changed_.end(), uint8_t(1)));
  const int threads = settings_.runner ? settings_.runner->Threads() : 1;
  const int count =
      int(std::clamp<size_t>(changedBlocks / kBlocksPerBand, 1, size_t(std::min(threads, down_))));
  bands_.resize(size_t(count));
  for (int b = 0; b < count; ++b) {
    Band& band = bands_[size_t(b)];
    band.fromRow = down_ * b / count;
    band.toRow = down_ * (b + 1) / count;
    if (b > 0) band.xor_.resize(size_t(band.toRow - band.fromRow) * kBlockHeight * settings_.width * 4);
  }
  uint8_t* out = input_.get() + vectorBytes_;
  auto choose = [&](int b) {
    Band& band = bands_[size_t(b)];
    ChooseBand(frames, found, band, b == 0 ? out : band.xor_.data());
  };
  if (count == 1) {
    choose(0);
  } else {
    settings_.runner->RunAll(count, choose);
  }

  xorBytes_ = differingBytes_ = 0;
  for (int b = 0; b < count; ++b) {
    const Band& band = bands_[size_t(b)];
    if (b > 0) std::memcpy(out + xorBytes_, band.xor_.data(), band.xorBytes);
    xorBytes_ += band.xorBytes;
    differingBytes_ += band.differing;
    refine_.Add(band.tally);
  }
  return vectorBytes_ + xorBytes_;
}

uint8_t* ZmbvEncoder::WriteXor(const MotionFrames& frames, int bx, int by, MotionVector v,
                               uint8_t* out) const {
  const int x0 = bx * kBlockWidth, y0 = by * kBlockHeight;
  const int w = frames.grid.BlockW(bx), h = frames.grid.BlockH(by);
  for (int j = 0; j < h; ++j) {
    XorColours(out, frames.source.At(x0, y0 + j), frames.kept.At(x0 + v.dx, y0 + v.dy + j), size_t(w));
    out += size_t(w) * 4;
  }
  return out;
}

void ZmbvEncoder::KeepChanged(const uint8_t* top, std::ptrdiff_t stride) {
  const BlockGrid grid = Grid();
  const size_t rowBytes = size_t(settings_.width) * 4;
  for (int by = 0; by < down_; ++by) {
    for (int bx = 0; bx < across_; ++bx) {
      if (!changed_[size_t(by) * across_ + bx]) continue;
      const int x0 = bx * kBlockWidth, y0 = by * kBlockHeight;
      for (int j = 0; j < grid.BlockH(by); ++j)
        CopyColours(kept_.get() + (y0 + j) * rowBytes + x0 * 4, top + (y0 + j) * stride + x0 * 4,
                    size_t(grid.BlockW(bx)));
    }
  }
}

// Every eighth row is enough to tell a picture from a screen.
bool ZmbvEncoder::KeptIsPicture() const {
  size_t sampled = 0, likeLeft = 0;
  for (int y = 0; y < settings_.height; y += 8) {
    const uint8_t* row = kept_.get() + size_t(y) * settings_.width * 4;
    for (int x = 1; x < settings_.width; ++x)
      likeLeft += std::memcmp(row + x * 4, row + x * 4 - 4, 4) == 0 ? 1 : 0;
    sampled += size_t(settings_.width - 1);
  }
  return MostlyPicture(sampled, likeLeft);
}

const Tuning& ZmbvEncoder::Tuned() const {
  return settings_.effort == Effort::Smaller ? kSmallerTuning : kFasterTuning;
}

BlockGrid ZmbvEncoder::Grid() const {
  return {settings_.width, settings_.height, kBlockWidth, kBlockHeight, across_, down_};
}

}  // namespace zelvio::screencodec
