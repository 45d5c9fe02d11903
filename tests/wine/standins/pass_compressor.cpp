#include "pass_compressor.h"

#include <amvideo.h>
#include <uuids.h>

#include <algorithm>

#include "kit/sample_copy.h"
#include "standin_ids.h"

namespace standins {

namespace {

bool IsRawRgbVideo(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video || mt.formattype != FORMAT_VideoInfo) return false;
  if (mt.subtype != MEDIASUBTYPE_RGB24 && mt.subtype != MEDIASUBTYPE_RGB32) return false;
  if (mt.cbFormat < sizeof(VIDEOINFOHEADER) || !mt.pbFormat) return false;
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  return vih->bmiHeader.biCompression == BI_RGB && vih->bmiHeader.biHeight > 0;
}

}  // namespace

CodecInputPin::CodecInputPin(PassCompressor& codec) : InputPin(codec, L"Input"), codec_(codec) {}

HRESULT CodecInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) { return IsRawRgbVideo(mt) ? S_OK : S_FALSE; }

HRESULT CodecInputPin::OnReceive(IMediaSample* sample) {
  // Opened once; a test that wants a slow stretch sets the event (see standin_ids.h).
  static HANDLE slow = CreateEventW(nullptr, TRUE, FALSE, kSlowCodecEventName);
  if (slow && WaitForSingleObject(slow, 0) == WAIT_OBJECT_0) Sleep(kSlowCodecDelayMs);
  return codec_.Output().Forward(sample);
}

HRESULT CodecInputPin::OnEndOfStream() { return codec_.Output().DeliverEndOfStream(); }

CodecOutputPin::CodecOutputPin(PassCompressor& codec) : OutputPin(codec, L"Output"), codec_(codec) {}

HRESULT CodecOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (!codec_.Input().IsConnected()) return S_FALSE;
  return zelvio::kit::SameMediaType(mt, codec_.Input().ConnectedType().Get()) ? S_OK : S_FALSE;
}

std::vector<zelvio::kit::MediaType> CodecOutputPin::OfferedTypes() {
  if (!codec_.Input().IsConnected()) return {};
  return {codec_.Input().ConnectedType()};
}

void CodecOutputPin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  const AM_MEDIA_TYPE& mt = codec_.Input().ConnectedType().Get();
  long size = static_cast<long>(mt.lSampleSize);
  if (mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    size = std::max(size, static_cast<long>(vih->bmiHeader.biSizeImage));
  }
  props.cbBuffer = std::max(size, 1L);
  props.cBuffers = std::max(props.cBuffers, 2L);
}

// The frames leave as they came, so the input's buffers can travel on: no copy per frame
// (a full-screen frame is 8 MB). A peer that refuses them gets buffers of our own.
zelvio::kit::ComPtr<IMemAllocator> CodecOutputPin::AllocatorToShare() { return codec_.Input().Allocator(); }

HRESULT CodecOutputPin::Forward(IMediaSample* sample) {
  if (BorrowsAllocator()) {
    if (sample->IsSyncPoint() != S_OK) sample->SetSyncPoint(TRUE);  // every frame is a key frame
    return Deliver(sample);
  }
  zelvio::kit::ComPtr<IMediaSample> out;
  HRESULT hr = GetDeliveryBuffer(out.Put());
  if (FAILED(hr)) return hr;
  hr = zelvio::kit::CopySample(sample, out.Get());
  if (FAILED(hr)) return hr;
  out->SetSyncPoint(TRUE);  // every frame is a key frame
  return Deliver(out.Get());
}

PassCompressor::PassCompressor(const CLSID& clsid, bool withDialogs)
    : BaseFilter(clsid), withDialogs_(withDialogs), input_(*this), output_(*this) {}

HRESULT PassCompressor::CreateWithDialog(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<PassCompressor>(iid, out, CLSID_TestCodecDialog, true);
}

HRESULT PassCompressor::CreatePlain(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<PassCompressor>(iid, out, CLSID_TestCodecPlain, false);
}

void* PassCompressor::FindInterface(REFIID iid) {
  if (withDialogs_ && iid == IID_IAMVfwCompressDialogs) return static_cast<IAMVfwCompressDialogs*>(this);
  return nullptr;
}

zelvio::kit::BasePin* PassCompressor::PinAt(int index) {
  if (index == 0) return &input_;
  if (index == 1) return &output_;
  return nullptr;
}

STDMETHODIMP PassCompressor::ShowDialog(int dialog, HWND parent) {
  switch (dialog) {
    case VfwCompressDialog_QueryConfig:
      return S_OK;
    case VfwCompressDialog_QueryAbout:
      return S_FALSE;
    case VfwCompressDialog_Config:
      // A modal box of our own, so a test can find it by its caption and close it.
      MessageBoxA(parent, "The Zelvio test codec has no settings.", "Zelvio Test Codec Settings", MB_OK);
      return S_OK;
    default:
      return E_NOTIMPL;
  }
}

STDMETHODIMP PassCompressor::GetState(LPVOID, int*) { return E_NOTIMPL; }
STDMETHODIMP PassCompressor::SetState(LPVOID, int) { return E_NOTIMPL; }
STDMETHODIMP PassCompressor::SendDriverMessage(int, LONG, LONG) { return E_NOTIMPL; }

}  // namespace standins
