#include "kit/enum_media_types.h"

#include <utility>

namespace zelvio::kit {

MediaTypeEnumerator::MediaTypeEnumerator(std::vector<MediaType> types, size_t position)
    : types_(std::move(types)), position_(position) {}

HRESULT MediaTypeEnumerator::Create(std::vector<MediaType> types, IEnumMediaTypes** out) {
  return CreateAndQuery<MediaTypeEnumerator>(IID_IEnumMediaTypes, reinterpret_cast<void**>(out),
                                             std::move(types), size_t{0});
}

STDMETHODIMP MediaTypeEnumerator::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes) {
    *out = static_cast<IEnumMediaTypes*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MediaTypeEnumerator::AddRef() { return refs_.Add(); }

STDMETHODIMP_(ULONG) MediaTypeEnumerator::Release() {
  ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP MediaTypeEnumerator::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
  if (!types) return E_POINTER;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG done = 0;
  while (done < count && position_ < types_.size()) {
    types[done] = CreateMediaTypeCopy(types_[position_].Get());
    if (!types[done]) break;
    ++done;
    ++position_;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP MediaTypeEnumerator::Skip(ULONG count) {
  size_t left = types_.size() - position_;
  if (count > left) {
    position_ = types_.size();
    return S_FALSE;
  }
  position_ += count;
  return S_OK;
}

STDMETHODIMP MediaTypeEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

STDMETHODIMP MediaTypeEnumerator::Clone(IEnumMediaTypes** out) {
  return CreateAndQuery<MediaTypeEnumerator>(IID_IEnumMediaTypes, reinterpret_cast<void**>(out), types_,
                                             position_);
}

}  // namespace zelvio::kit
