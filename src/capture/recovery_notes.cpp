#include "capture/recovery_notes.h"

#include <filesystem>

#include "capture/avi_repair.h"

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

RepairReport RepairRecordingFile(const std::string& aviPath, const std::string& notesText,
                                 const avi::AviFileOpener& open) {
  RepairReport report;
  std::string why;
  std::optional<avi::RecoveryNotes> notes = avi::ParseRecoveryNotes(notesText, &why);
  if (!notes) {
    report.outcome = RepairReport::Outcome::Refused;
    report.reason = "its recovery notes cannot be read (" + why + ")";
    return report;
  }
  // The program's paths are UTF-8; a narrow path would be read in the ANSI code page.
  const std::filesystem::path path(std::u8string(aviPath.begin(), aviPath.end()));
  avi::RepairResult result = open ? avi::RepairAvi(open, *notes) : avi::RepairAvi(path, *notes);
  report.outcome = result.outcome;
  report.seconds = result.seconds;
  report.frames = static_cast<int64_t>(result.videoFrames);
  report.reason = result.reason;
  return report;
}

}  // namespace zelvio
