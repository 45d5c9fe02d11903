#pragma once

#include <cstdint>

namespace zelvio {

// One byte, as the rest of the program expects: Recording 0, Paused 1, Stopped 2.
enum class RecordingState : uint8_t { Recording = 0, Paused = 1, Stopped = 2 };

}  // namespace zelvio
