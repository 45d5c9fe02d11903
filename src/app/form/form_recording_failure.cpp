// A recording that stops on its own: the graph reports that the file is no longer being
// written (a full disk, a write error, a device gone). Going on as if it were recording
// would lose everything from then on without a word, so the recording is stopped as Stop
// stops it, and one box says which file and why.
#include "app/form/form_main.h"
#include "app/form/recovery_texts.h"
#include "common/overlay_command.h"

namespace zelvio {

void TFormMain::GraphEventReceived(const GraphEvent& event) {
  if (recordingState_ == RecordingState::Stopped) return;
  std::optional<RecordingAbort> abort = RecordingAbortOf(event);
  if (abort) RecordingFailed(*abort);
}

void TFormMain::RecordingFailed(const RecordingAbort& abort) {
  StopAfterFailure();
  ShowStoppedControls();
  // The mux has stopped without finishing the file (a full disk leaves its header
  // unwritten); the repair makes what was recorded playable before the user reads the box.
  std::string repaired = RepairAfterFailure();
  boxes_.ShowError(RecordingStoppedText(recordingPath_, AbortReason(abort), repaired));
}

void TFormMain::StopAfterFailure() {
  // Stopped first, so the events that follow the first one (every filter of a failing
  // graph may send its own) find nothing left to stop and add no second box.
  recordingState_ = RecordingState::Stopped;
  SendOverlayCommand(OverlayColorCommand(kFrameStoppedColor, 0));
  TimerDuration.SetEnabled(false);
  try {
    pipeline_.StopGraph();
  } catch (const std::exception&) {
    // A graph that failed usually fails its stop with the same cause; the caller's box
    // reports the cause once.
  }
}

}  // namespace zelvio
