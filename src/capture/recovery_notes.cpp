#include "capture/recovery_notes.h"

#include <filesystem>

#include "capture/avi_repair.h"
#include "capture/avi_sidecar.h"

namespace zelvio {

namespace {
constexpr int64_t kUnitsPerSecond = 10'000'000;  // 100-nanosecond units
}

std::string RecoveryNotesPath(const std::string& aviPath) { return avi::SidecarPathFor(aviPath); }

std::string RecordingPathForNotes(const std::string& notesPath) { return avi::AviPathForSidecar(notesPath); }

std::string RecoveryNotesSuffix() { return ".avi" + std::string(avi::kSidecarSuffix); }

std::string RecoveryNotesText(const RecordingNotes& notes) {
  avi::RecordingSidecar sidecar;
  sidecar.programVersion = notes.programVersion;
  sidecar.avgTimePerFrame = notes.framesPerSecond > 0 ? kUnitsPerSecond / notes.framesPerSecond : 0;
  sidecar.ownerProcess = notes.owner.id;
  sidecar.ownerStarted = notes.owner.started;
  for (const ConnectedMediaType& input : notes.muxInputs) {
    sidecar.inputs.push_back({input.majorType, input.subType, input.formatType, input.format});
  }
  return avi::SerializeSidecar(sidecar);
}

std::optional<ProcessIdentity> RecoveryNotesOwner(const std::string& notesText) {
  std::optional<avi::RecordingSidecar> sidecar = avi::ParseSidecar(notesText);
  if (!sidecar || sidecar->ownerProcess == 0) return std::nullopt;
  return ProcessIdentity{sidecar->ownerProcess, sidecar->ownerStarted};
}

RepairReport RepairRecordingFile(const std::string& aviPath, const std::string& notesText,
                                 const avi::AviFileOpener& open) {
  RepairReport report;
  std::string why;
  std::optional<avi::RecordingSidecar> sidecar = avi::ParseSidecar(notesText, &why);
  if (!sidecar) {
    report.outcome = RepairReport::Outcome::Refused;
    report.reason = "its recovery notes cannot be read (" + why + ")";
    return report;
  }
  // The program's paths are UTF-8; a narrow path would be read in the ANSI code page.
  const std::filesystem::path path(std::u8string(aviPath.begin(), aviPath.end()));
  avi::RepairResult result = open ? avi::RepairAvi(open, *sidecar) : avi::RepairAvi(path, *sidecar);
  report.outcome = result.outcome;
  report.seconds = result.seconds;
  report.frames = static_cast<int64_t>(result.videoFrames);
  report.reason = result.reason;
  return report;
}

}  // namespace zelvio
