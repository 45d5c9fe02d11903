// Start-up and shut-down of the main window. The order of these steps is what the stored
// settings and the companion programs rely on.
#include "app/form/form_main.h"
#include "app/form/text_numbers.h"
#include "common/overlay_command.h"
#include "settings/form_storage.h"
#include "settings/ini_file_storage.h"

namespace zelvio {

void TFormMain::FormCreate() {
  LaunchOverlayProgram();
  recordingState_ = RecordingState::Stopped;
  EnumerateAudioDevices();
  EnumerateVideoCompressors();
  formStorage_->SetSettingsActive(true);
}

void TFormMain::Show() {
  if (shown_) return;
  shown_ = true;
  if (formStorage_->SettingsActive() && !formStorage_->SettingsLoaded()) {
    Guarded([this] { formStorage_->LoadWindowSettings(); });
    // A stored "on" started the layered-window timer before the stored period was loaded
    // (the period comes later in the file); the period the box shows is the one to use.
    if (CheckBoxEnableCaptureTransparency.Checked()) {
      TimerTransparencyCapture.SetInterval(static_cast<unsigned>(SpinEditTransparencyClock.Value()));
    }
  }
  // An error in a show step ends the show steps there; the window still shows.
  Guarded([this] { FormShow(); });
}

void TFormMain::FormShow() {
  RegisterHotkeys();
  ListAudioLinesAndFormats();
  ComboBoxInputLines.SetItemIndex(IntegerOr(LabelInputLinesIndex.Caption(), -1));
  ListBoxAudioFormat.SetItemIndex(IntegerOr(LabelAudioFormatIndex.Caption(), -1));
  SetCheckedWithoutClick(CheckBoxEnableAudio, IntegerOr(LabelIsAudioEnabled.Caption(), 0) != 0);
  announcedFrameRate_ = ComboBoxFps.Text();
  SendOverlayCommand(OverlayCaptionCommand(OverlayRateCaption(announcedFrameRate_)));
  BuildCaptureGraph();
  FillEmptyOutputPath(EditOutputVideoPath, kDefaultVideoFolder);
  FillEmptyOutputPath(EditOutputScreenshotsPath, kDefaultScreenshotFolder);
  CheckBoxEnableCursorClick();
  UpdateRegion();
}

void TFormMain::FillEmptyOutputPath(Edit& edit, const char* suffix) {
  if (edit.Text().empty()) edit.SetText(DefaultFolder(suffix));
  edit.SetCaretToEnd();
}

std::string TFormMain::DefaultFolder(const char* suffix) {
  // Joined as they are: a drive root such as "C:\" gives a doubled backslash.
  return files_.CurrentDirectory() + suffix;
}

bool TFormMain::CloseQuery() {
  // A close box may be open when the next request arrives (tray "Exit", Windows ending the
  // session): the path that is already running finishes the job.
  if (closing_) return false;
  closing_ = true;
  // Tearing a running graph down would leave the AVI without its index; stopping first, as
  // Stop does, lets the mux finish the file.
  if (recordingState_ != RecordingState::Stopped) Guarded([this] { JvImgBtnStopClick(); });
  if (formStorage_->SettingsActive()) {
    Guarded([this] { formStorage_->SaveWindowSettings(); });
  }
  Guarded([this] { FormClose(); });
  closed_ = true;
  return true;
}

void TFormMain::FormClose() {
  SendOverlayCommand(OverlayCloseCommand());
  if (CheckBoxEnableCursor.Checked()) CloseCursorHookProgram();
  pipeline_.FreeCatalogs();
  UnregisterHotkeys();
}

void TFormMain::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  if (formStorage_->SettingsActive() && !formStorage_->SettingsSaved()) {
    Guarded([this] { formStorage_->SaveWindowSettings(); });
  }
  iniStorage_->FlushSettingsFile();
}

void TFormMain::EndSession() {
  CloseQuery();
  Destroy();
}

void TFormMain::ComboBoxFpsChange() {
  boxes_.ShowMessage("FPS changed! Restart Zelvio in order to make the change");
}

void TFormMain::SetCheckedWithoutClick(CheckBox& box, bool checked) {
  Handler remembered = box.OnClick;
  box.OnClick = nullptr;
  box.SetChecked(checked);
  box.OnClick = remembered;
}

}  // namespace zelvio
