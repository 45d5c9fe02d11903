#include "kit/live_loop.h"

#include <mmsystem.h>

namespace kit {

namespace {
constexpr DWORD kPauseSettleMs = 250;
}

LiveLoop::LiveLoop(Body& body)
    : body_(body),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      parked_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  QueryPerformanceFrequency(&frequency_);
}

LiveLoop::~LiveLoop() { Stop(); }

HRESULT LiveLoop::Start() {
  if (thread_.Started()) return S_OK;
  mode_ = Mode::Paused;
  pausedAt_ = 0;
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
  }
  mode_ = Mode::Running;
  SetEvent(wake_.get());
}

void LiveLoop::Pause() {
  if (mode_ != Mode::Running) {
    mode_ = Mode::Paused;
    return;
  }
  REFERENCE_TIME now = StreamTime();
  {
    AutoLock lock(timeLock_);
    pausedAt_ = now;
  }
  ResetEvent(parked_.get());
  mode_ = Mode::Paused;
  SetEvent(wake_.get());
  if (thread_.Started()) WaitForSingleObject(parked_.get(), kPauseSettleMs);
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

REFERENCE_TIME LiveLoop::StreamTime() {
  AutoLock lock(timeLock_);
  if (clock_) {
    REFERENCE_TIME now = 0;
    clock_->GetTime(&now);
    return now - start_;
  }
  // Without a clock, stream time holds while paused, where the run left it.
  if (mode_ != Mode::Running) return pausedAt_;
  return pausedAt_ + CounterTime() - counterBase_;
}

bool LiveLoop::WaitForStreamTime(REFERENCE_TIME t) {
  for (;;) {
    if (mode_ != Mode::Running) return false;
    REFERENCE_TIME left = t - StreamTime();
    if (left <= 0) return true;
    DWORD ms = static_cast<DWORD>((left + 9999) / 10000);
    if (WaitForWake(ms)) continue;  // a state change: re-check the mode
  }
}

bool LiveLoop::WaitForWake(DWORD ms) { return WaitForSingleObject(wake_.get(), ms) == WAIT_OBJECT_0; }

void LiveLoop::ThreadEntry(void* self) { static_cast<LiveLoop*>(self)->Loop(); }

REFERENCE_TIME LiveLoop::PausedAt() {
  AutoLock lock(timeLock_);
  return pausedAt_;
}

void LiveLoop::Loop() {
  if (mode_ != Mode::Exit) body_.CueStep(*this);
  bool ran = false;
  for (;;) {
    Mode mode = mode_;
    if (mode == Mode::Exit) return;
    if (mode == Mode::Paused) {
      if (ran) body_.PauseStep(*this);
      ran = false;
      SetEvent(parked_.get());
      WaitForWake(INFINITE);
      continue;
    }
    ran = true;
    body_.StreamStep(*this);
  }
}

}  // namespace kit
