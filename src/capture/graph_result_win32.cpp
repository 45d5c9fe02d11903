#include "capture/graph_result_win32.h"

#include <errors.h>

#include "capture/graph_texts.h"
#include "platform/errors.h"

namespace zelvio {

void CheckGraphResult(HRESULT result) {
  if (result >= 0) return;
  char text[256] = {};
  AMGetErrorTextA(result, text, sizeof text);
  throw EDirectShowException(GraphErrorText(text, static_cast<int32_t>(result)),
                             static_cast<int32_t>(result));
}

void ThrowInterfaceNotSupported() { throw ZelvioError("Interface not supported"); }

}  // namespace zelvio
