#include "companions/launch_wait.h"

namespace zelvio {

unsigned RemainingLaunchWait(uint64_t busySinceIdleMs) {
  if (busySinceIdleMs >= kOverlayLaunchWaitMs) return 0;
  return kOverlayLaunchWaitMs - static_cast<unsigned>(busySinceIdleMs);
}

}  // namespace zelvio
