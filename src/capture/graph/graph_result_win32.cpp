#include "capture/graph/graph_result_win32.h"

#include <errors.h>

#include "capture/graph/graph_texts.h"
#include "common/errors.h"
#include "platform/system_error_win32.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

void CheckGraphResult(HRESULT result) {
  if (result >= 0) return;
  // The platform's words may hold characters of any language: asked in UTF-16.
  wchar_t text[256] = {};
  AMGetErrorTextW(result, text, 256);
  // DirectShow knows words for its own codes only; the system's codes (a missing folder,
  // a full disk) have theirs in the system's table.
  const std::string systemText =
      HRESULT_FACILITY(result) == FACILITY_WIN32 ? SystemTextIfAny(HRESULT_CODE(result)) : std::string();
  throw EDirectShowException(
      GraphErrorText(GraphResultWords(NarrowBounded(text, 256), systemText), static_cast<int32_t>(result)),
      static_cast<int32_t>(result));
}

void ThrowInterfaceNotSupported() { throw ZelvioError("Interface not supported"); }

}  // namespace zelvio
