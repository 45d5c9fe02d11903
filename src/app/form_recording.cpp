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
  const bool fresh = recordingState_ == RecordingState::Stopped;
  if (fresh) {
    BuildCaptureGraph();
    recordingPath_ = builtPath_;
  }
  recordingState_ = RecordingState::Recording;
  SendOverlayCommand(OverlayColorCommand(kFrameRecordingColor, 0));
  // The notes go down before the graph runs: written afterwards, their time on the disk
  // would be recorded too.
  if (fresh) WriteRecoveryNotes();
  try {
    pipeline_.RunGraph();
  } catch (...) {
    // A graph that did not run wrote no file worth repairing.
    if (fresh) RemoveRecoveryNotes();
    throw;
  }
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
  // The mux has finished the file: nothing is left to repair.
  RemoveRecoveryNotes();
  ShowStoppedControls();
}

void TFormMain::ShowStoppedControls() {
  PanelOptions.SetEnabled(true);
  JvImgBtnStop.SetEnabled(false);
  JvImgBtnStartPause.SetImageIndex(kPictureRecord);
}

void TFormMain::TimerTimer() {
  if (!pipeline_.GraphActive()) return;
  int64_t position = 0;
  try {
    position = pipeline_.CurrentPosition();
  } catch (const std::exception& error) {
    // A box keeps dispatching messages, and at 1 ms the next tick would open the next box
    // on top of it, without end: the timer rests while the one box is shown, and goes on
    // afterwards only if the recording does (Stop may have come by hotkey meanwhile).
    TimerDuration.SetEnabled(false);
    ShowErrorBox(error);
    if (recordingState_ != RecordingState::Stopped) TimerDuration.SetEnabled(true);
    return;
  }
  LabelDuration.SetCaption(DurationText(position));
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
