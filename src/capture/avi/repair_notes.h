// What a repair is told about a recording: the media type of every mux input, in input
// order, the frame time and the program that records. The recovery notes file
// (recovery/recovery_notes_format.h) carries these between runs; the repair reads only this.
#pragma once

#include <cstdint>
#include <string>
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

// The longest frame time that notes may give: one frame an hour.
constexpr int64_t kNotesMaxAvgTimePerFrame = 10000000LL * 3600;

// The streams the mux writes for these inputs: video from a VIDEOINFOHEADER or
// VIDEOINFOHEADER2 block (its own AvgTimePerFrame, else the notes'), audio from a
// WAVEFORMATEX block. Throws AviError for an input the layout cannot carry.
std::vector<StreamFormat> NotesStreams(const RecoveryNotes& notes);

}  // namespace zelvio::avi
