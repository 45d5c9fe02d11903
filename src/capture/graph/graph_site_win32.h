// The object a filter graph gets as its site. The graph builder asks its site whether
// to use each filter it picks and what to do with a pin it cannot render; we accept every
// filter and leave such pins alone, so the callbacks change nothing.
#pragma once

#include <dshow.h>

#include "common/win32/com_ptr.h"

namespace zelvio {

// IAMFilterGraphCallback is missing from the mingw-w64 headers. Its method is declared
// without STDMETHODCALLTYPE on purpose: the platform calls it with the member-function
// convention (thiscall on 32-bit x86; the same as stdcall elsewhere).
struct IAMFilterGraphCallbackDecl : public IUnknown {
  virtual HRESULT UnableToRender(IPin* pin) = 0;
};

extern const IID kIID_IAMFilterGraphCallback;

ComPtr<IUnknown> CreateGraphSite();

}  // namespace zelvio
