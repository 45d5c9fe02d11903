// Recovery notes: while a recording runs, a small file beside it keeps what a repair needs
// (the mux's input formats, the frame rate, the program version), because the mux writes
// the file's headers and index only when it stops. A crash, a power cut or a full disk
// leaves the notes behind, and with them a way to make the file playable.
#include <optional>

#include "app/form_main.h"
#include "app/recovery_texts.h"
#include "app/text_numbers.h"
#include "app/version.h"
#include "pushsource/core/pushsource_target.h"
#include "capture/recovery_notes.h"

namespace zelvio {

void TFormMain::WriteRecoveryNotes() {
  RecordingNotes notes;
  notes.programVersion = ZELVIO_VERSION_TEXT;
  notes.owner = platform_.CurrentProcess();
  // A caption without a rate leaves the screen source at its own default.
  notes.framesPerSecond = IntegerOr(announcedFrameRate_, 0);
  if (notes.framesPerSecond <= 0) notes.framesPerSecond = pushsource::kDefaultFps;
  notes.muxInputs = pipeline_.MuxInputTypes();
  // Without a connected input there is nothing a repair could describe.
  if (notes.muxInputs.empty()) return;
  // The screencast folder is not created for a recording (its absence is reported when the
  // graph runs), so the notes do not create it either.
  const size_t separator = recordingPath_.find_last_of('\\');
  if (separator != std::string::npos && !platform_.FolderExists(recordingPath_.substr(0, separator))) return;
  // A folder that refuses the notes does not stop the recording; it only loses the repair.
  platform_.ReplaceFile(RecoveryNotesPath(recordingPath_), RecoveryNotesText(notes));
}

void TFormMain::RemoveRecoveryNotes() {
  if (recordingPath_.empty()) return;
  platform_.RemoveFile(RecoveryNotesPath(recordingPath_));
}

std::optional<RepairReport> TFormMain::RepairStoppedRecording() {
  if (recordingPath_.empty()) return std::nullopt;
  const std::string notesPath = RecoveryNotesPath(recordingPath_);
  std::string notes;
  if (!platform_.ReadFile(notesPath, notes)) return std::nullopt;
  RepairReport report = pipeline_.RepairRecording(recordingPath_, notes);
  if (report.outcome == RepairReport::Outcome::Repaired ||
      report.outcome == RepairReport::Outcome::AlreadyComplete ||
      report.outcome == RepairReport::Outcome::NothingToRepair) {
    platform_.RemoveFile(notesPath);
  }
  return report;
}

std::string TFormMain::RepairAfterFailure() {
  std::optional<RepairReport> report = RepairStoppedRecording();
  return report ? RepairOutcomeText(*report) : std::string();
}

void TFormMain::RecoverUnfinishedRecordings() {
  const std::string folder = ScreencastFolder();
  for (const std::string& name : platform_.ListFiles(folder, RecoveryNotesSuffix())) {
    RecoverRecording(folder + "\\" + name);
  }
}

void TFormMain::RecoverRecording(const std::string& notesPath) {
  const std::string aviPath = RecordingPathForNotes(notesPath);
  std::string notes;
  RepairReport report;
  if (!platform_.ReadFile(notesPath, notes)) {
    report.outcome = RepairReport::Outcome::IoError;
    report.reason = "its recovery notes could not be read";
  } else {
    // A recording of another copy of the program that still runs is not unfinished but
    // live: its file is being written and its notes are still needed.
    std::optional<ProcessIdentity> owner = RecoveryNotesOwner(notes);
    if (owner && platform_.ProcessRunning(*owner)) return;
    report = pipeline_.RepairRecording(aviPath, notes);
  }
  switch (report.outcome) {
    case RepairReport::Outcome::Repaired:
      platform_.RemoveFile(notesPath);
      platform_.ShowMessage(UnfinishedRecordingText(aviPath, report));
      break;
    case RepairReport::Outcome::AlreadyComplete:
      // The mux finished the file after all; only the notes were left over.
      platform_.RemoveFile(notesPath);
      break;
    case RepairReport::Outcome::NothingToRepair:
      // No later start could do better: said once, and the notes go.
      platform_.RemoveFile(notesPath);
      platform_.ShowMessage(UnfinishedRecordingText(aviPath, report));
      break;
    case RepairReport::Outcome::InUse:
      // Held open by a recording (of a copy whose notes do not name it): left for later.
      break;
    case RepairReport::Outcome::Refused:
    case RepairReport::Outcome::IoError:
      platform_.ShowError(UnfinishedRecordingText(aviPath, report));
      break;
  }
}

}  // namespace zelvio
