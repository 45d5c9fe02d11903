// IEnumMediaTypes over a snapshot of a pin's offered types.
#pragma once
#include <vector>

#include "kit/media_type.h"
#include "kit/ref_count.h"

namespace zelvio::kit {

class MediaTypeEnumerator : public IEnumMediaTypes {
 public:
  MediaTypeEnumerator(std::vector<MediaType> types, size_t position = 0);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumMediaTypes** out) override;

  static HRESULT Create(std::vector<MediaType> types, IEnumMediaTypes** out);

 private:
  virtual ~MediaTypeEnumerator() = default;
  RefCount refs_;
  std::vector<MediaType> types_;
  size_t position_;
};

}  // namespace zelvio::kit
