// A capture thread asks the system for its time: a grab that waits behind other work comes
// late and the frame repeats. Where the multimedia class scheduler exists (Vista and later)
// the thread joins its "Capture" task, which raises it while it works without starving the
// rest of the system; where it does not, the thread runs above normal priority. The
// scheduler's library is loaded at first use, so a start that records nothing never pays
// for it.
#pragma once
#include <windows.h>

namespace zelvio::kit {

enum class CapturePriority { None, Scheduler, AboveNormal };

// Held by the capture thread for as long as it captures; gives the thread back its normal
// standing when it goes.
class CaptureThreadPriority {
 public:
  CaptureThreadPriority();
  ~CaptureThreadPriority();
  CaptureThreadPriority(const CaptureThreadPriority&) = delete;
  CaptureThreadPriority& operator=(const CaptureThreadPriority&) = delete;

  CapturePriority Granted() const { return granted_; }

 private:
  HANDLE task_ = nullptr;
  CapturePriority granted_ = CapturePriority::None;
};

// What the last capture thread was granted, for the checks (the value of CapturePriority).
CapturePriority LastCapturePriority();

}  // namespace zelvio::kit
