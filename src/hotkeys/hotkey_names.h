// The texts of the hotkey lists mapped to what RegisterHotKey takes.
#pragma once

#include <string>

namespace zelvio {

enum HotkeyAction {
  kHotkeyStart = 1,
  kHotkeyPause = 2,
  kHotkeyStop = 3,
  kHotkeySnapshot = 4,
  kHotkeyToggleBackground = 5
};

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN) and the code
// of VK_F1, spelled out here because this file stays free of <windows.h>.
inline constexpr unsigned kModifierAlt = 0x1;
inline constexpr unsigned kModifierControl = 0x2;
inline constexpr unsigned kModifierShift = 0x4;
inline constexpr unsigned kModifierWin = 0x8;
inline constexpr unsigned kVirtualKeyF1 = 0x70;

// "NONE" 0, "ALT" 1, "CTRL" 2, "SHIFT" 4, anything else (such as "WIN") 8.
unsigned ModifierFlagsFromName(const std::string& name);

// "F1".."F10" give VK_F1..VK_F10; other texts the code of their first character; an
// empty text (a key list without a selection) gives 0, meaning no key.
unsigned VirtualKeyFromName(const std::string& name);

}  // namespace zelvio
