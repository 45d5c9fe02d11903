// The order in which a filter's pins go active and back, kept apart from COM so that a
// failure halfway is handled the same everywhere. Results are HRESULT values: negative is
// a failure.
//
// A state change that fails must leave the filter as it found it: a pause that fails on
// its third pin has committed the allocators of the first two, and nothing else would ever
// decommit them (the filter still says it is stopped, so Stop has nothing to do).
#pragma once
#include <cstdint>
#include <functional>

namespace zelvio::kit {

using PinStep = std::function<int32_t(int index)>;

// Stopped -> paused: activates pins 0..count-1 in order. When one fails, those activated
// before it are deactivated again, last first, and its failure is the answer.
int32_t ActivatePins(int count, const PinStep& activate, const PinStep& deactivate);

// Back to stopped: deactivates every pin, whatever each answers (one that fails must not
// keep the others' allocators committed), and answers the first failure.
int32_t DeactivatePins(int count, const PinStep& deactivate);

}  // namespace zelvio::kit
