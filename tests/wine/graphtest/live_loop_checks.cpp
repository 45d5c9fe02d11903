#include "live_loop_checks.h"

#include <windows.h>
#include <strmif.h>

#include <atomic>
#include <climits>

#include "platform/handles_win32.h"
#include "kit/live_loop.h"

namespace graphtest {

namespace {

// A reference clock that shows whatever time the test gives it, so "not yet" and "now"
// are exact instead of depending on how busy the machine is.
class HandClock : public IReferenceClock {
 public:
  std::atomic<LONGLONG> now{0};

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IReferenceClock) {
      *out = static_cast<IReferenceClock*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs_); }
  STDMETHODIMP GetTime(REFERENCE_TIME* time) override {
    if (!time) return E_POINTER;
    *time = now.load();
    return S_OK;
  }
  STDMETHODIMP AdviseTime(REFERENCE_TIME, REFERENCE_TIME, HEVENT, DWORD_PTR*) override { return E_NOTIMPL; }
  STDMETHODIMP AdvisePeriodic(REFERENCE_TIME, REFERENCE_TIME, HSEMAPHORE, DWORD_PTR*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Unadvise(DWORD_PTR) override { return E_NOTIMPL; }

 private:
  std::atomic<long> refs_{1};  // lives on the test's stack
};

// Waits once for `target` on the streaming thread and keeps what the wait answered; later
// steps wait for a time that never comes, so only a state change ends them.
class WaitOnce : public kit::LiveLoop::Body {
 public:
  explicit WaitOnce(REFERENCE_TIME target)
      : target_(target), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  void CueStep(kit::LiveLoop&) override {}
  void StreamStep(kit::LiveLoop& loop) override {
    if (waited_) {
      loop.WaitForStreamTime(LLONG_MAX / 2);
      return;
    }
    answer = loop.WaitForStreamTime(target_);
    streamTimeAfter = loop.StreamTime();
    waited_ = true;
    SetEvent(done_.get());
  }
  bool Done(DWORD ms) { return WaitForSingleObject(done_.get(), ms) == WAIT_OBJECT_0; }

  bool answer = false;
  REFERENCE_TIME streamTimeAfter = 0;

 private:
  REFERENCE_TIME target_;
  bool waited_ = false;
  zelvio::UniqueHandle done_;
};

constexpr REFERENCE_TIME kStart = 50'000'000;     // clock time at Run: stream time 0
constexpr REFERENCE_TIME kTarget = 5'000'000;     // half a second of stream time
constexpr REFERENCE_TIME kFarAway = 600'000'000;  // a minute: never reached here

// A streaming thread run from a hand clock that reads `now` at Run, whose body waits once
// for `target`.
struct WaitScene {
  WaitScene(REFERENCE_TIME now, REFERENCE_TIME target, ztest::Report& report) : body(target), loop(body) {
    clock.now = now;
    if (FAILED(loop.Start())) {
      report.Check(false, "streaming thread starts");
      return;
    }
    started = true;
    loop.Run(&clock, kStart);
  }
  HandClock clock;
  WaitOnce body;
  kit::LiveLoop loop;
  bool started = false;
};

// The wait ends when the clock reaches the target, not a moment earlier, and says so.
void CheckWaitEndsAtTheTarget(ztest::Report& report) {
  WaitScene scene(kStart, kTarget, report);
  if (!scene.started) return;
  HandClock& clock = scene.clock;
  WaitOnce& body = scene.body;
  report.Check(!body.Done(200), "stream time 0: the wait for 0.5 s goes on");
  // The thread sleeps for the 0.5 s it expected, then looks again and keeps looking in
  // millisecond steps while the clock stands just short of the target.
  clock.now = kStart + kTarget - 1;
  report.Check(!body.Done(800), "100 ns short of the target: the wait goes on");
  clock.now = kStart + kTarget;
  const bool ended = body.Done(2000);
  report.Check(ended && body.answer,
               ztest::Format("at the target the wait ends and answers true (%s, %s)",
                             ended ? "ended" : "still waiting", body.answer ? "true" : "false"));
  report.Check(ended && body.streamTimeAfter >= kTarget,
               ztest::Format("stream time after the wait %lld >= %lld",
                             static_cast<long long>(body.streamTimeAfter), static_cast<long long>(kTarget)));
  scene.loop.Stop();
}

// A target already behind stream time needs no wait at all.
void CheckPastTargetReturnsAtOnce(ztest::Report& report) {
  WaitScene scene(kStart + kTarget + 10'000'000, kTarget, report);
  if (!scene.started) return;
  const bool ended = scene.body.Done(1000);
  report.Check(ended && scene.body.answer, "a target already passed: the wait answers true at once");
  scene.loop.Stop();
}

// Pausing (and stopping) while the thread waits ends the wait with false, long before the
// target, so a state change never hangs on a frame that is not due yet.
void CheckStateChangeEndsTheWait(ztest::Report& report) {
  WaitScene scene(kStart, kFarAway, report);
  if (!scene.started) return;
  WaitOnce& body = scene.body;
  kit::LiveLoop& loop = scene.loop;
  report.Check(!body.Done(200), "target a minute away: the wait goes on");
  loop.Pause();
  const bool ended = body.Done(1000);
  report.Check(ended && !body.answer,
               ztest::Format("Pause ends the wait, which answers false (%s)",
                             ended ? (body.answer ? "true" : "false") : "still waiting"));
  DWORD before = GetTickCount();
  loop.Stop();
  report.Check(GetTickCount() - before < 1000, "Stop ends the streaming thread at once");
}

}  // namespace

void CheckLiveLoopWait(ztest::Report& report) {
  CheckWaitEndsAtTheTarget(report);
  CheckPastTargetReturnsAtOnce(report);
  CheckStateChangeEndsTheWait(report);
}

}  // namespace graphtest
