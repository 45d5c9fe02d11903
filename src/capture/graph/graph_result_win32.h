// The checked-call rule for DirectShow results, and the failure for a missing interface.
#pragma once

#include <windows.h>

#include "common/win32/com_ptr.h"

namespace zelvio {

// A negative result throws EDirectShowException with the platform's text and the code.
void CheckGraphResult(HRESULT result);

// The error a component raises when asked for an interface it does not offer.
[[noreturn]] void ThrowInterfaceNotSupported();

// QueryInterface that throws "Interface not supported" instead of returning nothing.
template <class U, class T>
ComPtr<U> Require(const ComPtr<T>& object, REFIID iid) {
  ComPtr<U> result = object.template As<U>(iid);
  if (!result) ThrowInterfaceNotSupported();
  return result;
}

}  // namespace zelvio
