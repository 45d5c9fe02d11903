// Conversions between the program's ANSI texts and the UTF-16 texts of COM.
#pragma once

#include <string>

namespace zelvio {

std::wstring WidenAnsi(const std::string& text);
// Up to the first zero character and at most `maxChars` characters of the source.
std::string NarrowToAnsi(const wchar_t* text, size_t maxChars);

}  // namespace zelvio
