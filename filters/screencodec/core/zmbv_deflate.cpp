#include "zmbv_deflate.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace zelvio::screencodec {
namespace {

// CMF: deflate with a 32 KB window; FLG: no preset dictionary, check bits making
// CMF * 256 + FLG a multiple of 31.
constexpr uint8_t kZlibHeader[2] = {0x78, 0x01};

// deflate's own worst case for `n` bytes (stored blocks of at least 16 KB at memLevel 8 or
// more, 5 bytes each), plus the sync flush's empty stored block and a margin.
size_t DeflateBound(size_t n) { return n + (n >> 12) + (n >> 14) + (n >> 25) + 13 + 6 + 16; }

}  // namespace

// One raw deflate stream and the buffer it writes into.
struct ZmbvDeflater::Piece {
  z_stream stream{};
  Compression how;
  std::unique_ptr<uint8_t[]> out;
  size_t capacity = 0;
  size_t used = 0;
  bool failed = false;

  explicit Piece(Compression start) : how(start) {
    // Raw deflate (no header or checksum of its own); memLevel 9: the largest hash table and
    // symbol buffer, fewer and better blocks for the same speed on a frame of megabytes.
    if (deflateInit2(&stream, how.level, Z_DEFLATED, -15, 9, how.strategy) != Z_OK) throw std::bad_alloc();
  }
  ~Piece() { deflateEnd(&stream); }
  Piece(const Piece&) = delete;
  Piece& operator=(const Piece&) = delete;

  void Reserve(size_t n) {
    size_t want = DeflateBound(n);
    if (capacity >= want) return;
    out.reset(new uint8_t[want]);
    capacity = want;
  }

  // Level and strategy may change between packets. The previous packet ended on a sync flush,
  // so nothing is pending: whatever the switch writes (nothing, as a rule) opens this
  // packet's part of the stream.
  bool Switch(Compression want) {
    if (want == how) return true;
    stream.next_in = nullptr;
    stream.avail_in = 0;
    stream.next_out = out.get() + used;
    stream.avail_out = uInt(capacity - used);
    if (deflateParams(&stream, want.level, want.strategy) != Z_OK) return false;
    used = capacity - stream.avail_out;
    how = want;
    return true;
  }

  // Deflates `n` bytes behind what `out` holds, ending on a sync flush. False when zlib
  // fails or the bound was wrong (never expected).
  bool Run(const uint8_t* in, size_t n) {
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = uInt(n);
    stream.next_out = out.get() + used;
    stream.avail_out = uInt(capacity - used);
    int result = deflate(&stream, Z_SYNC_FLUSH);
    used = capacity - stream.avail_out;
    return result != Z_STREAM_ERROR && stream.avail_in == 0 && stream.avail_out != 0;
  }

  // A slice: a fresh stream at `how`, primed with `dictionary`, then `in`.
  void Slice(const uint8_t* dictionary, size_t dictionaryBytes, const uint8_t* in, size_t n,
             Compression want) {
    used = 0;
    failed = true;
    if (deflateReset(&stream) != Z_OK) return;
    if (!(want == how)) {
      if (deflateParams(&stream, want.level, want.strategy) != Z_OK) return;
      how = want;
    }
    if (dictionaryBytes && deflateSetDictionary(&stream, dictionary, uInt(dictionaryBytes)) != Z_OK) return;
    failed = !Run(in, n);
  }
};

ZmbvDeflater::ZmbvDeflater(size_t largestInput, TaskRunner* runner)
    : runner_(runner), whole_(std::make_unique<Piece>(Compression{})) {
  // With one thread every packet, a whole key frame included, goes through this deflater.
  whole_->Reserve(largestInput);
  history_.reserve(2 * kWindow);
}

ZmbvDeflater::~ZmbvDeflater() = default;

void ZmbvDeflater::StartStream() {
  if (deflateReset(&whole_->stream) != Z_OK) throw std::runtime_error("deflate failed");
  history_.clear();
  wholeKnowsHistory_ = true;
  headerDue_ = true;
}

