// The five system-wide hotkeys: registered for the main window, dispatched like clicks.
#include "app/form/form_main.h"
#include "hotkeys/hotkey_names.h"

namespace zelvio {

std::vector<TFormMain::HotkeyRow> TFormMain::HotkeyRows() {
  return {
      {kHotkeyStart,
       ComboBoxVKStart,
       ComboBoxKeyStart,
       {"A", "B", "C", "D", "E", "F1", "F2"},
       5,
       "Unable to assign start hotkey."},
      {kHotkeyPause,
       ComboBoxVKPause,
       ComboBoxKeyPause,
       {"F", "G", "H", "I", "J", "F3", "F4"},
       5,
       "Unable to assign pause hotkey."},
      {kHotkeyStop,
       ComboBoxVKStop,
       ComboBoxKeyStop,
       {"K", "L", "M", "N", "O", "F5", "F6"},
       5,
       "Unable to assign stop hotkey."},
      {kHotkeySnapshot,
       ComboBoxVKSnapshot,
       ComboBoxKeySnapshot,
       {"P", "Q", "R", "S", "T", "F7", "F8"},
       5,
       "Unable to assign snapshot hotkey."},
      {kHotkeyToggleBackground,
       ComboBoxVKToggleBg,
       ComboBoxKeyToggleBg,
       {"U", "V", "W", "X", "Y", "Z", "F9", "F10"},
       6,
       "Unable to assign Toggle Bg hotkey."},
  };
}

void TFormMain::RegisterHotkeys() {
  for (const HotkeyRow& row : HotkeyRows()) {
    unsigned key = VirtualKeyFromName(row.key.Text());
    // A key list without a selection (a damaged settings file) has no key to offer: the
    // action stays without a hotkey and the user is told, as for a refused one.
    bool registered = key != 0 && hotkeys_.AddHotkey(row.id, ModifierFlagsFromName(row.modifier.Text()), key);
    if (!registered) boxes_.ShowMessage(row.failure);
  }
}

void TFormMain::UnregisterHotkeys() {
  for (int id = kHotkeyStart; id <= kHotkeyToggleBackground; ++id) hotkeys_.RemoveHotkey(id);
}

void TFormMain::BitBtnSetHotkeysClick() {
  UnregisterHotkeys();
  RegisterHotkeys();
}

void TFormMain::HotkeyMessage(int id) {
  switch (id) {
    case kHotkeyStart:
    case kHotkeyPause:
      JvImgBtnStartPauseClick();
      return;
    case kHotkeyStop:
      JvImgBtnStopClick();
      return;
    case kHotkeySnapshot:
      JvImgBtnSnapshotClick();
      return;
    case kHotkeyToggleBackground:
      CheckBoxEnableBg.SetChecked(!CheckBoxEnableBg.Checked());
      return;
    default:
      return;
  }
}

}  // namespace zelvio
