// A media sample's data and properties kept by a filter after the sample went back to its
// allocator: what a queued transform hands its worker thread. It answers IMediaSample, so
// the derived filter's Transform reads it as it would the upstream sample.
//
// Owned by the queue that holds it, never deleted through Release: references the worker's
// code takes while it transforms must be given back before Transform returns.
#pragma once
#include <strmif.h>

#include <cstdint>
#include <vector>

#include "kit/media_type.h"

namespace zelvio::kit {

class HeldSample : public IMediaSample {
 public:
  // Takes a copy of `from`'s data and properties. Fails, leaving the sample empty, when the
  // data cannot be read or memory runs out.
  HRESULT Keep(IMediaSample* from);
  void Clear();
  // Bytes held (the buffer's capacity, for the queue's memory bound).
  size_t Footprint() const { return data_.capacity(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP GetPointer(BYTE** out) override;
  STDMETHODIMP_(long) GetSize() override { return static_cast<long>(data_.size()); }
  STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
  STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
  STDMETHODIMP IsSyncPoint() override { return sync_ ? S_OK : S_FALSE; }
  STDMETHODIMP SetSyncPoint(BOOL on) override;
  STDMETHODIMP IsPreroll() override { return preroll_ ? S_OK : S_FALSE; }
  STDMETHODIMP SetPreroll(BOOL on) override;
  STDMETHODIMP_(long) GetActualDataLength() override { return static_cast<long>(data_.size()); }
  STDMETHODIMP SetActualDataLength(long length) override;
  STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** out) override;
  STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP IsDiscontinuity() override { return discontinuity_ ? S_OK : S_FALSE; }
  STDMETHODIMP SetDiscontinuity(BOOL on) override;
  STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* stop) override;
  STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* stop) override;

 private:
  std::vector<uint8_t> data_;
  HRESULT timeResult_ = VFW_E_SAMPLE_TIME_NOT_SET;  // what GetTime answers
  REFERENCE_TIME start_ = 0, stop_ = 0;
  bool hasMediaTime_ = false;
  LONGLONG mediaStart_ = 0, mediaStop_ = 0;
  bool sync_ = false, preroll_ = false, discontinuity_ = false;
  bool hasType_ = false;
  MediaType type_;
};

}  // namespace zelvio::kit
