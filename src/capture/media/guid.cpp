#include "capture/media/guid.h"

#include <cstdio>

namespace zelvio {

uint16_t ByteSpan::U16At(size_t offset) const {
  return static_cast<uint16_t>(ByteAt(offset) | (ByteAt(offset + 1) << 8));
}

uint32_t ByteSpan::U32At(size_t offset) const {
  return static_cast<uint32_t>(U16At(offset)) | (static_cast<uint32_t>(U16At(offset + 2)) << 16);
}

bool ParseGuid(std::string_view text, Guid& guid) {
  constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != kShape.size()) return false;
  for (size_t i = 0; i < kShape.size(); ++i) {
    bool digitWanted = kShape[i] == 'X';
    if (digitWanted && guid_detail::HexDigit(text[i]) < 0) return false;
    if (!digitWanted && text[i] != kShape[i]) return false;
  }
  guid = GuidLiteral(text);
  return true;
}

std::string GuidText(const Guid& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

}  // namespace zelvio
