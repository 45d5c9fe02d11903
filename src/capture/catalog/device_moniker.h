// The stored form of a DirectShow device moniker, as OleSaveToStream writes it: the
// moniker class (16 bytes), a 32-bit byte count, then the display name in UTF-16 with
// its terminating zero. The fixed filters of the capture graph are kept in this form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/media/guid.h"

namespace zelvio {

inline constexpr Guid kDeviceMonikerClass = GuidLiteral("{4315D437-5B8C-11D0-BD3B-00A0C911CE86}");
inline constexpr Guid kDirectShowFiltersCategory = GuidLiteral("{083863F1-70DE-11D0-BD40-00A0C911CE86}");

// "@device:sw:{083863F1-70DE-11D0-BD40-00A0C911CE86}\{CLSID}".
std::u16string FilterEntryDisplayName(const Guid& filterClass);

std::vector<uint8_t> StoredDeviceMoniker(const std::u16string& displayName);

// The display name inside a stored device moniker; false when the bytes are not one.
bool StoredDeviceMonikerName(const std::vector<uint8_t>& stored, std::u16string& displayName);

}  // namespace zelvio
