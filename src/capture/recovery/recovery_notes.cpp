#include "capture/recovery/recovery_notes.h"

#include <filesystem>

#include "capture/avi/avi_repair.h"

namespace zelvio {

namespace {
constexpr int64_t kUnitsPerSecond = 10'000'000;  // 100-nanosecond units
}

avi::RecoveryNotes NotesForRecording(const std::string& programVersion, const ProcessIdentity& owner,
                                     int framesPerSecond, const std::vector<ConnectedMediaType>& muxInputs) {
  avi::RecoveryNotes notes;
  notes.programVersion = programVersion;
  notes.avgTimePerFrame = framesPerSecond > 0 ? kUnitsPerSecond / framesPerSecond : 0;
  notes.ownerProcess = owner.id;
  notes.ownerStarted = owner.started;
  for (const ConnectedMediaType& input : muxInputs) {
    notes.inputs.push_back({input.majorType, input.subType, input.formatType, input.format});
  }
  return notes;
}

std::optional<ProcessIdentity> RecoveryNotesOwner(const std::string& notesText) {
  std::optional<avi::RecoveryNotes> notes = avi::ParseRecoveryNotes(notesText);
  if (!notes || notes->ownerProcess == 0) return std::nullopt;
  return ProcessIdentity{notes->ownerProcess, notes->ownerStarted};
}

avi::RepairResult RepairRecordingFile(const std::string& aviPath, const std::string& notesText,
                                      const avi::AviFileOpener& open) {
  std::string why;
  std::optional<avi::RecoveryNotes> notes = avi::ParseRecoveryNotes(notesText, &why);
  if (!notes) {
    avi::RepairResult refused;
    refused.outcome = avi::RepairOutcome::Refused;
    refused.reason = "its recovery notes cannot be read (" + why + ")";
    return refused;
  }
  // The program's paths are UTF-8; a narrow path would be read in the ANSI code page.
  const std::filesystem::path path(std::u8string(aviPath.begin(), aviPath.end()));
  return open ? avi::RepairAvi(open, *notes) : avi::RepairAvi(path, *notes);
}

}  // namespace zelvio
