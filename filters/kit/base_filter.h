// IBaseFilter with state, reference clock, graph membership and pin enumeration. Derived
// filters supply their pins and react to state changes through the On* hooks.
//
// A state change that fails leaves the filter as it found it: a Pause from stopped that
// fails on a pin or in OnPause deactivates again the pins it activated. Stop deactivates
// every pin, whatever each answers, and answers the first failure. Which lock guards what,
// and which hook may take which, is kit/lock.h's rule; the locks themselves are below.
#pragma once
#include <strmif.h>
#include <vfwmsgs.h>

#include <atomic>
#include <string>

#include "kit/com_ptr.h"
#include "kit/filter_timing.h"
#include "kit/lock.h"
#include "kit/ref_count.h"

namespace zelvio::kit {

class BasePin;

class BaseFilter : public IBaseFilter {
 public:
  explicit BaseFilter(const CLSID& clsid);
  virtual ~BaseFilter();

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetClassID(CLSID* out) override;

  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

  STDMETHODIMP EnumPins(IEnumPins** out) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** out) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

  // For the pins and derived filters: the filter lock (kit/lock.h).
  CritSec& StateLock() { return stateLock_; }
  FILTER_STATE State() const { return state_; }
  IFilterGraph* Graph() const { return graph_; }
  // Application thread only: it may ask the graph, which a streaming thread must never do.
  ComPtr<IReferenceClock> Clock();
  // The filter's own streaming step, for the benchmark's accounting (kit/filter_timing.h).
  WorkTiming& StepTiming() { return stepTiming_; }

  virtual int PinCount() = 0;
  virtual BasePin* PinAt(int index) = 0;

 protected:
  // Extra interfaces of the derived filter; return without AddRef, nullptr when unknown.
  virtual void* FindInterface(REFIID) { return nullptr; }
  // Called under the filter lock. OnPause from stopped runs after the pins went active; when
  // it fails, it leaves nothing of its own running (the kit deactivates the pins again).
  // OnStop runs before the pins go inactive (a muxer writes out what it still holds) and
  // must not wait for a streaming thread: that is EndStreaming's work.
  virtual HRESULT OnPause(FILTER_STATE from) {
    (void)from;
    return S_OK;
  }
  virtual HRESULT OnRun(REFERENCE_TIME start) {
    (void)start;
    return S_OK;
  }
  virtual void OnStop() {}
  // Stop, after the pins went inactive, WITHOUT the filter lock: a filter with a streaming
  // thread of its own ends it here and waits for it. The thread may take the filter lock
  // meanwhile (to finish the step it is in); a decommitted allocator no longer holds it in
  // GetDeliveryBuffer. The state still reads paused or running until this returns, so the
  // application cannot change settings under the thread's feet.
  virtual void EndStreaming() {}
  // The graph leaves (graph == nullptr) or joins.
  virtual void OnJoinGraph(IFilterGraph* graph) { (void)graph; }
  // A live source produces data only while running: paused, it answers GetState with
  // VFW_S_CANT_CUE, so the graph does not wait for it to cue.
  virtual bool IsLiveSource() const { return false; }

 private:
  RefCount refs_;
  CLSID clsid_;
  // The state-change lock: Stop, Pause and Run hold it for their whole call (kit/lock.h).
  CritSec changeLock_;
  // The filter lock: everything below, the pins' connections and allocators, and the
  // derived filter's settings (kit/lock.h).
  CritSec stateLock_;
  std::atomic<FILTER_STATE> state_{State_Stopped};  // read unlocked by streaming threads
  REFERENCE_TIME start_ = 0;
  ComPtr<IReferenceClock> clock_;
  IFilterGraph* graph_ = nullptr;  // not AddRef'd: the graph owns us, not the other way round
  std::wstring name_;
  WorkTiming stepTiming_;
};

}  // namespace zelvio::kit
