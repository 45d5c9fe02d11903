// The form's side of the recovery notes: the notes of a recording being made, who wrote a
// notes file, and the repair that reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/avi/avi_repair.h"
#include "capture/media/connected_media_type.h"
#include "capture/recovery/recovery_notes_format.h"
#include "platform/platform.h"

namespace zelvio {

// The notes of a recording that the program is about to write: the frame time from the rate
// announced to the screen source, the owner, and the mux's inputs in input order.
avi::RecoveryNotes NotesForRecording(const std::string& programVersion, const ProcessIdentity& owner,
                                     int framesPerSecond, const std::vector<ConnectedMediaType>& muxInputs);

// Who wrote the notes; none for notes that do not say (or cannot be read).
std::optional<ProcessIdentity> RecoveryNotesOwner(const std::string& notesText);

// Repairs the AVI in place from notes text: the work behind CapturePipeline::RepairRecording.
// Notes that cannot be read refuse the repair and leave the file untouched. `open` opens
// the file the way the platform can (alone, by its exact name); without it the file is
// opened by path with the standard library.
avi::RepairResult RepairRecordingFile(const std::string& aviPath, const std::string& notesText,
                                      const avi::AviFileOpener& open = nullptr);

}  // namespace zelvio