int ZmbvDeflater::SlicesFor(size_t n) const {
  int threads = runner_ ? std::clamp(runner_->Threads(), 1, kMaxSlices) : 1;
  size_t most = n / kMinSlice;
  return int(std::max<size_t>(1, std::min<size_t>(size_t(threads), most)));
}

void ZmbvDeflater::Deflate(const uint8_t* in, size_t n, Compression how, std::vector<uint8_t>& packet) {
  if (headerDue_) {
    packet.insert(packet.end(), kZlibHeader, kZlibHeader + 2);
    headerDue_ = false;
  }
  int slices = SlicesFor(n);
  if (slices > 1) {
    DeflateSliced(in, n, slices, how, packet);
  } else {
    DeflateWhole(in, n, how, packet);
  }
  RememberHistory(in, n);
}

void ZmbvDeflater::DeflateWhole(const uint8_t* in, size_t n, Compression how, std::vector<uint8_t>& packet) {
  Piece& piece = *whole_;
  piece.Reserve(n);
  piece.used = 0;
  if (!wholeKnowsHistory_) {
    // Its window still holds its own last input, not what the slices deflated since: the
    // stream's true last 32 KB replace it (a full window, so nothing stale stays behind).
    if (deflateSetDictionary(&piece.stream, HistoryData(), uInt(HistoryBytes())) != Z_OK)
      throw std::runtime_error("deflate failed");
    wholeKnowsHistory_ = true;
  }
  if (!piece.Switch(how) || !piece.Run(in, n)) throw std::runtime_error("deflate failed");
  packet.insert(packet.end(), piece.out.get(), piece.out.get() + piece.used);
}

void ZmbvDeflater::DeflateSliced(const uint8_t* in, size_t n, int slices, Compression how,
                                 std::vector<uint8_t>& packet) {
  while (int(slices_.size()) < slices) slices_.push_back(std::make_unique<Piece>(how));
  std::vector<size_t> starts(size_t(slices) + 1);
  for (int i = 0; i <= slices; ++i) starts[size_t(i)] = n * size_t(i) / size_t(slices);
  for (int i = 0; i < slices; ++i) slices_[size_t(i)]->Reserve(starts[size_t(i) + 1] - starts[size_t(i)]);

  runner_->RunAll(slices, [&](int i) {
    size_t from = starts[size_t(i)], to = starts[size_t(i) + 1];
    // The first slice continues the stream's history; every other one the input before it
    // (a slice is longer than the window, so that input is all in this packet).
    const uint8_t* dictionary = i == 0 ? HistoryData() : in + from - kWindow;
    size_t dictionaryBytes = i == 0 ? HistoryBytes() : kWindow;
    slices_[size_t(i)]->Slice(dictionary, dictionaryBytes, in + from, to - from, how);
  });

  for (int i = 0; i < slices; ++i) {
    const Piece& piece = *slices_[size_t(i)];
    if (piece.failed) throw std::runtime_error("deflate failed");
    packet.insert(packet.end(), piece.out.get(), piece.out.get() + piece.used);
  }
  wholeKnowsHistory_ = false;
}

// The window is kept at the end of a buffer of twice its size, so a small packet is only
// appended; the buffer moves its last window to the front once every window's worth of input.
void ZmbvDeflater::RememberHistory(const uint8_t* in, size_t n) {
  if (n >= kWindow) {
    history_.assign(in + n - kWindow, in + n);
    return;
  }
  if (history_.size() + n > 2 * kWindow) {
    const size_t keep = std::min(history_.size(), kWindow - n);
    history_.erase(history_.begin(), history_.end() - std::ptrdiff_t(keep));
  }
  history_.insert(history_.end(), in, in + n);
}

const uint8_t* ZmbvDeflater::HistoryData() const {
  return history_.data() + history_.size() - HistoryBytes();
}

size_t ZmbvDeflater::HistoryBytes() const { return std::min(history_.size(), kWindow); }

}  // namespace zelvio::screencodec
