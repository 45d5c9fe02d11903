// Hotkeys named as the recorder's lists name them: a key "A".."Z" or "F1".."F12", with
// optionally one modifier in front ("CTRL+A", "ALT+F3", "SHIFT+K", "WIN+P"). zdesk probes
// and holds such hotkeys; zdriver presses them on the keyboard.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace ztest {

struct HotkeyName {
  UINT modifier = 0;     // MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN or 0
  WORD modifierKey = 0;  // the key that holds that modifier down, 0 for none
  UINT key = 0;          // virtual-key code, 0 for a name that is not a key
};

inline UINT KeyCode(const std::string& name) {
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<UINT>(name[0]);
  if (name.size() >= 2 && name[0] == 'F') {
    int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 12) return static_cast<UINT>(VK_F1 + number - 1);
  }
  return 0;
}

inline HotkeyName ParseHotkeyName(std::string name) {
  struct Modifier {
    const char* prefix;
    UINT flag;
    WORD key;
  };
  static const Modifier kModifiers[] = {{"ALT+", MOD_ALT, VK_MENU},
                                        {"CTRL+", MOD_CONTROL, VK_CONTROL},
                                        {"SHIFT+", MOD_SHIFT, VK_SHIFT},
                                        {"WIN+", MOD_WIN, VK_LWIN}};
  HotkeyName parsed;
  for (const Modifier& modifier : kModifiers) {
    std::string prefix = modifier.prefix;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    name.erase(0, prefix.size());
    parsed.modifier = modifier.flag;
    parsed.modifierKey = modifier.key;
    break;
  }
  parsed.key = KeyCode(name);
  return parsed;
}

}  // namespace ztest
