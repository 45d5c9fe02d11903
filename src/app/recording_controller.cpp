// Record/Pause and Stop: the only place that runs, pauses and stops the capture graph.
#include "app/form_main.h"
#include "app/time_texts.h"
#include "companions/overlay_command.h"

namespace zelvio {

void TFormMain::JvImgBtnStartPauseClick() {
  if (recordingState_ == RecordingState::Recording) {
    recordingState_ = RecordingState::Paused;
    SendOverlayCommand(OverlayColorCommand(kFramePausedColor, 0));
    pipeline_.PauseGraph();
    PanelOptions.SetEnabled(false);
    JvImgBtnStop.SetEnabled(true);
    JvImgBtnStartPause.SetImageIndex(kPictureRecord);
    return;
  }
  if (ComboBoxVideoCompressors.Text().empty()) {
    platform_.ShowMessage("Please select a video compressor.");
    return;
  }
  // From Stopped every recording gets a fresh graph and a file named by this press.
  if (recordingState_ == RecordingState::Stopped) BuildCaptureGraph();
  recordingState_ = RecordingState::Recording;
  SendOverlayCommand(OverlayColorCommand(kFrameRecordingColor, 0));
  pipeline_.RunGraph();
  TimerDuration.SetEnabled(true);
  PanelOptions.SetEnabled(false);
  JvImgBtnStop.SetEnabled(true);
  JvImgBtnStartPause.SetImageIndex(kPicturePause);
}

void TFormMain::JvImgBtnStopClick() {
  if (recordingState_ == RecordingState::Stopped) return;
  recordingState_ = RecordingState::Stopped;
  SendOverlayCommand(OverlayColorCommand(kFrameStoppedColor, 0));
  TimerDuration.SetEnabled(false);
  pipeline_.StopGraph();
  PanelOptions.SetEnabled(true);
  JvImgBtnStop.SetEnabled(false);
  JvImgBtnStartPause.SetImageIndex(kPictureRecord);
}

void TFormMain::TimerTimer() {
  if (!pipeline_.GraphActive()) return;
  LabelDuration.SetCaption(DurationText(pipeline_.CurrentPosition()));
}

TrayRecordingItems TFormMain::PopupMenuMainChange() const {
  switch (recordingState_) {
    case RecordingState::Recording:
      return {false, true, true};
    case RecordingState::Paused:
      return {true, false, true};
    case RecordingState::Stopped:
      break;
  }
  return {true, false, false};
}

}  // namespace zelvio
