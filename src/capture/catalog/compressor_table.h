// Which compressor of the category stands at each position of the compressor list. Only
// compressors with a configuration dialog are listed, so list position 0 may be category
// index 3; the table keeps that mapping for the graph build.
#pragma once

#include <cstdint>

namespace zelvio {

class CompressorPositionTable {
 public:
  static constexpr int kSlots = 100;

  // Records the category index of the next listed compressor. Returns false, recording
  // nothing, when all slots are taken: such a compressor is left out of the list.
  bool Append(int32_t categoryIndex);
  int Count() const { return count_; }
  // The category index at a list position, or -1 when the position is not listed.
  int32_t CategoryIndexAt(int position) const;

 private:
  int32_t slots_[kSlots] = {};
  int count_ = 0;
};

}  // namespace zelvio
