// Frame pacing of the screen source: which slot to grab next and when. Times are stream
// times in 100 ns units; slot n covers [n * frameTime, (n + 1) * frameTime).
#pragma once
#include <cstdint>

namespace zelvio::pushsource {

constexpr int64_t kUnitsPerSecond = 10'000'000;

// Duration of one frame at a rate (frames per second, at least 1).
int64_t FrameTimeForRate(int fps);

int64_t SlotStart(int64_t slot, int64_t frameTime);

struct SlotChoice {
  int64_t slot;     // the slot to grab now
  int64_t skipped;  // slots given up since the wanted one
};

// The wanted slot is grabbed while its interval has not ended; a grab that has fallen
// further behind gives up the missed slots and takes the one under way, so the file keeps
// real time instead of queueing old frames.
SlotChoice ChooseSlot(int64_t wanted, int64_t now, int64_t frameTime);

}  // namespace zelvio::pushsource
