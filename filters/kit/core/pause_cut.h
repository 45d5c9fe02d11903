// What a live source's state changes and its streaming thread agree on about pauses, kept
// apart from the thread, its lock and its clock so that the rules hold the same everywhere:
// the caller holds one lock around every call.
//
// A pause never waits for the thread (it may be held downstream for the whole pause): it
// records the cut, the stream time at the call, and the thread, whenever it next looks,
// delivers only what lies before the cut.
#pragma once
#include <cstdint>
#include <optional>

namespace zelvio::kit {

class PauseCut {
 public:
  // A new stream: no pause, nothing claimed.
  void Reset() { *this = PauseCut(); }

  // Running -> paused at stream time `now`. A sample granted at the same clock tick must
  // still lie before the cut, so the cut is never earlier than just after it.
  void Pause(int64_t now);

  // The streaming thread, before it delivers a sample whose latest instant is stream time
  // `last`; `running` tells whether the source runs now. Granted while running with no
  // pause left to handle, and for what lies before the cut of a pause not yet handled.
  bool Claim(int64_t last, bool running);

  // The streaming thread: the cut of the latest pause it has not handled yet, once.
  std::optional<int64_t> TakePause();
  bool PausePending() const { return pauses_ != pausesSeen_; }

 private:
  int64_t cut_ = 0;
  int64_t claimed_ = 0;  // just after the latest instant granted to a sample
  uint32_t pauses_ = 0;
  uint32_t pausesSeen_ = 0;
};

}  // namespace zelvio::kit
