#include "capture/catalog/compressor_table.h"

namespace zelvio {

bool CompressorPositionTable::Append(int32_t categoryIndex) {
  if (count_ >= kSlots) return false;
  slots_[count_++] = categoryIndex;
  return true;
}

int32_t CompressorPositionTable::CategoryIndexAt(int position) const {
  if (position < 0 || position >= count_) return -1;
  return slots_[position];
}

}  // namespace zelvio
