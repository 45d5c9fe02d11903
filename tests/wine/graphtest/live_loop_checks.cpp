#include "live_loop_checks.h"

#include <windows.h>
#include <strmif.h>

#include <atomic>
#include <climits>
#include <string>
#include <vector>

#include "common/win32/handles.h"
#include "kit/live_loop.h"
#include "kit/lock.h"
#include "kit/thread_priority.h"

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
class WaitOnce : public zelvio::kit::LiveLoop::Body {
 public:
  explicit WaitOnce(REFERENCE_TIME target)
      : target_(target), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  void CueStep(zelvio::kit::LiveLoop&) override {}
  void StreamStep(zelvio::kit::LiveLoop& loop) override {
    if (waited_) {
      loop.WaitForStreamTime(LLONG_MAX / 2);
      return;
    }
    threadPriority = GetThreadPriority(GetCurrentThread());
    granted = zelvio::kit::LastCapturePriority();
    answer = loop.WaitForStreamTime(target_);
    streamTimeAfter = loop.StreamTime();
    waited_ = true;
    SetEvent(done_.get());
  }
  bool Done(DWORD ms) { return WaitForSingleObject(done_.get(), ms) == WAIT_OBJECT_0; }

  bool answer = false;
  REFERENCE_TIME streamTimeAfter = 0;
  int threadPriority = THREAD_PRIORITY_ERROR_RETURN;
  zelvio::kit::CapturePriority granted = zelvio::kit::CapturePriority::None;

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
  zelvio::kit::LiveLoop loop;
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
  zelvio::kit::LiveLoop& loop = scene.loop;
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

// A source of 40 ms slots stamped at their start, paced against the clock, whose delivery
// a paused renderer can hold: while held, the streaming thread stays inside "Receive" until
// the renderer lets go, as a paused renderer keeps its sample until Run.
class HeldSource : public zelvio::kit::LiveLoop::Body {
 public:
  static constexpr REFERENCE_TIME kSlot = 400'000;

  HeldSource()
      : release_(CreateEventW(nullptr, TRUE, TRUE, nullptr)),
        inside_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  void Hold() { ResetEvent(release_.get()); }
  void Release() { SetEvent(release_.get()); }
  bool Held(DWORD ms) { return WaitForSingleObject(inside_.get(), ms) == WAIT_OBJECT_0; }

  void CueStep(zelvio::kit::LiveLoop&) override {}
  void StreamStep(zelvio::kit::LiveLoop& loop) override {
    REFERENCE_TIME due = next_ * kSlot;
    if (!loop.WaitForStreamTime(due)) return;
    if (!loop.Claim(due)) return;
    ++next_;
    {
      zelvio::kit::AutoLock lock(guard_);
      stamps_.push_back(due);
    }
    SetEvent(inside_.get());
    WaitForSingleObject(release_.get(), INFINITE);
    ResetEvent(inside_.get());
  }
  void PauseStep(zelvio::kit::LiveLoop&, REFERENCE_TIME cut) override {
    zelvio::kit::AutoLock lock(guard_);
    cuts_.push_back(cut);
  }

  std::vector<REFERENCE_TIME> Stamps() {
    zelvio::kit::AutoLock lock(guard_);
    return stamps_;
  }
  std::vector<REFERENCE_TIME> Cuts() {
    zelvio::kit::AutoLock lock(guard_);
    return cuts_;
  }
  // Waits until `count` slots went out; false when they did not within `ms`.
  bool Delivered(size_t count, DWORD ms) {
    DWORD begin = GetTickCount();
    while (Stamps().size() < count) {
      if (GetTickCount() - begin > ms) return false;
      Sleep(5);
    }
    return true;
  }

