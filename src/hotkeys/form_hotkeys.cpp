// The five system-wide hotkeys: registered for the main window, dispatched like clicks.
#include "app/form_main.h"
#include "hotkeys/hotkey_names.h"

namespace zelvio {

namespace {

struct HotkeyRow {
  int id;
  ComboBox* modifier;
  ComboBox* key;
  const char* failure;
};

}  // namespace

void TFormMain::RegisterHotkeys() {
  const HotkeyRow rows[] = {
      {kHotkeyStart, &ComboBoxVKStart, &ComboBoxKeyStart, "Unable to assign start hotkey."},
      {kHotkeyPause, &ComboBoxVKPause, &ComboBoxKeyPause, "Unable to assign pause hotkey."},
      {kHotkeyStop, &ComboBoxVKStop, &ComboBoxKeyStop, "Unable to assign stop hotkey."},
      {kHotkeySnapshot, &ComboBoxVKSnapshot, &ComboBoxKeySnapshot, "Unable to assign snapshot hotkey."},
      {kHotkeyToggleBackground, &ComboBoxVKToggleBg, &ComboBoxKeyToggleBg, "Unable to assign Toggle Bg hotkey."},
  };
  for (const HotkeyRow& row : rows) {
    unsigned key = VirtualKeyFromName(row.key->Text());
    // A key list without a selection (a damaged settings file) has no key to offer: the
    // action stays without a hotkey and the user is told, as for a refused one.
    bool registered = key != 0 && platform_.RegisterHotKey(row.id, ModifierFlagsFromName(row.modifier->Text()), key);
    if (!registered) platform_.ShowMessage(row.failure);
  }
}

void TFormMain::UnregisterHotkeys() {
  for (int id = kHotkeyStart; id <= kHotkeyToggleBackground; ++id) platform_.UnregisterHotKey(id);
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
