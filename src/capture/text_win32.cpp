#include "capture/text_win32.h"

#include <windows.h>

namespace zelvio {

std::wstring WidenAnsi(const std::string& text) {
  if (text.empty()) return {};
  int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
  return wide;
}

std::string NarrowToAnsi(const wchar_t* text, size_t maxChars) {
  if (!text) return {};
  size_t length = 0;
  while (length < maxChars && text[length] != L'\0') ++length;
  if (length == 0) return {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

}  // namespace zelvio
