// How stored control properties are spelled in the settings file. Every
// decoder returns std::nullopt for a value it cannot read; the caller then
// leaves the control as it is.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvio {

enum class StoredValueKind { Boolean, Integer, Text, Colour };

// "TRUE" / "FALSE".
std::string EncodeBoolean(bool value);
// "TRUE", "YES", "Y" and "FALSE", "NO", "N" in any letter case; else an
// integer (non-zero is true); empty is false.
std::optional<bool> DecodeBoolean(std::string_view text);

// Plain decimal, "-" for negative numbers.
std::string EncodeInteger(int32_t value);
// Optional "+" or "-", then decimal digits, within 32 bits; empty is 0.
std::optional<int32_t> DecodeInteger(std::string_view text);

// A colour is 0x00BBGGRR; the highest byte marks special values (system
// colours, "none", "default").
struct ColorName {
  std::string_view name;
  uint32_t value;
};

// The 52 colour names of the settings file, no two with the same value.
extern const std::array<ColorName, 52> ColorNameTable;

std::optional<uint32_t> ColorFromName(std::string_view name);  // letter case ignored
std::optional<std::string_view> ColorToName(uint32_t colour);

// The table's name when there is one, else the colour as a signed 32-bit decimal.
std::string EncodeColour(uint32_t colour);
// A table name, else an integer as DecodeInteger reads it; empty is black.
std::optional<uint32_t> DecodeColour(std::string_view text);

}  // namespace zelvio
