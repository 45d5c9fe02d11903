// The texts of the hotkey lists mapped to what RegisterHotKey takes.
#pragma once

#include <string>

namespace zelvio {

enum HotkeyAction { kHotkeyStart = 1, kHotkeyPause = 2, kHotkeyStop = 3, kHotkeySnapshot = 4, kHotkeyToggleBackground = 5 };

// "NONE" 0, "ALT" 1, "CTRL" 2, "SHIFT" 4, anything else (such as "WIN") 8.
unsigned ModifierFlagsFromName(const std::string& name);

// "F1".."F10" give VK_F1..VK_F10; other texts the code of their first character; an
// empty text (a key list without a selection) gives 0, meaning no key.
unsigned VirtualKeyFromName(const std::string& name);

}  // namespace zelvio
