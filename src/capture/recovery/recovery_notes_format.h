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
#include <vector>

#include "capture/avi/avi_layout.h"
#include "capture/media/guid.h"

namespace zelvio::avi {

struct NotesMediaType {
  Guid majorType;
  Guid subType;
  Guid formatType;
  Bytes format;  // the format block
};

struct RecoveryNotes {
  std::string programVersion;  // printable, no line breaks
  int64_t avgTimePerFrame = 0;
  std::vector<NotesMediaType> inputs;
  // The program that records: its process id and its creation time (FILETIME units), so a
  // second copy can tell a live recording from an unfinished one. 0: not known (older notes).
  uint32_t ownerProcess = 0;
  uint64_t ownerStarted = 0;
};

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

// The streams the mux writes for these inputs: video from a VIDEOINFOHEADER or
// VIDEOINFOHEADER2 block (its own AvgTimePerFrame, else the notes'), audio from a
// WAVEFORMATEX block. Throws AviError for an input the layout cannot carry.
std::vector<StreamFormat> NotesStreams(const RecoveryNotes& notes);

}  // namespace zelvio::avi
