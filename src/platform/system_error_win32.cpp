#include "platform/system_error_win32.h"

#include "common/win32/system_error.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

std::string SystemTextIfAny(DWORD code) { return Narrow(SystemErrorWords(code)); }

std::string SystemErrorText(DWORD code) {
  std::string text = SystemTextIfAny(code);
  if (text.empty()) text = "System error " + std::to_string(code);
  return text;
}

}  // namespace zelvio
