// The zlib stream of a ZMBV stream, deflated on several cores when a packet is large.
//
// A ZMBV decoder inflates one zlib stream from a key frame to the next, packet by packet,
// each packet ending on a sync flush. That stream is written here as raw deflate pieces
// behind a zlib header of our own (written once, at the key frame): a large packet's input
// is cut into slices deflated at the same time, each primed with the 32 KB of input before
// it as its dictionary and ended by a sync flush on a byte boundary, so the slices joined are
// one deflate stream, byte for byte what a decoder expects, and almost as small as one
// deflater would make it (every slice sees the same history a single deflater would). The
// stream's Adler-32 trailer is never written: the stream never ends, and ZMBV decoders never
// read it.
//
// Small packets (most of a screen's) go through one deflater that keeps its own history; it
// is told the true history again after a packet deflated in slices.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "screencodec/core/task_runner.h"

namespace zelvio::screencodec {

// How a packet is deflated: zlib's level (1-9) and strategy (Z_DEFAULT_STRATEGY, Z_RLE, ...).
struct Compression {
  int level = 6;
  int strategy = Z_DEFAULT_STRATEGY;
  bool operator==(const Compression&) const = default;
};

class ZmbvDeflater {
 public:
  // `largestInput`: the most one packet will ever hand in. `runner` may be null (one thread).
  ZmbvDeflater(size_t largestInput, TaskRunner* runner);
  ~ZmbvDeflater();
  ZmbvDeflater(const ZmbvDeflater&) = delete;
  ZmbvDeflater& operator=(const ZmbvDeflater&) = delete;

  // A key frame: the stream starts afresh, and the next packet carries the zlib header.
  void StartStream();
  // Appends `n` bytes of `in`, deflated and ended on a sync flush, to `packet`. Throws
  // std::runtime_error when zlib fails and std::bad_alloc when memory runs out; either way
  // the stream is broken and must be restarted (StartStream) before the next packet.
  void Deflate(const uint8_t* in, size_t n, Compression how, std::vector<uint8_t>& packet);

  // Below this much input a packet is deflated whole: slicing costs a dictionary load and a
  // thread hand-over per slice, which only pays on hundreds of kilobytes.
  static constexpr size_t kMinSlice = size_t(128) * 1024;
  // A packet is cut into no more slices than this, whatever the machine: past it the time a
  // frame takes hardly shrinks, and each slice keeps a deflater's half a megabyte.
  static constexpr int kMaxSlices = 8;
  // deflate looks back at most this far.
  static constexpr size_t kWindow = size_t(32) * 1024;

  // How many slices a packet of `n` bytes is cut into.
  int SlicesFor(size_t n) const;

 private:
  struct Piece;

  void DeflateWhole(const uint8_t* in, size_t n, Compression how, std::vector<uint8_t>& packet);
  void DeflateSliced(const uint8_t* in, size_t n, int slices, Compression how, std::vector<uint8_t>& packet);
  void RememberHistory(const uint8_t* in, size_t n);
  // The stream's last kWindow bytes of input (fewer early in a stream).
  const uint8_t* HistoryData() const;
  size_t HistoryBytes() const;

  TaskRunner* runner_;
  std::unique_ptr<Piece> whole_;                // the single deflater, with its own history
  std::vector<std::unique_ptr<Piece>> slices_;  // one per slice, made when first needed
  std::vector<uint8_t> history_;                // the stream's last kWindow bytes of input
  bool wholeKnowsHistory_ = true;               // false after a packet deflated in slices
  bool headerDue_ = true;
};

}  // namespace zelvio::screencodec
