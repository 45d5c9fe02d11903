#include "app/text_numbers.h"

#include <charconv>

namespace zelvio {

int IntegerOr(const std::string& text, int fallback) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return fallback;
  return value;
}

}  // namespace zelvio
