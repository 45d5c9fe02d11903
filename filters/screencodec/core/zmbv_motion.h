// Finding content of the new frame that was already on the screen, moved: a page scrolled
// by some lines, a window dragged. ZMBV codes that as one vector per block (-64..63 each
// way), predicted from the previous frame; the encoder only has to find the vectors.
//
// Searching every block over every vector costs 127 x 127 block compares each, far too much
// for 8000 blocks a frame. Moved content moves together, so a few probe blocks are searched
// fully and the vectors they find become the candidates every changed block tries with exact
// compares (beside its neighbours' vectors). Probes that find nothing (new pictures, noise)
// cost a few milliseconds at most, bounded by the probe count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvio::screencodec {

// The frame being encoded as the caller gave it (rows `stride` bytes apart, X bytes ignored).
struct SourceFrame {
  const uint8_t* top = nullptr;
  std::ptrdiff_t stride = 0;
  const uint8_t* At(int x, int y) const { return top + y * stride + std::ptrdiff_t(x) * 4; }
};

// The previous frame as the decoder has it: packed top-down rows, X bytes 0.
struct KeptFrame {
  const uint8_t* data = nullptr;
  int width = 0, height = 0;
  const uint8_t* At(int x, int y) const { return data + (size_t(y) * width + x) * 4; }
};

struct BlockGrid {
  int width = 0, height = 0;  // of the frame
  int blockWidth = 0, blockHeight = 0;
  int across = 0, down = 0;
  int BlockW(int bx) const { return bx == across - 1 ? width - bx * blockWidth : blockWidth; }
  int BlockH(int by) const { return by == down - 1 ? height - by * blockHeight : blockHeight; }
};

struct MotionVector {
  int dx = 0, dy = 0;
  bool operator==(const MotionVector&) const = default;
};

constexpr int kMaxVector = 63;  // both ways the format allows -64..63; +-63 keeps it symmetric
constexpr int kMinVector = -63;

// True when the whole block (bx, by) of `source` equals `kept` shifted by `v`. The shifted
// block must lie inside the frame (see Reaches).
bool BlockMatches(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx, int by,
                  MotionVector v);

// Whether the block (bx, by) shifted by `v` lies inside the frame. The encoder only uses
// such vectors: outside pixels predict 0, which never helps a screen.
bool Reaches(const BlockGrid& grid, int bx, int by, MotionVector v);

// Colour bytes of block (bx, by) that differ from `kept` shifted by `v` (inside the frame):
// how much its XOR leaves to deflate. Counting may stop once it passes `limit`.
size_t BlockCost(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx, int by,
                 MotionVector v, size_t limit);

// Moved content that no shared vector explains (a zoom, a video, many small moves): from
// `start`, whose cost is `cost`, steps to whichever of the eight neighbouring vectors costs
// least while that costs less, at most `steps` times, so never further than `steps` pixels
// each way. Returns the vector reached and leaves its cost in `cost`.
MotionVector RefineLocally(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx,
                           int by, MotionVector start, size_t& cost, int steps);

// Whether a block gets its local search. Every block does while the search pays off; once a
// frame shows it rarely does (a video with grain, where no move explains anything), only one
// block in kSampleEvery does, so the search costs little and is still measured.
class LocalSearchBudget {
 public:
  static constexpr int kSampleEvery = 8;
  // What one stretch of a frame's blocks (one thread's) saw of the search.
  struct Tally {
    int seen = 0, tried = 0, improved = 0;
  };

  // The sampling of the next frame, from the tallies the last one added.
  void StartFrame() {
    every_ = tried_ >= 32 && improved_ * 16 < tried_ ? kSampleEvery : 1;
    tried_ = improved_ = 0;
  }
  bool Next(Tally& tally) const { return tally.seen++ % every_ == 0; }
  static void Count(Tally& tally, bool improved) {
    ++tally.tried;
    tally.improved += improved ? 1 : 0;
  }
  void Add(const Tally& tally) {
    tried_ += tally.tried;
    improved_ += tally.improved;
  }

 private:
  int every_ = 1, tried_ = 0, improved_ = 0;
};

// Vectors (never 0,0) under which probe blocks among the `changed` ones (one byte per block,
// raster order, nonzero = changed) were found whole in `kept`, most often found first, at
// most `maxCandidates`.
std::vector<MotionVector> FindMovedContent(const SourceFrame& source, const KeptFrame& kept,
                                           const BlockGrid& grid, const std::vector<uint8_t>& changed,
                                           int maxProbes, int maxCandidates);

}  // namespace zelvio::screencodec
