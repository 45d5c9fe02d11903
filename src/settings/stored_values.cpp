#include "settings/stored_values.h"

#include "common/decimal_text.h"
#include "settings/ini_document.h"

namespace zelvio {

namespace {

constexpr uint32_t kSystemColour = 0xFF000000u;

constexpr std::array<std::string_view, 3> kTrueWords = {"TRUE", "YES", "Y"};
constexpr std::array<std::string_view, 3> kFalseWords = {"FALSE", "NO", "N"};

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& words) {
  for (std::string_view word : words) {
    if (EqualsIgnoreCase(text, word)) return true;
  }
  return false;
}

}  // namespace

const std::array<ColorName, 52> ColorNameTable = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    // System colours: the platform's COLOR_ index in the low byte. There is no 25.
    {"clScrollBar", kSystemColour | 0},
    {"clBackground", kSystemColour | 1},
    {"clActiveCaption", kSystemColour | 2},
    {"clInactiveCaption", kSystemColour | 3},
    {"clMenu", kSystemColour | 4},
    {"clWindow", kSystemColour | 5},
    {"clWindowFrame", kSystemColour | 6},
    {"clMenuText", kSystemColour | 7},
    {"clWindowText", kSystemColour | 8},
    {"clCaptionText", kSystemColour | 9},
    {"clActiveBorder", kSystemColour | 10},
    {"clInactiveBorder", kSystemColour | 11},
    {"clAppWorkSpace", kSystemColour | 12},
    {"clHighlight", kSystemColour | 13},
    {"clHighlightText", kSystemColour | 14},
    {"clBtnFace", kSystemColour | 15},
    {"clBtnShadow", kSystemColour | 16},
    {"clGrayText", kSystemColour | 17},
    {"clBtnText", kSystemColour | 18},
    {"clInactiveCaptionText", kSystemColour | 19},
    {"clBtnHighlight", kSystemColour | 20},
    {"cl3DDkShadow", kSystemColour | 21},
    {"cl3DLight", kSystemColour | 22},
    {"clInfoText", kSystemColour | 23},
    {"clInfoBk", kSystemColour | 24},
    {"clHotLight", kSystemColour | 26},
    {"clGradientActiveCaption", kSystemColour | 27},
    {"clGradientInactiveCaption", kSystemColour | 28},
    {"clMenuHighlight", kSystemColour | 29},
    {"clMenuBar", kSystemColour | 30},
}};

std::string EncodeBoolean(bool value) { return value ? "TRUE" : "FALSE"; }

std::optional<bool> DecodeBoolean(std::string_view text) {
  if (IsOneOf(text, kTrueWords)) return true;
  if (IsOneOf(text, kFalseWords)) return false;
  std::optional<int32_t> number = DecodeInteger(text);
  if (!number) return std::nullopt;
  return *number != 0;
}

std::string EncodeInteger(int32_t value) { return std::to_string(value); }

// The file only ever holds plain decimal. A leading "+" is taken because a
// hand-edited file may carry one and its meaning is plain; hexadecimal ("$1F",
// "0x1F") is refused so that a typo never turns into a surprising number.
std::optional<int32_t> DecodeInteger(std::string_view text) {
  if (text.empty()) return 0;
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-') return std::nullopt;
  }
  std::optional<int> number = ParseDecimal(text);
  if (!number) return std::nullopt;
  return static_cast<int32_t>(*number);
}

std::optional<uint32_t> ColorFromName(std::string_view name) {
  for (const ColorName& entry : ColorNameTable) {
    if (EqualsIgnoreCase(name, entry.name)) return entry.value;
  }
  return std::nullopt;
}

std::optional<std::string_view> ColorToName(uint32_t colour) {
  for (const ColorName& entry : ColorNameTable) {
    if (entry.value == colour) return entry.name;
  }
  return std::nullopt;
}

// A colour without a name is written as the signed 32-bit number it is, so a
// high-bit value that is not a system colour comes out negative and reads back
// through the same integer rule as every other stored number.
std::string EncodeColour(uint32_t colour) {
  if (std::optional<std::string_view> name = ColorToName(colour)) return std::string(*name);
  return EncodeInteger(static_cast<int32_t>(colour));
}

std::optional<uint32_t> DecodeColour(std::string_view text) {
  if (std::optional<uint32_t> named = ColorFromName(text)) return named;
  std::optional<int32_t> number = DecodeInteger(text);
  if (!number) return std::nullopt;
  return static_cast<uint32_t>(*number);
}

}  // namespace zelvio
