#include "hotkeys/hotkey_names.h"

namespace zelvio {

unsigned ModifierFlagsFromName(const std::string& name) {
  if (name == "NONE") return 0;
  if (name == "ALT") return kModifierAlt;
  if (name == "CTRL") return kModifierControl;
  if (name == "SHIFT") return kModifierShift;
  return kModifierWin;
}

unsigned VirtualKeyFromName(const std::string& name) {
  for (unsigned n = 1; n <= 10; ++n) {
    if (name == "F" + std::to_string(n)) return kVirtualKeyF1 + n - 1;
  }
  if (name.empty()) return 0;
  return static_cast<unsigned char>(name[0]);
}

}  // namespace zelvio
