// Reference counting shared by the kit's COM objects, plus the macro that lets a class with
// several interface bases answer IUnknown once.
#pragma once
#include <windows.h>

#include <new>

#include "kit/module_lock.h"

namespace zelvio::kit {

class RefCount {
 public:
  ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
  ULONG Drop() { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

 private:
  volatile LONG count_ = 0;
  ModuleRef module_;
};

// Creates an object with its first reference and asks it for the wanted interface.
template <class T, class... Args>
HRESULT CreateAndQuery(REFIID iid, void** out, Args&&... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  T* object = new (std::nothrow) T(static_cast<Args&&>(args)...);
  if (!object) return E_OUTOFMEMORY;
  object->AddRef();
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace zelvio::kit

// A class deriving from a kit base and from more interfaces repeats IUnknown so that every
// interface base resolves to the kit base's one implementation.
#define KIT_FORWARD_UNKNOWN(Base)                                                                         \
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return Base::QueryInterface(iid, out); } \
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }                                       \
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }
