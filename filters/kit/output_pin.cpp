#include "kit/output_pin.h"

#include <uuids.h>

#include <algorithm>

namespace zelvio::kit {

OutputPin::OutputPin(BaseFilter& filter, const wchar_t* name) : BasePin(filter, name, PINDIR_OUTPUT) {}

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) {
  if (!receivePin) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (mt && IsFullySpecified(*mt)) return TryConnect(receivePin, *mt);

  // Our own types first: a source knows best what it produces.
  for (const MediaType& offered : OfferedTypes()) {
    if (!MatchesPartial(offered.Get(), mt)) continue;
    if (SUCCEEDED(TryConnect(receivePin, offered.Get()))) return S_OK;
  }
  ComPtr<IEnumMediaTypes> theirs;
  if (FAILED(receivePin->EnumMediaTypes(theirs.Put())) || !theirs) {
    return VFW_E_NO_ACCEPTABLE_TYPES;
  }
  AM_MEDIA_TYPE* candidate = nullptr;
  while (theirs->Next(1, &candidate, nullptr) == S_OK) {
    HRESULT hr = E_FAIL;
    if (MatchesPartial(*candidate, mt) && IsFullySpecified(*candidate)) {
      hr = TryConnect(receivePin, *candidate);
    }
    DeleteMediaType(candidate);
    if (SUCCEEDED(hr)) return S_OK;
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::TryConnect(IPin* receivePin, const AM_MEDIA_TYPE& mt) {
  if (CheckMediaType(mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  SetConnection(receivePin, mt);
  HRESULT hr = receivePin->ReceiveConnection(this, &mt);
  if (FAILED(hr)) {
    ClearConnection();
    return hr;
  }
  ComPtr<IMemInputPin> input;
  hr = receivePin->QueryInterface(IID_IMemInputPin, input.PutVoid());
  if (SUCCEEDED(hr)) hr = DecideAllocator(input.Get());
  if (SUCCEEDED(hr)) {
    memInput_ = input;
    hr = CompleteConnect(receivePin);
  }
  if (FAILED(hr)) {
    receivePin->Disconnect();
    ClearConnection();
    return hr == E_NOINTERFACE ? VFW_E_NO_TRANSPORT : hr;
  }
  return S_OK;
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* input) {
  ALLOCATOR_PROPERTIES wanted = {};
  input->GetAllocatorRequirements(&wanted);

  ComPtr<IMemAllocator> shared = AllocatorToShare();
  if (shared && SUCCEEDED(input->NotifyAllocator(shared.Get(), TRUE))) {
    allocator_ = shared;
    borrowed_ = true;
    return S_OK;
  }
  ComPtr<IMemAllocator> theirs;
  if (SUCCEEDED(input->GetAllocator(theirs.Put())) && theirs &&
      SUCCEEDED(TryAllocator(input, theirs.Get(), wanted))) {
    return S_OK;
  }
  ComPtr<IMemAllocator> ours;
  HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                ours.PutVoid());
  if (FAILED(hr)) return hr;
  return TryAllocator(input, ours.Get(), wanted);
}

HRESULT OutputPin::TryAllocator(IMemInputPin* input, IMemAllocator* allocator,
                                const ALLOCATOR_PROPERTIES& wanted) {
  ALLOCATOR_PROPERTIES props = {};
  props.cBuffers = std::max<long>(wanted.cBuffers, 1);
  props.cbAlign = std::max<long>(wanted.cbAlign, 1);
  props.cbPrefix = wanted.cbPrefix;
  ChooseBuffers(props);
  // A type that does not describe its image (no size in it) still fixes the sample size.
  if (props.cbBuffer <= 0) props.cbBuffer = static_cast<long>(ConnectedType().Get().lSampleSize);
  if (props.cbBuffer <= 0) return VFW_E_SIZENOTSET;

  ALLOCATOR_PROPERTIES granted = {};
  HRESULT hr = allocator->SetProperties(&props, &granted);
  if (FAILED(hr)) return hr;
  if (granted.cbBuffer < props.cbBuffer || granted.cBuffers < 1) return E_FAIL;
  hr = input->NotifyAllocator(allocator, FALSE);
  if (FAILED(hr)) return hr;
  allocator_ = ComPtr<IMemAllocator>::Share(allocator);
  borrowed_ = false;
  return S_OK;
}

void OutputPin::BreakConnect() {
  if (allocator_ && !borrowed_) allocator_->Decommit();
  allocator_.Reset();
  memInput_.Reset();
  borrowed_ = false;
}

HRESULT OutputPin::Active() {
  if (!allocator_ || borrowed_) return S_OK;
  HRESULT hr = EnsureAllocatorSized();
  if (FAILED(hr)) return hr;
  return allocator_->Commit();
}

// A downstream pin may have swapped or reset the allocator after it was agreed (Commit
// then fails with VFW_E_SIZENOTSET, "0 buffers of size 0"): size it again from the
// connected type rather than fail the whole graph.
HRESULT OutputPin::EnsureAllocatorSized() {
  ALLOCATOR_PROPERTIES now = {};
  if (SUCCEEDED(allocator_->GetProperties(&now)) && now.cbBuffer > 0 && now.cBuffers > 0 && now.cbAlign > 0) {
    return S_OK;
  }
  ALLOCATOR_PROPERTIES props = {};
  props.cBuffers = std::max<long>(now.cBuffers, 1);
  props.cbAlign = std::max<long>(now.cbAlign, 1);
  props.cbPrefix = now.cbPrefix;
  ChooseBuffers(props);
  if (props.cbBuffer <= 0) props.cbBuffer = static_cast<long>(ConnectedType().Get().lSampleSize);
  if (props.cbBuffer <= 0) return VFW_E_SIZENOTSET;
  ALLOCATOR_PROPERTIES granted = {};
  HRESULT hr = allocator_->SetProperties(&props, &granted);
  if (FAILED(hr)) return hr;
  return granted.cbBuffer >= props.cbBuffer && granted.cBuffers >= 1 ? S_OK : VFW_E_SIZENOTSET;
}

HRESULT OutputPin::Inactive() {
  if (!allocator_ || borrowed_) return S_OK;
  return allocator_->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** out) {
  if (!allocator_) return VFW_E_NO_ALLOCATOR;
  return allocator_->GetBuffer(out, nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) {
  if (!memInput_) return VFW_E_NOT_CONNECTED;
  TimedSpan span(Timing());
  return memInput_->Receive(sample);
}

HRESULT OutputPin::DeliverEndOfStream() {
  IPin* peer = Peer();
  return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverBeginFlush() {
  IPin* peer = Peer();
  return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndFlush() {
  IPin* peer = Peer();
  return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

}  // namespace zelvio::kit
