#include "kit/base_filter.h"

#include <cwchar>
#include <vector>

#include "kit/base_pin.h"
#include "kit/core/pin_activation.h"
#include "kit/enumerator.h"

namespace zelvio::kit {

BaseFilter::BaseFilter(const CLSID& clsid) : clsid_(clsid) {}

BaseFilter::~BaseFilter() = default;

STDMETHODIMP BaseFilter::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
    *out = static_cast<IBaseFilter*>(this);
  } else {
    *out = FindInterface(iid);
  }
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BaseFilter::AddRef() { return refs_.Add(); }

STDMETHODIMP_(ULONG) BaseFilter::Release() {
  ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BaseFilter::GetClassID(CLSID* out) {
  if (!out) return E_POINTER;
  *out = clsid_;
  return S_OK;
}

namespace {

PinStep ActivateStep(BaseFilter& filter) {
  return [&filter](int i) { return static_cast<int32_t>(filter.PinAt(i)->Active()); };
}

PinStep DeactivateStep(BaseFilter& filter) {
  return [&filter](int i) { return static_cast<int32_t>(filter.PinAt(i)->Inactive()); };
}

}  // namespace

STDMETHODIMP BaseFilter::Stop() {
  AutoLock change(changeLock_);
  HRESULT result = S_OK;
  {
    AutoLock lock(stateLock_);
    if (state_ == State_Stopped) return S_OK;
    OnStop();
    result = DeactivatePins(PinCount(), DeactivateStep(*this));
  }
  // Not under the filter lock: the streaming thread may be waiting for it to finish its
  // step, and would never end.
  EndStreaming();
  AutoLock lock(stateLock_);
  state_ = State_Stopped;
  WriteFilterTimings(*this);
  return result;
}

STDMETHODIMP BaseFilter::Pause() {
  AutoLock change(changeLock_);
  AutoLock lock(stateLock_);
  if (state_ == State_Paused) return S_OK;
  const FILTER_STATE from = state_;
  if (from == State_Stopped) {
    ResetFilterTimings(*this);
    HRESULT hr = ActivatePins(PinCount(), ActivateStep(*this), DeactivateStep(*this));
    if (FAILED(hr)) return hr;
  }
  HRESULT hr = OnPause(from);
  if (FAILED(hr)) {
    // Still stopped, so no Stop would ever decommit what the pins committed.
    if (from == State_Stopped) DeactivatePins(PinCount(), DeactivateStep(*this));
    return hr;
  }
  state_ = State_Paused;
  return S_OK;
}

STDMETHODIMP BaseFilter::Run(REFERENCE_TIME start) {
  AutoLock change(changeLock_);
  AutoLock lock(stateLock_);
  if (state_ == State_Running) return S_OK;
  if (state_ == State_Stopped) {
    HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  start_ = start;
  HRESULT hr = OnRun(start);
  if (FAILED(hr)) return hr;
  state_ = State_Running;
  return S_OK;
}

STDMETHODIMP BaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  if (*state == State_Paused && IsLiveSource()) return VFW_S_CANT_CUE;
  return S_OK;
}

STDMETHODIMP BaseFilter::SetSyncSource(IReferenceClock* clock) {
  AutoLock lock(stateLock_);
  clock_ = ComPtr<IReferenceClock>::Share(clock);
  return S_OK;
}

STDMETHODIMP BaseFilter::GetSyncSource(IReferenceClock** clock) {
  AutoLock lock(stateLock_);
  return clock_.CopyTo(clock);
}

// Wine's graph hands its clock only to the filters present when it first runs; a filter
// added to the graph later is never told, although the graph runs it against that clock.
// Without it, each live source would keep its own time and two of them would drift apart at
// every pause, so a filter left without a clock takes the graph's.
ComPtr<IReferenceClock> BaseFilter::Clock() {
  AutoLock lock(stateLock_);
  if (clock_ || !graph_) return clock_;
  ComPtr<IMediaFilter> graphFilter;
  ComPtr<IReferenceClock> graphClock;
  if (SUCCEEDED(graph_->QueryInterface(IID_IMediaFilter, graphFilter.PutVoid())) && graphFilter) {
    graphFilter->GetSyncSource(graphClock.Put());
  }
  return graphClock;
}

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** out) {
  if (!out) return E_POINTER;
  AutoLock lock(stateLock_);
  std::vector<ComPtr<IPin>> pins;
  for (int i = 0; i < PinCount(); ++i) pins.push_back(ComPtr<IPin>::Share(PinAt(i)));
  return PinEnumerator::Create(std::move(pins), out);
}

STDMETHODIMP BaseFilter::FindPin(LPCWSTR id, IPin** out) {
  if (!id || !out) return E_POINTER;
  *out = nullptr;
  AutoLock lock(stateLock_);
  for (int i = 0; i < PinCount(); ++i) {
    BasePin* pin = PinAt(i);
    if (pin->Name() == id) {
      *out = pin;
      pin->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP BaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  AutoLock lock(stateLock_);
  std::wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
  info->achName[MAX_FILTER_NAME - 1] = L'\0';
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  AutoLock lock(stateLock_);
  graph_ = graph;
  name_ = name ? name : L"";
  OnJoinGraph(graph);
  return S_OK;
}

STDMETHODIMP BaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

}  // namespace zelvio::kit
