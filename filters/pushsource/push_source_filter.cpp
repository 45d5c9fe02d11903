#include "push_source_filter.h"

#include "pushsource/core/pushsource_pacing.h"

namespace zelvio::pushsource {

PushSourceFilter::PushSourceFilter() : BaseFilter(CLSID_ZelvioPushSource), pin_(*this), loop_(*this) {}

PushSourceFilter::~PushSourceFilter() {
  pin_.Inactive();
  loop_.Stop();
}

HRESULT PushSourceFilter::Create(REFIID iid, void** out) {
  return kit::CreateAndQuery<PushSourceFilter>(iid, out);
}

void* PushSourceFilter::FindInterface(REFIID iid) {
  if (iid == IID_IAMFilterMiscFlags) return static_cast<IAMFilterMiscFlags*>(this);
  if (iid == IID_IZelvioPushSourceStats) return static_cast<IZelvioPushSourceStats*>(this);
  return nullptr;
}

STDMETHODIMP_(ULONG) PushSourceFilter::GetMiscFlags() { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

STDMETHODIMP PushSourceFilter::GetCounts(LONGLONG* delivered, LONGLONG* skipped) {
  if (!delivered || !skipped) return E_POINTER;
  *delivered = InterlockedCompareExchange64(&delivered_, 0, 0);
  *skipped = InterlockedCompareExchange64(&skipped_, 0, 0);
  return S_OK;
}

// Pausing from running never waits for the streaming thread: it may be held in a paused
// renderer's Receive until the next Run. Pause itself answers S_OK (Wine's graph turns a
// VFW_S_CANT_CUE from Pause into VFW_S_STATE_INTERMEDIATE for every later state call);
// GetState tells that a live source cannot cue.
HRESULT PushSourceFilter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) {
    loop_.Pause();
    return S_OK;
  }
  if (!pin_.IsConnected()) return S_OK;
  nextSlot_ = 0;
  InterlockedExchange64(&delivered_, 0);
  InterlockedExchange64(&skipped_, 0);
  steps_.Clear();
  pin_.RefreshOrigin();
  return loop_.Start();
}

HRESULT PushSourceFilter::OnRun(REFERENCE_TIME start) {
  if (!pin_.IsConnected()) return S_OK;
  loop_.Run(Clock().Get(), start);
  return S_OK;
}

// The kit has decommitted the pin's allocator by now, which releases a streaming thread
// waiting for a free buffer.
void PushSourceFilter::EndStreaming() {
  loop_.Stop();
  steps_.Write();
}

// A frame goes out while the graph is still pausing, so the renderers can finish pausing
// (the graph waits for them). It is marked preroll: the screen it shows is the one from
// before Run, some 200 ms and more before stream time 0, so a file must not keep it as
// frame 0, nor count it. The first slot of the running stream grabs frame 0 afresh.
void PushSourceFilter::CueStep(kit::LiveLoop&) {
  kit::TimedSpan span(StepTiming());
  pin_.DeliverFrame(0, true);
}

void PushSourceFilter::StreamStep(kit::LiveLoop& loop) {
  const int64_t frameTime = pin_.FrameTime();
  int64_t now = loop.StreamTime();
  if (now < SlotStart(nextSlot_, frameTime)) {
    loop.WaitForStreamTime(SlotStart(nextSlot_, frameTime));
    return;
  }
  SlotChoice choice = ChooseSlot(nextSlot_, now, frameTime);
  // A pause that came since the clock was read keeps the slots from its cut on for the
  // next run: stream time resumes there.
  if (!loop.Claim(SlotStart(choice.slot, frameTime))) return;
  InterlockedExchangeAdd64(&skipped_, choice.skipped);
  kit::StepLog::Span span(steps_, choice.slot, now);
  DeliverSlot(choice.slot);
}

void PushSourceFilter::DeliverSlot(int64_t slot) {
  // A refused frame (downstream stopping, most likely) is not retried: the next one is due
  // a frame later anyway.
  kit::TimedSpan span(StepTiming());
  if (SUCCEEDED(pin_.DeliverFrame(slot, false))) InterlockedIncrement64(&delivered_);
  nextSlot_ = slot + 1;
}

}  // namespace zelvio::pushsource
