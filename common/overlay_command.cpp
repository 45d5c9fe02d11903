#include "common/overlay_command.h"

#include <cstring>
#include <string_view>

#include "common/decimal_text.h"

namespace zelvio {
namespace {

constexpr char kSeparator = '$';
constexpr std::string_view kCaptionKeyword = "ChangeFormCaption";
constexpr std::string_view kCreateKeyword = "Create";
constexpr std::string_view kColorKeyword = "ChangeFormColor";
constexpr std::string_view kCloseKeyword = "Close";

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(kSeparator, start);
    if (end == std::string_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

std::optional<uint8_t> ParseHexByte(std::string_view two) {
  auto high = HexDigit(two[0]);
  auto low = HexDigit(two[1]);
  if (!high || !low) return std::nullopt;
  return static_cast<uint8_t>(*high * 16 + *low);
}

// "RRGGBB": red first, exactly six hexadecimal digits.
std::optional<OverlayColor> ParseColor(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  auto r = ParseHexByte(text.substr(0, 2));
  auto g = ParseHexByte(text.substr(2, 2));
  auto b = ParseHexByte(text.substr(4, 2));
  if (!r || !g || !b) return std::nullopt;
  return OverlayColor{*r, *g, *b};
}

// A region without area is a region all the same (no preset selected gives one): the frame
// then closes around a point, and the snapshot and the screen source see no area.
bool IsSize(int value) { return value >= 0 && value <= kMaxOverlayExtent; }
bool IsPosition(int value) { return value >= -kMaxOverlayExtent && value <= kMaxOverlayExtent; }

std::string FormatColor(OverlayColor color) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t byte : {color.r, color.g, color.b}) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::optional<OverlayCommand> ParseCaption(std::string_view text) {
  // The caption is everything after the keyword's separator, '$' included.
  size_t separator = text.find(kSeparator);
  if (separator == std::string_view::npos) return std::nullopt;
  return OverlayCaptionCommand(std::string(text.substr(separator + 1)));
}

std::optional<OverlayCommand> ParseCreate(const std::vector<std::string_view>& fields) {
  if (fields.size() != 7) return std::nullopt;
  auto width = ParseDecimal(fields[1]);
  auto height = ParseDecimal(fields[2]);
  auto left = ParseDecimal(fields[3]);
  auto top = ParseDecimal(fields[4]);
  auto flag = ParseDecimal(fields[5]);
  auto color = ParseColor(fields[6]);
  if (!width || !height || !left || !top || !flag || !color) return std::nullopt;
  if (!IsSize(*width) || !IsSize(*height)) return std::nullopt;
  if (!IsPosition(*left) || !IsPosition(*top)) return std::nullopt;
  if (*flag != 0 && *flag != -1) return std::nullopt;
  return OverlayRegionCommand(*width, *height, *left, *top, *flag == -1, *color);
}

std::optional<OverlayCommand> ParseColorChange(const std::vector<std::string_view>& fields) {
  if (fields.size() != 3) return std::nullopt;
  auto color = ParseColor(fields[1]);
  auto duration = ParseDecimal(fields[2]);
  if (!color || !duration || *duration < 0) return std::nullopt;
  return OverlayColorCommand(*color, *duration);
}

std::optional<OverlayCommand> ParseText(std::string_view text) {
  std::vector<std::string_view> fields = SplitFields(text);
  std::string_view keyword = fields[0];
  if (keyword == kCaptionKeyword) return ParseCaption(text);
  if (keyword == kCreateKeyword) return ParseCreate(fields);
  if (keyword == kColorKeyword) return ParseColorChange(fields);
  if (keyword == kCloseKeyword && fields.size() == 1) return OverlayCloseCommand();
  return std::nullopt;
}

}  // namespace

std::string OverlayRateCaption(const std::string& fps) {
  return std::string(kOverlayCaption) + kOverlayRateMark + fps;
}

OverlayColor OverlayColorFromColour(uint32_t colour) {
  return OverlayColor{static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
                      static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

OverlayCommand OverlayCaptionCommand(const std::string& caption) {
  OverlayCommand command;
  command.kind = OverlayCommandKind::ChangeFormCaption;
  command.caption = caption;
  return command;
}

OverlayCommand OverlayRegionCommand(int width, int height, int left, int top, bool background,
                                    OverlayColor color) {
  OverlayCommand command;
  command.kind = OverlayCommandKind::Create;
  command.width = width;
  command.height = height;
  command.left = left;
  command.top = top;
  command.background = background;
  command.color = color;
  return command;
}

OverlayCommand OverlayColorCommand(OverlayColor color, int durationMs) {
  OverlayCommand command;
  command.kind = OverlayCommandKind::ChangeFormColor;
  command.color = color;
  command.durationMs = durationMs;
  return command;
}

OverlayCommand OverlayCloseCommand() {
  OverlayCommand command;
  command.kind = OverlayCommandKind::Close;
  return command;
}

std::string FormatOverlayCommand(const OverlayCommand& command) {
  std::string text;
  auto field = [&text](std::string_view value) {
    text += kSeparator;
    text += value;
  };
  switch (command.kind) {
    case OverlayCommandKind::ChangeFormCaption:
      text = kCaptionKeyword;
      field(command.caption);
      break;
    case OverlayCommandKind::Create:
      text = kCreateKeyword;
      field(std::to_string(command.width));
      field(std::to_string(command.height));
      field(std::to_string(command.left));
      field(std::to_string(command.top));
      field(command.background ? "-1" : "0");
      field(FormatColor(command.color));
      break;
    case OverlayCommandKind::ChangeFormColor:
      text = kColorKeyword;
      field(FormatColor(command.color));
      field(std::to_string(command.durationMs));
      break;
    case OverlayCommandKind::Close:
      text = kCloseKeyword;
      break;
  }
  return text;
}

std::optional<OverlayCommand> ParseOverlayCommand(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0 || size > kMaxOverlayCommandBytes) return std::nullopt;
  const void* zero = std::memchr(data, 0, size);
  if (zero == nullptr) return std::nullopt;
  size_t length = static_cast<size_t>(static_cast<const uint8_t*>(zero) - data);
  return ParseText(std::string_view(reinterpret_cast<const char*>(data), length));
}

std::vector<uint8_t> EncodeCommandBytes(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

}  // namespace zelvio
