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

// Opened once; a test that wants a slow stretch sets the event (see standin_ids.h).
void SlowDownWhenAsked() {
  static HANDLE slow = CreateEventW(nullptr, TRUE, FALSE, kSlowCodecEventName);
  if (slow && WaitForSingleObject(slow, 0) == WAIT_OBJECT_0) Sleep(kSlowCodecDelayMs);
}

}  // namespace

PassCompressor::PassCompressor(const CLSID& clsid, bool withDialogs)
    : TransformFilter(clsid), withDialogs_(withDialogs) {}

HRESULT PassCompressor::CheckInputType(const AM_MEDIA_TYPE& mt) { return IsRawRgbVideo(mt) ? S_OK : S_FALSE; }

std::vector<zelvio::kit::MediaType> PassCompressor::OutputTypes() { return {Input().ConnectedType()}; }

long PassCompressor::OutputBufferSize() {
  const AM_MEDIA_TYPE& mt = Input().ConnectedType().Get();
  long size = static_cast<long>(mt.lSampleSize);
  if (mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    size = std::max(size, static_cast<long>(vih->bmiHeader.biSizeImage));
  }
  return size;
}

// The frames leave as they came, so the input's buffers can travel on: no copy per frame
// (a full-screen frame is 8 MB). A peer that refuses them gets buffers of our own, and
// Transform copies into those.
zelvio::kit::ComPtr<IMemAllocator> PassCompressor::OutputAllocatorToShare() { return Input().Allocator(); }

HRESULT PassCompressor::PassThrough(IMediaSample* sample) {
  SlowDownWhenAsked();
  if (sample->IsSyncPoint() != S_OK) sample->SetSyncPoint(TRUE);  // every frame is a key frame
  return S_OK;
}

HRESULT PassCompressor::Transform(IMediaSample* in, IMediaSample* out) {
  SlowDownWhenAsked();
  HRESULT hr = zelvio::kit::CopySample(in, out);
  if (FAILED(hr)) return hr;
  out->SetSyncPoint(TRUE);  // every frame is a key frame
  return S_OK;
}

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
