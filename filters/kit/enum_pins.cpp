#include "kit/enum_pins.h"

#include <utility>

namespace zelvio::kit {

PinEnumerator::PinEnumerator(std::vector<ComPtr<IPin>> pins, size_t position)
    : pins_(std::move(pins)), position_(position) {}

HRESULT PinEnumerator::Create(std::vector<ComPtr<IPin>> pins, IEnumPins** out) {
  return CreateAndQuery<PinEnumerator>(IID_IEnumPins, reinterpret_cast<void**>(out), std::move(pins),
                                       size_t{0});
}

STDMETHODIMP PinEnumerator::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IEnumPins) {
    *out = static_cast<IEnumPins*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PinEnumerator::AddRef() { return refs_.Add(); }

STDMETHODIMP_(ULONG) PinEnumerator::Release() {
  ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP PinEnumerator::Next(ULONG count, IPin** pins, ULONG* fetched) {
  if (!pins) return E_POINTER;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG done = 0;
  while (done < count && position_ < pins_.size()) {
    pins_[position_].CopyTo(&pins[done]);
    ++done;
    ++position_;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP PinEnumerator::Skip(ULONG count) {
  size_t left = pins_.size() - position_;
  if (count > left) {
    position_ = pins_.size();
    return S_FALSE;
  }
  position_ += count;
  return S_OK;
}

STDMETHODIMP PinEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

STDMETHODIMP PinEnumerator::Clone(IEnumPins** out) {
  return CreateAndQuery<PinEnumerator>(IID_IEnumPins, reinterpret_cast<void**>(out), pins_, position_);
}

}  // namespace zelvio::kit
