// Minimising into the notification area, and the tray menu's commands.
#include "app/form/form_main.h"

#include <utility>

namespace zelvio {

void TFormMain::ApplicationOnMinimize() {
  if (!CheckBoxHideToTray.Checked()) return;
  // A refused icon ends the step here, so the taskbar button stays: the program is never
  // left without a way back.
  tray_.AddTrayIcon();
  ShowTaskbarButton(false);
}

void TFormMain::TrayIconClick() {
  if (mainWindow_.ProgramMinimized()) mainWindow_.RestoreMainWindow();
  mainWindow_.BringProgramToFront();
  tray_.RemoveTrayIcon();
  ShowTaskbarButton(true);
}

void TFormMain::ShowTaskbarButton(bool show) { mainWindow_.SetTaskbarButton(show); }

void TFormMain::TrayRestoreClick() { TrayIconClick(); }
void TFormMain::TrayRecordClick() { JvImgBtnStartPauseClick(); }
void TFormMain::TrayPauseClick() { JvImgBtnStartPauseClick(); }
void TFormMain::TrayStopClick() { JvImgBtnStopClick(); }
void TFormMain::TraySnapshotClick() { JvImgBtnSnapshotClick(); }
void TFormMain::TrayToggleBgClick() { CheckBoxEnableBg.SetChecked(!CheckBoxEnableBg.Checked()); }
void TFormMain::TrayExitClick() { mainWindow_.CloseMainWindow(); }

bool TFormMain::RunTrayCommand(unsigned id) {
  static constexpr std::pair<TrayCommand, void (TFormMain::*)()> kHandlers[] = {
      {kTrayRestore, &TFormMain::TrayRestoreClick},   {kTrayRecord, &TFormMain::TrayRecordClick},
      {kTrayPause, &TFormMain::TrayPauseClick},       {kTrayStop, &TFormMain::TrayStopClick},
      {kTraySnapshot, &TFormMain::TraySnapshotClick}, {kTrayToggleBg, &TFormMain::TrayToggleBgClick},
      {kTrayExit, &TFormMain::TrayExitClick},
  };
  for (const auto& [command, handler] : kHandlers) {
    if (command != id) continue;
    Guarded([this, handler = handler] { (this->*handler)(); });
    return true;
  }
  return false;
}

}  // namespace zelvio
