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
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/avi_layout.h"
#include "capture/guid.h"

namespace zelvio::avi {

struct SidecarMediaType {
  Guid majorType;
  Guid subType;
  Guid formatType;
  Bytes format;  // the format block
};

struct RecordingSidecar {
  std::string programVersion;  // printable, no line breaks
  int64_t avgTimePerFrame = 0;
  std::vector<SidecarMediaType> inputs;
  // The program that records: its process id and its creation time (FILETIME units), so a
  // second copy can tell a live recording from an unfinished one. 0: not known (older notes).
  uint32_t ownerProcess = 0;
  uint64_t ownerStarted = 0;
};

constexpr size_t kSidecarMaxInputs = 16;
constexpr size_t kSidecarMaxFormatBytes = 4096;
constexpr size_t kSidecarMaxVersionChars = 64;
// The sidecar sits beside the AVI under the AVI's name plus this suffix.
constexpr std::string_view kSidecarSuffix = ".recovery";

std::string SidecarPathFor(std::string_view aviPath);
// The AVI a sidecar belongs to; empty when the name does not end in the suffix. Letter
// case is ignored, as Windows ignores it in file names.
std::string AviPathForSidecar(std::string_view sidecarPath);

std::string SerializeSidecar(const RecordingSidecar& sidecar);
// Strict: anything out of place gives nullopt and, when asked, a reason.
std::optional<RecordingSidecar> ParseSidecar(std::string_view text, std::string* reason = nullptr);

// The sidecar files in a folder, sorted by name; none when the folder cannot be listed.
std::vector<std::filesystem::path> FindSidecars(const std::filesystem::path& folder);
// Whole-file helpers; false or nullopt with a reason on failure.
bool WriteSidecarFile(const std::filesystem::path& path, const RecordingSidecar& sidecar,
                      std::string* reason = nullptr);
std::optional<RecordingSidecar> ReadSidecarFile(const std::filesystem::path& path,
                                                std::string* reason = nullptr);

// The streams the mux writes for these inputs: video from a VIDEOINFOHEADER or
// VIDEOINFOHEADER2 block (its own AvgTimePerFrame, else the sidecar's), audio from a
// WAVEFORMATEX block. Throws AviError for an input the layout cannot carry.
std::vector<StreamFormat> SidecarStreams(const RecordingSidecar& sidecar);

}  // namespace zelvio::avi
