// IBaseFilter with state, reference clock, graph membership and pin enumeration. Derived
// filters supply their pins and react to state changes through the On* hooks.
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

  // For the pins.
  CritSec& StateLock() { return stateLock_; }
  FILTER_STATE State() const { return state_; }
  IFilterGraph* Graph() const { return graph_; }
  ComPtr<IReferenceClock> Clock();
  // The filter's own streaming step, for the benchmark's accounting (kit/filter_timing.h).
  WorkTiming& StepTiming() { return stepTiming_; }

  virtual int PinCount() = 0;
  virtual BasePin* PinAt(int index) = 0;

 protected:
  // Extra interfaces of the derived filter; return without AddRef, nullptr when unknown.
  virtual void* FindInterface(REFIID) { return nullptr; }
  // Called under the state lock. OnStop runs before the pins go inactive, so a source can
  // end its streaming thread while the allocator still answers.
  virtual HRESULT OnPause(FILTER_STATE from) {
    (void)from;
    return S_OK;
  }
  virtual HRESULT OnRun(REFERENCE_TIME start) {
    (void)start;
    return S_OK;
  }
  virtual void OnStop() {}
  // The graph leaves (graph == nullptr) or joins.
  virtual void OnJoinGraph(IFilterGraph* graph) { (void)graph; }
  // A live source produces data only while running: paused, it answers GetState with
  // VFW_S_CANT_CUE, so the graph does not wait for it to cue.
  virtual bool IsLiveSource() const { return false; }

 private:
  RefCount refs_;
  CLSID clsid_;
  CritSec stateLock_;
  std::atomic<FILTER_STATE> state_{State_Stopped};  // read unlocked by streaming threads
  REFERENCE_TIME start_ = 0;
  ComPtr<IReferenceClock> clock_;
  IFilterGraph* graph_ = nullptr;  // not AddRef'd: the graph owns us, not the other way round
  std::wstring name_;
  WorkTiming stepTiming_;
};

}  // namespace zelvio::kit
