#include "capture/graph_result_win32.h"

#include <errors.h>

#include "capture/graph_texts.h"
#include "platform/errors.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

void CheckGraphResult(HRESULT result) {
  if (result >= 0) return;
  // The platform's words may hold characters of any language: asked in UTF-16.
  wchar_t text[256] = {};
  AMGetErrorTextW(result, text, 256);
  throw EDirectShowException(GraphErrorText(NarrowBounded(text, 256), static_cast<int32_t>(result)),
                             static_cast<int32_t>(result));
}

void ThrowInterfaceNotSupported() { throw ZelvioError("Interface not supported"); }

}  // namespace zelvio
