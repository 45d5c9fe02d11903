#include "kit/transform_filter.h"

#include <algorithm>

namespace zelvio::kit {

TransformInputPin::TransformInputPin(TransformFilter& owner) : InputPin(owner, L"Input"), owner_(owner) {}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return owner_.CheckInputType(mt) == S_OK ? S_OK : S_FALSE;
}

HRESULT TransformInputPin::OnReceive(IMediaSample* sample) { return owner_.Receive(sample); }

HRESULT TransformInputPin::OnEndOfStream() { return owner_.EndOfStream(); }

HRESULT TransformInputPin::OnBeginFlush() { return owner_.BeginFlush(); }

HRESULT TransformInputPin::OnEndFlush() { return owner_.EndFlush(); }

TransformOutputPin::TransformOutputPin(TransformFilter& owner) : OutputPin(owner, L"Output"), owner_(owner) {}

// Nothing can be said about the output before the input is connected: the graph connects
// upstream first, and a compressor's output size depends on the input's picture.
HRESULT TransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (!owner_.Input().IsConnected()) return S_FALSE;
  return owner_.CheckOutputType(mt) == S_OK ? S_OK : S_FALSE;
}

std::vector<MediaType> TransformOutputPin::OfferedTypes() {
  if (!owner_.Input().IsConnected()) return {};
  return owner_.OutputTypes();
}

void TransformOutputPin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  props.cbBuffer = std::max(owner_.OutputBufferSize(), 1L);
  // One sample with the peer while the next is filled.
  props.cBuffers = std::max(props.cBuffers, 2L);
}

ComPtr<IMemAllocator> TransformOutputPin::AllocatorToShare() {
  if (owner_.worker_) return {};
  return owner_.OutputAllocatorToShare();
}

TransformFilter::TransformFilter(const CLSID& clsid) : BaseFilter(clsid), input_(*this), output_(*this) {}

TransformFilter::TransformFilter(const CLSID& clsid, int queueDepth, size_t queueBytes)
    : BaseFilter(clsid),
      worker_(std::make_unique<TransformWorker>(static_cast<TransformWorker::Host&>(*this), queueDepth,
                                                queueBytes)),
      input_(*this),
      output_(*this) {}

// The thread must be gone before the derived filter it calls into is.
TransformFilter::~TransformFilter() {
  if (worker_) worker_->Stop();
}

BasePin* TransformFilter::PinAt(int index) {
  if (index == 0) return &input_;
  if (index == 1) return &output_;
  return nullptr;
}

HRESULT TransformFilter::CheckOutputType(const AM_MEDIA_TYPE& mt) {
  for (const MediaType& offered : OutputTypes()) {
    if (SameMediaType(offered.Get(), mt)) return S_OK;
  }
  return S_FALSE;
}

HRESULT TransformFilter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  HRESULT hr = S_OK;
  {
    AutoLock lock(streamLock_);
    hr = OnStreamStart();
  }
  if (FAILED(hr) || !worker_) return hr;
  return worker_->Start();
}

void TransformFilter::EndStreaming() {
  if (worker_) worker_->Stop();
  AutoLock lock(streamLock_);
  OnStreamEnd();
}

HRESULT TransformFilter::Receive(IMediaSample* in) {
  if (!output_.IsConnected()) return VFW_E_NOT_CONNECTED;
  if (worker_) return worker_->Push(in);
  return Process(in);
}

HRESULT TransformFilter::EndOfStream() {
  if (worker_) return worker_->PushEndOfStream();
  return output_.DeliverEndOfStream();
}

HRESULT TransformFilter::DeliverEndOfStream() { return output_.DeliverEndOfStream(); }

// What waits in the queue is dropped before the flush goes downstream, where it releases a
// worker held in Deliver; the flush ends downstream only once the worker let go.
HRESULT TransformFilter::BeginFlush() {
  if (worker_) worker_->BeginFlush();
  return output_.DeliverBeginFlush();
}

HRESULT TransformFilter::EndFlush() {
  if (worker_) worker_->EndFlush();
  return output_.DeliverEndFlush();
}

HRESULT TransformFilter::Process(IMediaSample* in) {
  const bool passThrough = output_.BorrowsAllocator();
  ComPtr<IMediaSample> out;
  HRESULT hr = S_OK;
  if (passThrough) {
    out = ComPtr<IMediaSample>::Share(in);
  } else {
    hr = output_.GetDeliveryBuffer(out.Put());
    if (FAILED(hr)) return hr;
  }
  {
    AutoLock lock(streamLock_);
    // Stopped while waiting for a buffer: the stream this sample belonged to is over.
    if (State() == State_Stopped) return VFW_E_WRONG_STATE;
    hr = passThrough ? PassThrough(in) : Transform(in, out.Get());
  }
  if (hr == S_FALSE) return S_OK;
  if (FAILED(hr)) return hr;
  hr = output_.Deliver(out.Get());
  if (hr != S_OK) {
    AutoLock lock(streamLock_);
    OnDeliveryFailed();
  }
  return hr;
}

}  // namespace zelvio::kit
