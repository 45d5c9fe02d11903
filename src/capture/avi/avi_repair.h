// Repairs an unfinished recording in place: rebuilds the RIFF and hdrl from the notes'
// formats inside the header area the recording reserved (with the movi list header too
// when the mux left that unwritten), keeps every complete chunk, cuts
// the torn tail, writes the indexes (OpenDML past the first segment), fixes every size and
// flushes. Where the frames tell their key frames (avi_frames.h), the index says so, and a
// frame that damage left undecodable keeps only an empty index entry that holds its time. Before writing
// anything it checks that the file is what the notes describe; a file that does not fit is left byte for byte
// as it was, and a file that is already complete is left alone. The file grows by no more than its indexes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "capture/avi/avi_file.h"
#include "capture/avi/repair_notes.h"

namespace zelvio::avi {

enum class RepairOutcome {
  Repaired,         // the file now plays; frames and seconds say how much it holds
  AlreadyComplete,  // nothing to do; the file is untouched
  Refused,          // the file does not fit the notes; untouched; reason says why
  IoError,          // reading or writing failed; reason holds the system's text
  NothingToRepair,  // the file is missing or holds no recorded data: no repair can ever help
  InUse,            // another handle holds the file (a live recording); untouched
};

struct RepairResult {
  RepairOutcome outcome = RepairOutcome::Refused;
  // The frames the file can show (indexed with their data; frames that can no longer be
  // decoded after damage are not among them, though they keep their time in the file), and
  // their length in seconds; for a file that starts with sound, the seconds of sound.
  uint64_t videoFrames = 0;
  double seconds = 0;
  std::string reason;
  uint64_t sizeBefore = 0;
  uint64_t sizeAfter = 0;
};

// Opens the file to repair; throws FileMissingError, FileInUseError or FileIoError.
using AviFileOpener = std::function<std::unique_ptr<AviFile>()>;

RepairResult RepairAvi(AviFile& file, const RecoveryNotes& notes);
RepairResult RepairAvi(const AviFileOpener& open, const RecoveryNotes& notes);
RepairResult RepairAvi(const std::filesystem::path& path, const RecoveryNotes& notes);

}  // namespace zelvio::avi
