// The control properties the main window keeps in the settings file, in the
// order they are applied at load and written at save. The order is behaviour:
// handlers that run while loading see the entries before them already applied.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/stored_values.h"

namespace zelvio {

struct StoredProp {
  std::string_view component;
  std::string_view property;
  StoredValueKind kind;
};

extern const std::array<StoredProp, 48> StoredProps;

// "RadioButtonDimFullscreen.Checked" is stored as "RadioButtonDimFullscreen_Checked".
std::string StoredValueName(const StoredProp& entry);

struct StoredPropName {
  std::string component;
  std::string property;
};

// Splits "Component.Property" at the first "."; blanks around either part do
// not count. Refuses a text without "." or with an empty part.
std::optional<StoredPropName> ParseStoredPropEntry(std::string_view entry);

}  // namespace zelvio
