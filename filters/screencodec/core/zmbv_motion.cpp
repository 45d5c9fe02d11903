#include "zmbv_motion.h"

#include <algorithm>
#include <cstring>

#include "zmbv_pixels.h"

namespace zelvio::screencodec {
namespace {

constexpr uint64_t kTwoColours = 0x00FFFFFF00FFFFFFull;

uint64_t TwoPixels(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v & kTwoColours;
}

uint32_t Pixel(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v & 0x00FFFFFFu;
}

// Where a probe block is most recognisable: the row with the most colour changes along it,
// and the first change in that row. A pair of unlike neighbours is rare on a screen, so
// comparing that pair first rejects almost every wrong position with one load.
struct Feature {
  int row = 0, column = 0, changes = 0;
};

Feature FindFeature(const SourceFrame& source, int x0, int y0, int w, int h) {
  Feature best;
  for (int j = 0; j < h; ++j) {
    const uint8_t* row = source.At(x0, y0 + j);
    int changes = 0, first = 0;
    for (int i = 1; i < w; ++i) {
      if (Pixel(row + i * 4) != Pixel(row + (i - 1) * 4)) {
        if (changes++ == 0) first = i;
      }
    }
    if (changes > best.changes) best = {j, first, changes};
  }
  return best;
}

struct Vote {
  MotionVector v;
  int count = 0;
};

void AddVote(std::vector<Vote>& votes, MotionVector v) {
  for (auto& vote : votes) {
    if (vote.v == v) {
      ++vote.count;
      return;
    }
  }
  votes.push_back({v, 1});
}

// A probe that matches in more places than this sits in repeated content (a tiled desktop,
// a column of equal lines); it has said enough.
constexpr int kMatchesPerProbe = 4;

void SearchProbe(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx, int by,
                 std::vector<Vote>& votes) {
  int x0 = bx * grid.blockWidth, y0 = by * grid.blockHeight;
  int w = grid.blockWidth, h = grid.blockHeight;
  Feature f = FindFeature(source, x0, y0, w, h);
  if (f.changes == 0) return;  // a flat block matches anywhere and tells nothing
  uint64_t key = TwoPixels(source.At(x0 + f.column - 1, y0 + f.row));
  int dyFrom = std::max(kMinVector, -y0), dyTo = std::min(kMaxVector, grid.height - h - y0);
  int dxFrom = std::max(kMinVector, -x0), dxTo = std::min(kMaxVector, grid.width - w - x0);
  int found = 0;
  for (int dy = dyFrom; dy <= dyTo; ++dy) {
    const uint8_t* row = kept.At(x0 + f.column - 1, y0 + f.row + dy);
    for (int dx = dxFrom; dx <= dxTo; ++dx) {
      if (TwoPixels(row + std::ptrdiff_t(dx) * 4) != key) continue;
      if ((dx == 0 && dy == 0) || !BlockMatches(source, kept, grid, bx, by, {dx, dy})) continue;
      AddVote(votes, {dx, dy});
      if (++found == kMatchesPerProbe) return;
    }
  }
}

}  // namespace

bool Reaches(const BlockGrid& grid, int bx, int by, MotionVector v) {
  int x = bx * grid.blockWidth + v.dx, y = by * grid.blockHeight + v.dy;
  return x >= 0 && y >= 0 && x + grid.BlockW(bx) <= grid.width && y + grid.BlockH(by) <= grid.height;
}

bool BlockMatches(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx, int by,
                  MotionVector v) {
  int x0 = bx * grid.blockWidth, y0 = by * grid.blockHeight;
  int w = grid.BlockW(bx), h = grid.BlockH(by);
  for (int j = 0; j < h; ++j) {
    if (!SameColours(source.At(x0, y0 + j), kept.At(x0 + v.dx, y0 + v.dy + j), size_t(w))) return false;
  }
  return true;
}

size_t BlockCost(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx, int by,
                 MotionVector v, size_t limit) {
  int x0 = bx * grid.blockWidth, y0 = by * grid.blockHeight;
  int w = grid.BlockW(bx), h = grid.BlockH(by);
  size_t cost = 0;
  for (int j = 0; j < h && cost <= limit; ++j)
    cost += CountDifferentBytes(source.At(x0, y0 + j), kept.At(x0 + v.dx, y0 + v.dy + j), size_t(w),
                                limit - cost);
  return cost;
}

MotionVector RefineLocally(const SourceFrame& source, const KeptFrame& kept, const BlockGrid& grid, int bx,
                           int by, MotionVector start, size_t& cost, int steps) {
  MotionVector best = start;
  for (int step = 0; step < steps && cost > 0; ++step) {
    MotionVector centre = best;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        MotionVector v{centre.dx + dx, centre.dy + dy};
        if ((dx == 0 && dy == 0) || v.dx < kMinVector || v.dx > kMaxVector || v.dy < kMinVector ||
            v.dy > kMaxVector || !Reaches(grid, bx, by, v))
          continue;
        size_t c = BlockCost(source, kept, grid, bx, by, v, cost - 1);
        if (c < cost) {
          cost = c;
          best = v;
          if (cost == 0) return best;
        }
      }
    }
    if (best == centre) break;
  }
  return best;
}

std::vector<MotionVector> FindMovedContent(const SourceFrame& source, const KeptFrame& kept,
                                           const BlockGrid& grid, const std::vector<uint8_t>& changed,
                                           int maxProbes, int maxCandidates) {
  // Probes are whole blocks: an edge block is too small to be recognised safely.
  std::vector<int> pool;
  for (int by = 0; by < grid.down; ++by) {
    for (int bx = 0; bx < grid.across; ++bx) {
      if (changed[size_t(by) * grid.across + bx] && grid.BlockW(bx) == grid.blockWidth &&
          grid.BlockH(by) == grid.blockHeight)
        pool.push_back(by * grid.across + bx);
    }
  }
  std::vector<Vote> votes;
  size_t probes = std::min(pool.size(), size_t(std::max(maxProbes, 0)));
  // Spread evenly over the changed blocks, so a scrolled page and a dragged window changing
  // in the same frame both get probes.
  for (size_t p = 0; p < probes; ++p) {
    int block = pool[p * pool.size() / probes];
    SearchProbe(source, kept, grid, block % grid.across, block / grid.across, votes);
  }
  std::stable_sort(votes.begin(), votes.end(),
                   [](const Vote& a, const Vote& b) { return a.count > b.count; });
  std::vector<MotionVector> candidates;
  for (const auto& vote : votes) {
    if (int(candidates.size()) == maxCandidates) break;
    candidates.push_back(vote.v);
  }
  return candidates;
}

}  // namespace zelvio::screencodec
