// "Restore defaults" and the two output-folder buttons of the General tab.
#include "app/form_main.h"

namespace zelvio {

void TFormMain::BitBtnRestoreDefaultsClick() {
  // Each step sets the control as code does, so checking the cursor box starts the hook
  // program at the priority the slider shows now, before the slider goes back to 1.
  CheckBoxEnableCursor.SetChecked(true);
  TrackBarCursorPriority.SetPosition(1);
  CheckBoxHideToTray.SetChecked(false);
  CheckBoxEnableCaptureTransparency.SetChecked(false);
  SpinEditTransparencyClock.SetEnabled(true);
  SpinEditTransparencyClock.SetValue(1000);
  ComboBoxVKStart.SetItemIndex(0);
  ComboBoxKeyStart.SetItemIndex(5);
  ComboBoxVKPause.SetItemIndex(0);
  ComboBoxKeyPause.SetItemIndex(5);
  ComboBoxVKStop.SetItemIndex(0);
  ComboBoxKeyStop.SetItemIndex(5);
  ComboBoxVKSnapshot.SetItemIndex(0);
  ComboBoxKeySnapshot.SetItemIndex(5);
  ComboBoxVKToggleBg.SetItemIndex(0);
  ComboBoxKeyToggleBg.SetItemIndex(6);
  EditOutputVideoPath.SetText(DefaultFolder("\\Output\\Screencasts"));
  EditOutputVideoPath.SetCaretToEnd();
  EditOutputScreenshotsPath.SetText(DefaultFolder("\\Output\\Screenshots"));
  EditOutputScreenshotsPath.SetCaretToEnd();
}

void TFormMain::PickOutputFolder(const std::string& title, Edit& edit) {
  std::string folder;
  if (!platform_.BrowseForFolder(title, folder)) return;
  edit.SetText(folder);
  edit.SetCaretToEnd();
}

void TFormMain::BitBtnOutputVideoPathClick() { PickOutputFolder("Set path for videos", EditOutputVideoPath); }

void TFormMain::BitBtnOutputScreenshotsPathClick() {
  PickOutputFolder("Set path for screenshots", EditOutputScreenshotsPath);
}

}  // namespace zelvio
