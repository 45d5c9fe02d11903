// A small owning holder for COM interface pointers: one reference per holder, released
// on every path, exceptions included.
#pragma once

#include <objbase.h>

#include <utility>

namespace zelvio {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  static ComPtr Adopt(T* raw) {
    ComPtr p;
    p.p_ = raw;
    return p;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* raw) {
    if (raw) raw->AddRef();
    return Adopt(raw);
  }

  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // For out-parameters: releases what is held and hands out the slot.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // QueryInterface; an empty holder when the object lacks the interface.
  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(iid, other.PutVoid());
    return other;
  }
  // The same, with QueryInterface's own result for a COM method to pass on.
  template <class U>
  HRESULT QueryTo(REFIID iid, ComPtr<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.PutVoid());
  }

  // Hands a reference of the caller's own to a COM out-parameter.
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace zelvio
