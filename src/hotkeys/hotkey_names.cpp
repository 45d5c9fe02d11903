#include "hotkeys/hotkey_names.h"

namespace zelvio {

unsigned ModifierFlagsFromName(const std::string& name) {
  if (name == "NONE") return 0;
  if (name == "ALT") return 1;
  if (name == "CTRL") return 2;
  if (name == "SHIFT") return 4;
  return 8;
}

unsigned VirtualKeyFromName(const std::string& name) {
  for (unsigned n = 1; n <= 10; ++n) {
    if (name == "F" + std::to_string(n)) return 0x70 + n - 1;
  }
  if (name.empty()) return 0;
  return static_cast<unsigned char>(name[0]);
}

}  // namespace zelvio
