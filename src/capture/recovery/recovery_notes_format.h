// The small text file written beside an AVI when a recording starts: everything a repair
// needs to rebuild the headers the mux never wrote (the media type of every mux input, in
// input order, and the frame time). Removed after a clean stop, so its presence marks an
// unfinished recording.
//
//   Zelvio recording 1
//   version=<program version>
//   avgtimeperframe=<100 ns units>
//   owner=<process id> started=<creation time>     (absent in notes of older versions)
//   input=0 major={...} subtype={...} formattype={...} format=<hex bytes>
//   input=1 ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/avi/repair_notes.h"

namespace zelvio::avi {

constexpr size_t kNotesMaxInputs = 16;
constexpr size_t kNotesMaxFormatBytes = 4096;
constexpr size_t kNotesMaxVersionChars = 64;
// The notes sit beside the AVI under the AVI's name plus this suffix.
constexpr std::string_view kRecoveryNotesSuffix = ".recovery";
// What the names of a recording's notes end with, for finding them in a folder.
constexpr std::string_view kRecordingNotesEnding = ".avi.recovery";

std::string RecoveryNotesPath(std::string_view aviPath);
// The AVI a notes file belongs to; empty when the name does not end in the suffix. Letter
// case is ignored, as Windows ignores it in file names.
std::string RecordingPathForNotes(std::string_view notesPath);

std::string RecoveryNotesText(const RecoveryNotes& notes);
// Strict: anything out of place gives nullopt and, when asked, a reason.
std::optional<RecoveryNotes> ParseRecoveryNotes(std::string_view text, std::string* reason = nullptr);

}  // namespace zelvio::avi