 private:
  zelvio::UniqueHandle release_;  // manual reset: set while deliveries pass
  zelvio::UniqueHandle inside_;   // manual reset: set while a delivery is held
  int64_t next_ = 0;              // streaming thread only
  zelvio::kit::CritSec guard_;
  std::vector<REFERENCE_TIME> stamps_;
  std::vector<REFERENCE_TIME> cuts_;
};

std::string StampList(const std::vector<REFERENCE_TIME>& stamps) {
  std::string text;
  for (REFERENCE_TIME t : stamps) text += (text.empty() ? "" : ",") + std::to_string(t / HeldSource::kSlot);
  return text;
}

// Slots 0..n-1 went out once each, in order: no gap where the pause was, no repeat.
bool Contiguous(const std::vector<REFERENCE_TIME>& stamps, size_t n) {
  if (stamps.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (stamps[i] != static_cast<REFERENCE_TIME>(i) * HeldSource::kSlot) return false;
  }
  return true;
}

// Runs the loop again with stream time resuming `behind` before the cut, as the graph
// resumes a paused run.
void Resume(zelvio::kit::LiveLoop& loop, HandClock& clock, REFERENCE_TIME cut, REFERENCE_TIME behind) {
  loop.Run(&clock, clock.now.load() - (cut - behind));
}

// The streaming thread is held inside a paused renderer's Receive. Pausing the source must
// not wait for it (every source paused after this one would record on meanwhile); it
// records the cut, and whatever the thread does later never delivers a slot at or after
// the cut until the next run reaches it. A pause and a run that both pass while the thread
// is held still count as a pause; and Stop returns once the renderer, stopping first,
// lets go.
void CheckPauseNeverWaitsForAHeldThread(ztest::Report& report) {
  HandClock clock;
  HeldSource body;
  zelvio::kit::LiveLoop loop(body);
  clock.now = kStart;
  if (FAILED(loop.Start())) {
    report.Check(false, "streaming thread starts");
    return;
  }
  loop.Run(&clock, kStart);
  clock.now = kStart + 2 * HeldSource::kSlot;
  report.Check(body.Delivered(3, 2000), "running: slots 0..2 go out as the clock reaches them",
               StampList(body.Stamps()));

  body.Hold();
  clock.now = kStart + 3 * HeldSource::kSlot;
  report.Check(body.Held(2000), "the renderer pauses: slot 3 is held in its Receive");
  const REFERENCE_TIME cut = 3 * HeldSource::kSlot + 150'000;
  clock.now = kStart + cut;
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  loop.Pause();
  QueryPerformanceCounter(&after);
  const double pauseMs = static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart;
  report.Check(pauseMs < 10.0,
               ztest::Format("Pause returns at once with the thread held (%.1f ms < 10)", pauseMs));

  // Five seconds spent paused, then the renderer lets go before the run: the slots of the
  // time spent paused lie after the cut and never go out.
  clock.now = kStart + cut + 50'000'000;
  body.Release();
  Sleep(150);
  std::vector<REFERENCE_TIME> cuts = body.Cuts();
  report.Check(
      cuts.size() == 1 && cuts[0] == cut,
      ztest::Format(
          "the pause step sees the cut at the stream time of Pause (%zu cut(s), first %lld, expected %lld)",
          cuts.size(), cuts.empty() ? -1LL : static_cast<long long>(cuts[0]), static_cast<long long>(cut)));
  report.Check(Contiguous(body.Stamps(), 4), "paused: nothing at or after the cut goes out",
               StampList(body.Stamps()));

  // The graph resumes 200 ms of stream time before the cut: slot 4 waits for its time.
  Resume(loop, clock, cut, 2'000'000);
  Sleep(100);
  report.Check(body.Stamps().size() == 4, "resumed 200 ms before the cut: slot 4 is not due yet",
               StampList(body.Stamps()));
  clock.now = clock.now.load() + 2'000'000 + (5 * HeldSource::kSlot - cut);
  report.Check(body.Delivered(6, 2000) && Contiguous(body.Stamps(), 6),
               "stream time reaches slot 5: slots 4 and 5 follow slot 3 with no gap and no repeat",
               StampList(body.Stamps()));

  // Pause and Run again while slot 6 is held: the thread never sees the paused state, yet
  // the pause is handled and its cut kept.
  body.Hold();
  clock.now = clock.now.load() + HeldSource::kSlot;
  report.Check(body.Held(2000), "slot 6 is held");
  const REFERENCE_TIME cut2 = 6 * HeldSource::kSlot + 100'000;
  clock.now = clock.now.load() + 100'000;
  loop.Pause();
  Resume(loop, clock, cut2, 0);
  clock.now = clock.now.load() + (7 * HeldSource::kSlot - cut2);
  body.Release();
  report.Check(body.Delivered(8, 2000) && Contiguous(body.Stamps(), 8),
               "a pause and a run while held: slot 7 follows slot 6 once its time comes",
               StampList(body.Stamps()));
  cuts = body.Cuts();
  report.Check(cuts.size() == 2 && cuts[1] == cut2,
               ztest::Format("that pause reached the pause step with its own cut (%zu cut(s))", cuts.size()));

  // Stop: the renderer stops first and lets go of the held sample; the source's Stop then
  // returns promptly.
  body.Hold();
  clock.now = clock.now.load() + HeldSource::kSlot;
  report.Check(body.Held(2000), "slot 8 is held when the graph stops");
  DWORD stopBegin = GetTickCount();
  body.Release();
  loop.Stop();
  report.Check(GetTickCount() - stopBegin < 1000, "Stop returns once the stopping renderer lets go");
}

}  // namespace

// The streaming thread asks for its time: it joins the multimedia scheduler's "Capture" task
// where the system has one, and runs above normal priority where it has none (the Wine test
// runs once with the scheduler's library switched off to see that side). Wine applies no
// priority to the host's scheduling, but it reports what was set.
void CheckStreamingThreadPriority(ztest::Report& report) {
  WaitScene scene(kStart + kTarget + 10'000'000, kTarget, report);
  if (!scene.started) return;
  const bool ran = scene.body.Done(1000);
  report.Check(ran, "the streaming thread ran a step");
  using zelvio::kit::CapturePriority;
  const CapturePriority granted = scene.body.granted;
  // The scheduler's task handle is the proof on that side; above normal must read back.
  const bool scheduler = granted == CapturePriority::Scheduler;
  const bool aboveNormal =
      granted == CapturePriority::AboveNormal && scene.body.threadPriority == THREAD_PRIORITY_ABOVE_NORMAL;
  report.Check(scheduler || aboveNormal,
               ztest::Format("the streaming thread asked for its time (granted %d, thread priority %d)",
                             static_cast<int>(granted), scene.body.threadPriority));
  std::printf("# capture thread: %s\n", granted == CapturePriority::Scheduler     ? "scheduler's Capture task"
                                         : granted == CapturePriority::AboveNormal ? "above normal"
                                                                                   : "nothing granted");
  scene.loop.Stop();
}

void CheckLiveLoopWait(ztest::Report& report) {
  CheckWaitEndsAtTheTarget(report);
  CheckPastTargetReturnsAtOnce(report);
  CheckStateChangeEndsTheWait(report);
  CheckPauseNeverWaitsForAHeldThread(report);
  CheckStreamingThreadPriority(report);
}

}  // namespace graphtest
