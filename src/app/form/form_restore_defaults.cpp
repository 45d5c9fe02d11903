// "Restore defaults" and the two output-folder buttons of the General tab.
#include "app/form/form_main.h"

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
  for (const HotkeyRow& row : HotkeyRows()) {
    row.modifier.SetItemIndex(0);
    row.key.SetItemIndex(row.defaultKey);
  }
  EditOutputVideoPath.SetText(DefaultFolder(kDefaultVideoFolder));
  EditOutputVideoPath.SetCaretToEnd();
  EditOutputScreenshotsPath.SetText(DefaultFolder(kDefaultScreenshotFolder));
  EditOutputScreenshotsPath.SetCaretToEnd();
}

void TFormMain::PickOutputFolder(const std::string& title, Edit& edit) {
  std::string folder;
  if (!dialogs_.BrowseForFolder(title, folder)) return;
  edit.SetText(folder);
  edit.SetCaretToEnd();
}

void TFormMain::BitBtnOutputVideoPathClick() { PickOutputFolder("Set path for videos", EditOutputVideoPath); }

void TFormMain::BitBtnOutputScreenshotsPathClick() {
  PickOutputFolder("Set path for screenshots", EditOutputScreenshotsPath);
}

}  // namespace zelvio
