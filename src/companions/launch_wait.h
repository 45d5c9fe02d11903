// The time the overlay program gets after it has become idle for input, before the first
// command reaches it.
#pragma once

#include <cstdint>

namespace zelvio {

inline constexpr unsigned kOverlayLaunchWaitMs = 500;

// What is left to sleep of the launch wait when `busySinceIdleMs` of it went on other work:
// never negative, so work that took longer leaves nothing to sleep.
unsigned RemainingLaunchWait(uint64_t busySinceIdleMs);

}  // namespace zelvio
