// Text inside the program is UTF-8; the system's wide-character functions are where it
// becomes UTF-16. A folder whose name the ANSI code page cannot spell (Cyrillic or Chinese
// on an English Windows, say) reaches an ...A function as '?', so paths never go that way.
#pragma once

#include <string>
#include <string_view>

namespace zelvio {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// Up to the first zero character and at most `maxChars` characters of the source.
std::string NarrowBounded(const wchar_t* text, size_t maxChars);

// The ANSI code page, which the settings file has always been written in.
std::string TextFromAnsiCodePage(std::string_view ansi);
// False when some character has no exact spelling in the ANSI code page.
bool TextToAnsiCodePage(std::string_view text, std::string& ansi);

}  // namespace zelvio
