#include "infinite_tee.h"

#include <algorithm>
#include <string>

#include "kit/sample_copy.h"
#include "standin_ids.h"

namespace standins {

TeeInputPin::TeeInputPin(InfiniteTee& tee) : InputPin(tee, L"Input"), tee_(tee) {}

HRESULT TeeInputPin::OnReceive(IMediaSample* sample) {
  // One slow or stopped branch must not starve the others: errors stay per output.
  tee_.ForEachConnectedOutput([sample](TeeOutputPin& out) { out.Forward(sample); });
  return S_OK;
}

HRESULT TeeInputPin::OnEndOfStream() {
  tee_.ForEachConnectedOutput([](TeeOutputPin& out) { out.DeliverEndOfStream(); });
  return S_OK;
}

HRESULT TeeInputPin::OnBeginFlush() {
  tee_.ForEachConnectedOutput([](TeeOutputPin& out) { out.DeliverBeginFlush(); });
  return S_OK;
}

HRESULT TeeInputPin::OnEndFlush() {
  tee_.ForEachConnectedOutput([](TeeOutputPin& out) { out.DeliverEndFlush(); });
  return S_OK;
}

TeeOutputPin::TeeOutputPin(InfiniteTee& tee, const wchar_t* name) : OutputPin(tee, name), tee_(tee) {}

HRESULT TeeOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (!tee_.Input().IsConnected()) return S_FALSE;
  return zelvio::kit::SameMediaType(mt, tee_.Input().ConnectedType().Get()) ? S_OK : S_FALSE;
}

std::vector<zelvio::kit::MediaType> TeeOutputPin::OfferedTypes() {
  if (!tee_.Input().IsConnected()) return {};
  return {tee_.Input().ConnectedType()};
}

HRESULT TeeOutputPin::CompleteConnect(IPin*) {
  tee_.EnsureFreeOutput();
  return S_OK;
}

zelvio::kit::ComPtr<IMemAllocator> TeeOutputPin::AllocatorToShare() { return tee_.Input().Allocator(); }

void TeeOutputPin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  long size = static_cast<long>(tee_.Input().ConnectedType().Get().lSampleSize);
  zelvio::kit::ComPtr<IMemAllocator> upstream = tee_.Input().Allocator();
  ALLOCATOR_PROPERTIES theirs = {};
  if (upstream && SUCCEEDED(upstream->GetProperties(&theirs))) size = std::max(size, theirs.cbBuffer);
  props.cbBuffer = std::max(size, 1L);
  props.cBuffers = std::max(props.cBuffers, 2L);
}

HRESULT TeeOutputPin::Forward(IMediaSample* sample) {
  if (BorrowsAllocator()) return Deliver(sample);
  zelvio::kit::ComPtr<IMediaSample> copy;
  HRESULT hr = GetDeliveryBuffer(copy.Put());
  if (FAILED(hr)) return hr;
  hr = zelvio::kit::CopySample(sample, copy.Get());
  if (FAILED(hr)) return hr;
  return Deliver(copy.Get());
}

InfiniteTee::InfiniteTee() : BaseFilter(CLSID_InfTee), input_(*this) { EnsureFreeOutput(); }

HRESULT InfiniteTee::Create(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<InfiniteTee>(iid, out);
}

int InfiniteTee::PinCount() { return 1 + static_cast<int>(outputs_.size()); }

// Outputs are listed newest first, so the free one comes right after the input. Wine's
// capture graph builder takes the first output it meets and, when that one is connected,
// walks downstream from it: listing a connected output first would make a second
// RenderStream from the tee connect some filter further down instead of the tee.
zelvio::kit::BasePin* InfiniteTee::PinAt(int index) {
  if (index == 0) return &input_;
  int count = static_cast<int>(outputs_.size());
  if (index < 1 || index > count) return nullptr;
  return outputs_[static_cast<size_t>(count - index)].get();
}

void InfiniteTee::EnsureFreeOutput() {
  for (auto& out : outputs_) {
    if (!out->IsConnected()) return;
  }
  std::wstring name = L"Output" + std::to_wstring(nextOutputNumber_++);
  outputs_.push_back(std::make_unique<TeeOutputPin>(*this, name.c_str()));
}

}  // namespace standins
