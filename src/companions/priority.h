#pragma once

#include <cstdint>

namespace zelvio {

// Process priority class for the cursor-priority slider: idle, normal, high, realtime.
uint32_t PriorityClassForPosition(int position);

}  // namespace zelvio
