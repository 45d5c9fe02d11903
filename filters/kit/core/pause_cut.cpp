#include "kit/core/pause_cut.h"

#include <algorithm>

namespace zelvio::kit {

void PauseCut::Pause(int64_t now) {
  cut_ = std::max(now, claimed_);
  ++pauses_;
}

bool PauseCut::Claim(int64_t last, bool running) {
  // Paused since the thread looked at the clock: what was recorded before the cut still
  // belongs to the run that ended.
  if (PausePending()) return last < cut_;
  if (!running) return false;
  claimed_ = std::max(claimed_, last + 1);
  return true;
}

std::optional<int64_t> PauseCut::TakePause() {
  if (!PausePending()) return std::nullopt;
  pausesSeen_ = pauses_;
  return cut_;
}

}  // namespace zelvio::kit
