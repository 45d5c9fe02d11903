// IEnumPins over a snapshot of a filter's pins.
#pragma once
#include <strmif.h>

#include <vector>

#include "kit/com_ptr.h"
#include "kit/ref_count.h"

namespace zelvio::kit {

class PinEnumerator : public IEnumPins {
 public:
  PinEnumerator(std::vector<ComPtr<IPin>> pins, size_t position);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumPins** out) override;

  static HRESULT Create(std::vector<ComPtr<IPin>> pins, IEnumPins** out);

 private:
  virtual ~PinEnumerator() = default;
  RefCount refs_;
  std::vector<ComPtr<IPin>> pins_;
  size_t position_;
};

}  // namespace zelvio::kit
