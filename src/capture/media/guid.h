// A GUID and a read-only byte view that the portable capture code can use without
// <windows.h>. The layout matches the Windows GUID, so the Win32 side converts by copying.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvio {

struct Guid {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  uint8_t Data4[8] = {};

  friend constexpr bool operator==(const Guid& a, const Guid& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
      if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
  }
};

// Bytes owned by someone else. An absent block has no data or no size.
struct ByteSpan {
  const uint8_t* data = nullptr;
  size_t size = 0;

  bool Present() const { return data != nullptr && size != 0; }
  // Little-endian fields read byte by byte: the block may be unaligned and may be shorter
  // than the structure its owner claims, so bytes beyond its end count as zero.
  uint8_t ByteAt(size_t offset) const { return offset < size ? data[offset] : 0; }
  uint16_t U16At(size_t offset) const;
  uint32_t U32At(size_t offset) const;
  int32_t I32At(size_t offset) const { return static_cast<int32_t>(U32At(offset)); }
};

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces required, any letter case).
bool ParseGuid(std::string_view text, Guid& guid);
// The registry spelling: braces and upper-case digits.
std::string GuidText(const Guid& guid);

// For tables of known identifiers written as text; the text must be well formed.
constexpr Guid GuidLiteral(std::string_view text);

namespace guid_detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
constexpr uint32_t HexValue(std::string_view text, size_t at, size_t digits) {
  uint32_t value = 0;
  for (size_t i = 0; i < digits; ++i) value = value * 16 + static_cast<uint32_t>(HexDigit(text[at + i]));
  return value;
}
}  // namespace guid_detail

constexpr Guid GuidLiteral(std::string_view text) {
  using guid_detail::HexValue;
  Guid guid;
  guid.Data1 = HexValue(text, 1, 8);
  guid.Data2 = static_cast<uint16_t>(HexValue(text, 10, 4));
  guid.Data3 = static_cast<uint16_t>(HexValue(text, 15, 4));
  guid.Data4[0] = static_cast<uint8_t>(HexValue(text, 20, 2));
  guid.Data4[1] = static_cast<uint8_t>(HexValue(text, 22, 2));
  for (size_t i = 0; i < 6; ++i) guid.Data4[2 + i] = static_cast<uint8_t>(HexValue(text, 25 + 2 * i, 2));
  return guid;
}

}  // namespace zelvio
