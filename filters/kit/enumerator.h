// IEnumPins and IEnumMediaTypes over a snapshot taken when the enumerator is made. The two
// differ only in what they hold and how they hand an item out, which `Items` says:
//   Interface   the enumerator interface          Held  what the snapshot keeps
//   Iid()       that interface's id               Out   what Next fills in
//   HandOut(held, out)  fills one item in; false when it cannot (out of memory)
#pragma once
#include <strmif.h>

#include <utility>
#include <vector>

#include "kit/com_ptr.h"
#include "kit/media_type.h"
#include "kit/ref_count.h"

namespace zelvio::kit {

template <class Items>
class Enumerator : public Items::Interface {
 public:
  using Interface = typename Items::Interface;
  using Held = typename Items::Held;
  using Out = typename Items::Out;

  Enumerator(std::vector<Held> items, size_t position) : items_(std::move(items)), position_(position) {}

  static HRESULT Create(std::vector<Held> items, Interface** out) {
    return CreateAndQuery<Enumerator>(Items::Iid(), reinterpret_cast<void**>(out), std::move(items),
                                      size_t{0});
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == Items::Iid()) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = refs_.Drop();
    if (left == 0) delete this;
    return left;
  }

  STDMETHODIMP Next(ULONG count, Out* items, ULONG* fetched) override {
    if (!items) return E_POINTER;
    if (count > 1 && !fetched) return E_INVALIDARG;
    ULONG done = 0;
    while (done < count && position_ < items_.size()) {
      if (!Items::HandOut(items_[position_], items[done])) break;
      ++done;
      ++position_;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }

  STDMETHODIMP Skip(ULONG count) override {
    size_t left = items_.size() - position_;
    if (count > left) {
      position_ = items_.size();
      return S_FALSE;
    }
    position_ += count;
    return S_OK;
  }

  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }

  STDMETHODIMP Clone(Interface** out) override {
    return CreateAndQuery<Enumerator>(Items::Iid(), reinterpret_cast<void**>(out), items_, position_);
  }

 private:
  virtual ~Enumerator() = default;
  RefCount refs_;
  std::vector<Held> items_;
  size_t position_;
};

// A filter's pins; each handed out with a reference of its own.
struct PinItems {
  using Interface = IEnumPins;
  using Held = ComPtr<IPin>;
  using Out = IPin*;
  static REFIID Iid() { return IID_IEnumPins; }
  static bool HandOut(const Held& pin, Out& out) {
    pin.CopyTo(&out);
    return true;
  }
};

// A pin's offered types; each handed out as a CoTaskMem copy that the caller frees.
struct MediaTypeItems {
  using Interface = IEnumMediaTypes;
  using Held = MediaType;
  using Out = AM_MEDIA_TYPE*;
  static REFIID Iid() { return IID_IEnumMediaTypes; }
  static bool HandOut(const Held& type, Out& out) {
    out = CreateMediaTypeCopy(type.Get());
    return out != nullptr;
  }
};

using PinEnumerator = Enumerator<PinItems>;
using MediaTypeEnumerator = Enumerator<MediaTypeItems>;

}  // namespace zelvio::kit
