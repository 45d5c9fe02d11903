#include "kit/input_pin.h"

#include <uuids.h>

namespace zelvio::kit {

InputPin::InputPin(BaseFilter& filter, const wchar_t* name) : BasePin(filter, name, PINDIR_INPUT) {}

void* InputPin::FindInterface(REFIID iid) {
  if (iid == IID_IMemInputPin) return static_cast<IMemInputPin*>(this);
  return nullptr;
}

STDMETHODIMP InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION theirs = PINDIR_INPUT;
  connector->QueryDirection(&theirs);
  if (theirs != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  if (CheckMediaType(*mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  SetConnection(connector, *mt);
  HRESULT hr = CompleteConnect(connector);
  if (FAILED(hr)) ClearConnection();
  return hr;
}

void InputPin::BreakConnect() { allocator_.Reset(); }

STDMETHODIMP InputPin::BeginFlush() {
  flushing_ = true;
  return OnBeginFlush();
}

STDMETHODIMP InputPin::EndFlush() {
  flushing_ = false;
  return OnEndFlush();
}

STDMETHODIMP InputPin::EndOfStream() { return OnEndOfStream(); }

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** out) {
  if (!out) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  if (!allocator_) {
    HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                  allocator_.PutVoid());
    if (FAILED(hr)) return hr;
  }
  return allocator_.CopyTo(out);
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (!allocator) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  allocator_ = ComPtr<IMemAllocator>::Share(allocator);
  return S_OK;
}

STDMETHODIMP InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT InputPin::Active() {
  active_ = true;
  return S_OK;
}

HRESULT InputPin::Inactive() {
  active_ = false;
  return S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (filter_.State() == State_Stopped || !active_) return VFW_E_WRONG_STATE;
  if (flushing_) return S_FALSE;
  TimedSpan span(Timing());
  return OnReceive(sample);
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  if (!samples || !processed) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

STDMETHODIMP InputPin::ReceiveCanBlock() { return S_OK; }

}  // namespace zelvio::kit
