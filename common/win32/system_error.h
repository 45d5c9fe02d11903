// The system's own words for an error code, as a message box shows them.
#pragma once

#include <windows.h>

#include <string>

namespace zelvio {

// FormatMessage's text for `code`, without the trailing line break and full stop, so the
// caller can put it into a sentence of its own; empty where the system has no text for the
// code. Asked for in UTF-16, since the system's words may be in any language.
inline std::wstring SystemErrorWords(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer) text.assign(buffer, length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

}  // namespace zelvio
