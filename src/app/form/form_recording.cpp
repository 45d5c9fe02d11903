// Record/Pause and Stop: the only place that runs, pauses and stops the capture graph.
#include "app/form/form_main.h"
#include "app/form/recovery_texts.h"
#include "app/form/time_texts.h"
#include "common/overlay_command.h"
#include "common/errors.h"

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
    boxes_.ShowMessage("Please select a video compressor.");
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
  } catch (const std::exception& error) {
    // A resume that fails has a recording behind it, which Stop still finishes.
    if (!fresh) throw;
    RecordingDidNotStart(error);
    return;
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
  std::optional<RecordingAbort> stopFailure;
  std::exception_ptr failure;
  try {
    pipeline_.StopGraph();
  } catch (const std::exception& error) {
    stopFailure = AbortOf(error);
    failure = std::current_exception();
  }
  // After a failed stop the panel, the Stop button and the image keep what they showed.
  if (!failure) ShowStoppedControls();
  FinishStoppedFile(stopFailure, failure);
}

// The mux writes the file's index and header during the stop, so only the file itself can
// tell whether it was finished: a full disk or a failed write at that moment leaves it
// unplayable, whether or not the stop reports it. The repair's own scan reads it; the notes
// go only with a complete file, and anything else is repaired and told in the one box of a
// recording that failed.
void TFormMain::FinishStoppedFile(const std::optional<RecordingAbort>& stopFailure,
                                  std::exception_ptr failure) {
  std::optional<avi::RepairResult> report = RepairStoppedRecording();
  if (!report) {
    // Without notes there is nothing to check the file against; the stop's own error is all.
    if (failure) std::rethrow_exception(failure);
    return;
  }
  if (report->outcome == avi::RepairOutcome::AlreadyComplete && !stopFailure) return;
  // Something else has the file open just now (a virus scanner, a preview): the notes stay
  // and the next start checks it; a box would cry wolf over a file that is most likely fine.
  if (report->outcome == avi::RepairOutcome::InUse && !stopFailure) return;
  RecordingAbort abort =
      stopFailure ? *stopFailure : RecordingAbort{0, "The file was not finished when the recording stopped"};
  boxes_.ShowError(RecordingStoppedText(recordingPath_, AbortReason(abort), RepairOutcomeText(*report)));
}

// Nothing was recorded, so the press is taken back whole: the frame, the buttons, the
// notes and whatever the writer had opened of the file. A frame left red with Stop enabled
// would tell the user a recording runs while nothing is written; and a file without
// frames, or notes beside it, would only turn up in the next start's repair boxes.
void TFormMain::RecordingDidNotStart(const std::exception& error) {
  // Filters that did start (a graph runs them one by one) stop again and let go of their
  // devices and the file.
  StopAfterFailure();
  ForgetRecoveryNotes();
  pipeline_.ReleaseRecordingFile(recordingPath_);
  if (files_.FileExists(recordingPath_)) files_.RemoveFile(recordingPath_);
  ShowStoppedControls();
  boxes_.ShowError(RecordingNotStartedText(recordingPath_, AbortReason(AbortOf(error))));
}

RecordingAbort TFormMain::AbortOf(const std::exception& error) {
  if (const auto* graph = dynamic_cast<const EDirectShowException*>(&error)) return {graph->Result(), ""};
  return {0, error.what()};
}

std::string TFormMain::AbortReason(const RecordingAbort& abort) {
  return AbortReasonText(abort, abort.result != 0 ? pipeline_.ResultText(abort.result) : std::string());
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
