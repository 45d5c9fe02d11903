#include "kit/live_loop.h"

#include <mmsystem.h>

#include <algorithm>

namespace kit {

LiveLoop::LiveLoop(Body& body) : body_(body), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  QueryPerformanceFrequency(&frequency_);
}

LiveLoop::~LiveLoop() { Stop(); }

HRESULT LiveLoop::Start() {
  if (thread_.Started()) return S_OK;
  mode_ = Mode::Paused;
  {
    AutoLock lock(timeLock_);
    pausedAt_ = 0;
    cut_ = 0;
    claimed_ = 0;
    pauses_ = 0;
    pausesSeen_ = 0;
  }
  // Millisecond waits need the fine timer; the default tick would make frames late.
  timeBeginPeriod(1);
  if (!thread_.Start(&LiveLoop::ThreadEntry, this)) {
    timeEndPeriod(1);
    return E_FAIL;
  }
  return S_OK;
}

void LiveLoop::Run(IReferenceClock* clock, REFERENCE_TIME start) {
  {
    AutoLock lock(timeLock_);
    clock_ = ComPtr<IReferenceClock>::Share(clock);
    start_ = start;
    counterBase_ = CounterTime();
    mode_ = Mode::Running;
  }
  SetEvent(wake_.get());
}

void LiveLoop::Pause() {
  {
    AutoLock lock(timeLock_);
    if (mode_ != Mode::Running) {
      if (mode_ != Mode::Exit) mode_ = Mode::Paused;
      return;
    }
    REFERENCE_TIME now = StreamTimeLocked();
    pausedAt_ = now;
    // A clock read twice in the same tick gives the same time: a sample granted at that
    // time must still lie before the cut.
    cut_ = std::max(now, claimed_);
    ++pauses_;
    mode_ = Mode::Paused;
  }
  SetEvent(wake_.get());
}

void LiveLoop::Stop() {
  if (!thread_.Started()) return;
  mode_ = Mode::Exit;
  SetEvent(wake_.get());
  thread_.Join();
  timeEndPeriod(1);
  AutoLock lock(timeLock_);
  clock_.Reset();
}

REFERENCE_TIME LiveLoop::CounterTime() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<REFERENCE_TIME>(static_cast<double>(now.QuadPart) * 10000000.0 /
                                     static_cast<double>(frequency_.QuadPart));
}

REFERENCE_TIME LiveLoop::StreamTimeLocked() {
  if (clock_) {
    REFERENCE_TIME now = 0;
    clock_->GetTime(&now);
    return now - start_;
  }
  // Without a clock, stream time holds while paused, where the run left it.
  if (mode_ != Mode::Running) return pausedAt_;
  return pausedAt_ + CounterTime() - counterBase_;
}

REFERENCE_TIME LiveLoop::StreamTime() {
  AutoLock lock(timeLock_);
  return StreamTimeLocked();
}

bool LiveLoop::Claim(REFERENCE_TIME last) {
  AutoLock lock(timeLock_);
  if (mode_ == Mode::Exit) return false;
  // Paused since the body looked at the clock: what was recorded before the cut still
  // belongs to the run that ended.
  if (pauses_ != pausesSeen_) return last < cut_;
  if (mode_ != Mode::Running) return false;
  claimed_ = std::max(claimed_, last + 1);
  return true;
}

uint32_t LiveLoop::PauseCount() {
  AutoLock lock(timeLock_);
  return pauses_;
}

bool LiveLoop::Interrupted() {
  if (mode_ != Mode::Running) return true;
  AutoLock lock(timeLock_);
  return pauses_ != pausesSeen_;
}

bool LiveLoop::WaitForStreamTime(REFERENCE_TIME t) {
  for (;;) {
    if (Interrupted()) return false;
    REFERENCE_TIME left = t - StreamTime();
    if (left <= 0) return true;
    DWORD ms = static_cast<DWORD>((left + 9999) / 10000);
    WaitForWake(ms);  // woken or not, the loop looks at the state again
  }
}

bool LiveLoop::WaitForWake(DWORD ms) { return WaitForSingleObject(wake_.get(), ms) == WAIT_OBJECT_0; }

void LiveLoop::ThreadEntry(void* self) { static_cast<LiveLoop*>(self)->Loop(); }

void LiveLoop::Loop() {
  if (mode_ != Mode::Exit) body_.CueStep(*this);
  for (;;) {
    Mode mode;
    bool pausePending = false;
    REFERENCE_TIME cut = 0;
    {
      AutoLock lock(timeLock_);
      mode = mode_;
      if (pauses_ != pausesSeen_) {
        pausePending = true;
        cut = cut_;
        pausesSeen_ = pauses_;
      }
    }
    if (mode == Mode::Exit) return;
    if (pausePending) {
      body_.PauseStep(*this, cut);
      continue;
    }
    if (mode == Mode::Paused) {
      WaitForWake(INFINITE);
      continue;
    }
    body_.StreamStep(*this);
  }
}

}  // namespace kit
