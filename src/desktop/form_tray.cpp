// Minimising into the notification area, and the tray menu's commands.
#include "app/form_main.h"

namespace zelvio {

void TFormMain::ApplicationOnMinimize() {
  if (!CheckBoxHideToTray.Checked()) return;
  // A refused icon ends the step here, so the taskbar button stays: the program is never
  // left without a way back.
  platform_.AddTrayIcon();
  ShowTaskbarButton(false);
}

void TFormMain::TrayIconClick() {
  if (platform_.ProgramMinimized()) platform_.RestoreMainWindow();
  platform_.BringProgramToFront();
  platform_.RemoveTrayIcon();
  ShowTaskbarButton(true);
}

void TFormMain::ShowTaskbarButton(bool show) { platform_.SetTaskbarButton(show); }

void TFormMain::TrayRestoreClick() { TrayIconClick(); }
void TFormMain::TrayRecordClick() { JvImgBtnStartPauseClick(); }
void TFormMain::TrayPauseClick() { JvImgBtnStartPauseClick(); }
void TFormMain::TrayStopClick() { JvImgBtnStopClick(); }
void TFormMain::TraySnapshotClick() { JvImgBtnSnapshotClick(); }
void TFormMain::TrayToggleBgClick() { CheckBoxEnableBg.SetChecked(!CheckBoxEnableBg.Checked()); }
void TFormMain::TrayExitClick() { platform_.CloseMainWindow(); }

}  // namespace zelvio
