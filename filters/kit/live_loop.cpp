#include "kit/live_loop.h"

#include <mmsystem.h>

#include "kit/thread_priority.h"

namespace zelvio::kit {

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
    cut_.Reset();
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
    pausedAt_ = StreamTimeLocked();
    cut_.Pause(pausedAt_);
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
  return cut_.Claim(last, mode_ == Mode::Running);
}

bool LiveLoop::Interrupted() {
  if (mode_ != Mode::Running) return true;
  AutoLock lock(timeLock_);
  return cut_.PausePending();
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
  CaptureThreadPriority priority;
  if (mode_ != Mode::Exit) body_.CueStep(*this);
  for (;;) {
    Mode mode;
    std::optional<int64_t> cut;
    {
      AutoLock lock(timeLock_);
      mode = mode_;
      cut = cut_.TakePause();
    }
    if (mode == Mode::Exit) return;
    if (cut) {
      body_.PauseStep(*this, *cut);
      continue;
    }
    if (mode == Mode::Paused) {
      WaitForWake(INFINITE);
      continue;
    }
    body_.StreamStep(*this);
  }
}

}  // namespace zelvio::kit
