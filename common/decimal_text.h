// Plain decimal integers as every text of the program writes them: an optional '-', then
// one or more digits, nothing else; a value outside int is no number at all. Header-only,
// so the screen source can use it without the rest of the core.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace zelvio {

inline std::optional<int> ParseDecimal(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace zelvio
