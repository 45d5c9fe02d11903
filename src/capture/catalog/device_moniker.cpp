#include "capture/catalog/device_moniker.h"

#include <algorithm>

namespace zelvio {
namespace {

constexpr size_t kClassBytes = 16;
constexpr size_t kHeaderBytes = kClassBytes + 4;

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> GuidBytes(const Guid& guid) {
  std::vector<uint8_t> bytes;
  PutLittleEndian(bytes, guid.Data1, 4);
  PutLittleEndian(bytes, guid.Data2, 2);
  PutLittleEndian(bytes, guid.Data3, 2);
  bytes.insert(bytes.end(), guid.Data4, guid.Data4 + 8);
  return bytes;
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

std::u16string FilterEntryDisplayName(const Guid& filterClass) {
  return u"@device:sw:" + Widen(GuidText(kDirectShowFiltersCategory)) + u"\\" + Widen(GuidText(filterClass));
}

std::vector<uint8_t> StoredDeviceMoniker(const std::u16string& displayName) {
  std::vector<uint8_t> bytes = GuidBytes(kDeviceMonikerClass);
  uint32_t nameBytes = static_cast<uint32_t>((displayName.size() + 1) * 2);
  PutLittleEndian(bytes, nameBytes, 4);
  for (char16_t c : displayName) PutLittleEndian(bytes, c, 2);
  PutLittleEndian(bytes, 0, 2);
  return bytes;
}

bool StoredDeviceMonikerName(const std::vector<uint8_t>& stored, std::u16string& displayName) {
  if (stored.size() < kHeaderBytes) return false;
  if (!std::equal(stored.begin(), stored.begin() + kClassBytes, GuidBytes(kDeviceMonikerClass).begin()))
    return false;
  ByteSpan view{stored.data(), stored.size()};
  uint32_t nameBytes = view.U32At(kClassBytes);
  if (nameBytes < 2 || nameBytes % 2 != 0 || nameBytes != stored.size() - kHeaderBytes) return false;
  size_t chars = nameBytes / 2 - 1;
  if (view.U16At(kHeaderBytes + chars * 2) != 0) return false;
  displayName.clear();
  for (size_t i = 0; i < chars; ++i)
    displayName.push_back(static_cast<char16_t>(view.U16At(kHeaderBytes + i * 2)));
  return true;
}

}  // namespace zelvio
