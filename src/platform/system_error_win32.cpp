#include "platform/system_error_win32.h"

#include "platform/wide_text_win32.h"

namespace zelvio {

std::string SystemTextIfAny(DWORD code) {
  // The system's words may be in any language, so they are asked for in UTF-16.
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::string text;
  if (length != 0 && buffer) text = NarrowBounded(buffer, length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

std::string SystemErrorText(DWORD code) {
  std::string text = SystemTextIfAny(code);
  if (text.empty()) text = "System error " + std::to_string(code);
  return text;
}

}  // namespace zelvio
