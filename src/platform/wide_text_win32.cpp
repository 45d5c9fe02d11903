#include "platform/wide_text_win32.h"

#include <windows.h>

namespace zelvio {

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  int chars = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  int bytes = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace

std::wstring Widen(std::string_view text) { return ToWide(CP_UTF8, text); }

std::string Narrow(std::wstring_view text) { return FromWide(CP_UTF8, text); }

std::string NarrowBounded(const wchar_t* text, size_t maxChars) {
  if (!text) return {};
  size_t length = 0;
  while (length < maxChars && text[length] != L'\0') ++length;
  return Narrow(std::wstring_view(text, length));
}

std::string TextFromAnsiCodePage(std::string_view ansi) { return Narrow(ToWide(CP_ACP, ansi)); }

bool TextToAnsiCodePage(std::string_view text, std::string& ansi) {
  const std::wstring wide = Widen(text);
  std::string converted = FromWide(CP_ACP, wide);
  // A best-fit ('Ж' as '?', 'Ā' as 'A') would read back as another text: only a spelling
  // that reads back the same counts.
  if (ToWide(CP_ACP, converted) != wide) return false;
  ansi = std::move(converted);
  return true;
}

}  // namespace zelvio
