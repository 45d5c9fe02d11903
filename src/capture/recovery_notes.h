// The notes written beside a recording while it runs, and the repair that reads them: the
// form's side of the AVI repair.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/avi_repair.h"
#include "capture/capture_pipeline.h"
#include "platform/platform.h"

namespace zelvio {

struct RecordingNotes {
  std::string programVersion;
  ProcessIdentity owner;    // the program that records
  int framesPerSecond = 0;  // as announced to the screen source; 0 when unknown
  std::vector<ConnectedMediaType> muxInputs;
};

// "<file>.avi.recovery": the notes of a recording sit beside it under its own name.
std::string RecoveryNotesPath(const std::string& aviPath);
// The recording a notes file belongs to; empty when the name is not one of ours.
std::string RecordingPathForNotes(const std::string& notesPath);
// What notes file names end with, for finding them in a folder.
std::string RecoveryNotesSuffix();

std::string RecoveryNotesText(const RecordingNotes& notes);

// Who wrote the notes; none for notes that do not say (or cannot be read).
std::optional<ProcessIdentity> RecoveryNotesOwner(const std::string& notesText);

// Repairs the AVI in place from notes text: the work behind CapturePipeline::RepairRecording.
// Notes that cannot be read refuse the repair and leave the file untouched. `open` opens
// the file the way the platform can (alone, by its exact name); without it the file is
// opened by path with the standard library.
RepairReport RepairRecordingFile(const std::string& aviPath, const std::string& notesText,
                                 const avi::AviFileOpener& open = nullptr);

}  // namespace zelvio
