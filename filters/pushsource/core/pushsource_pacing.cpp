#include "pushsource/core/pushsource_pacing.h"

namespace zelvio::pushsource {

int64_t FrameTimeForRate(int fps) {
  if (fps < 1) fps = 1;
  return kUnitsPerSecond / fps;
}

int64_t SlotStart(int64_t slot, int64_t frameTime) { return slot * frameTime; }

SlotChoice ChooseSlot(int64_t wanted, int64_t now, int64_t frameTime) {
  if (now < SlotStart(wanted + 1, frameTime)) return {wanted, 0};
  int64_t current = now / frameTime;
  return {current, current - wanted};
}

}  // namespace zelvio::pushsource
