#include "capture/recovery_notes.h"

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
  for (const ConnectedMediaType& input : notes.muxInputs) {
    sidecar.inputs.push_back({input.majorType, input.subType, input.formatType, input.format});
  }
  return avi::SerializeSidecar(sidecar);
}

}  // namespace zelvio
