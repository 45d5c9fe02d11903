#include "kit/held_sample.h"

#include <cstring>
#include <new>

namespace zelvio::kit {

HRESULT HeldSample::Keep(IMediaSample* from) {
  Clear();
  BYTE* source = nullptr;
  if (FAILED(from->GetPointer(&source)) || !source) return E_POINTER;
  long length = from->GetActualDataLength();
  if (length < 0) return E_INVALIDARG;
  try {
    data_.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  std::memcpy(data_.data(), source, data_.size());
  timeResult_ = from->GetTime(&start_, &stop_);
  if (FAILED(timeResult_)) timeResult_ = VFW_E_SAMPLE_TIME_NOT_SET;
  hasMediaTime_ = from->GetMediaTime(&mediaStart_, &mediaStop_) == S_OK;
  sync_ = from->IsSyncPoint() == S_OK;
  preroll_ = from->IsPreroll() == S_OK;
  discontinuity_ = from->IsDiscontinuity() == S_OK;
  AM_MEDIA_TYPE* type = nullptr;
  if (from->GetMediaType(&type) == S_OK && type) {
    type_ = MediaType(*type);
    hasType_ = true;
    DeleteMediaType(type);
  }
  return S_OK;
}

// Keeps the buffer: the next frame is the same size as a rule.
void HeldSample::Clear() {
  data_.clear();
  timeResult_ = VFW_E_SAMPLE_TIME_NOT_SET;
  hasMediaTime_ = sync_ = preroll_ = discontinuity_ = hasType_ = false;
  type_.Clear();
}

STDMETHODIMP HeldSample::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMediaSample) {
    *out = static_cast<IMediaSample*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HeldSample::GetPointer(BYTE** out) {
  if (!out) return E_POINTER;
  *out = data_.data();
  return S_OK;
}

STDMETHODIMP HeldSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
  if (!start || !stop) return E_POINTER;
  if (FAILED(timeResult_)) return timeResult_;
  *start = start_;
  *stop = stop_;
  return timeResult_;
}

STDMETHODIMP HeldSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
  if (!start) {
    timeResult_ = VFW_E_SAMPLE_TIME_NOT_SET;
    return S_OK;
  }
  start_ = *start;
  stop_ = stop ? *stop : *start + 1;
  timeResult_ = stop ? S_OK : VFW_S_NO_STOP_TIME;
  return S_OK;
}

STDMETHODIMP HeldSample::SetSyncPoint(BOOL on) {
  sync_ = on != FALSE;
  return S_OK;
}

STDMETHODIMP HeldSample::SetPreroll(BOOL on) {
  preroll_ = on != FALSE;
  return S_OK;
}

STDMETHODIMP HeldSample::SetActualDataLength(long length) {
  if (length < 0 || static_cast<size_t>(length) > data_.size()) return VFW_E_BUFFER_OVERFLOW;
  data_.resize(static_cast<size_t>(length));
  return S_OK;
}

STDMETHODIMP HeldSample::GetMediaType(AM_MEDIA_TYPE** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!hasType_) return S_FALSE;
  *out = CreateMediaTypeCopy(type_.Get());
  return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HeldSample::SetMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) {
    hasType_ = false;
    type_.Clear();
    return S_OK;
  }
  type_ = MediaType(*mt);
  hasType_ = true;
  return S_OK;
}

STDMETHODIMP HeldSample::SetDiscontinuity(BOOL on) {
  discontinuity_ = on != FALSE;
  return S_OK;
}

STDMETHODIMP HeldSample::GetMediaTime(LONGLONG* start, LONGLONG* stop) {
  if (!start || !stop) return E_POINTER;
  if (!hasMediaTime_) return VFW_E_MEDIA_TIME_NOT_SET;
  *start = mediaStart_;
  *stop = mediaStop_;
  return S_OK;
}

STDMETHODIMP HeldSample::SetMediaTime(LONGLONG* start, LONGLONG* stop) {
  hasMediaTime_ = start && stop;
  if (hasMediaTime_) {
    mediaStart_ = *start;
    mediaStop_ = *stop;
  }
  return S_OK;
}

}  // namespace zelvio::kit
