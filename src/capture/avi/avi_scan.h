// Reads what an unfinished (or finished) AVI holds, without changing it: where the movi data
// starts, which segments and chunks are complete, where the torn tail begins. Anything that
// is not what our recordings (or the platform's mux) write is refused, so the repair never
// rewrites a file it does not understand.
#pragma once

#include <cstdint>
#include "common/errors.h"
#include <string>
#include <vector>

#include "capture/avi/avi_file.h"
#include "capture/avi/avi_layout.h"

namespace zelvio::avi {

// The file does not fit the notes; `what` says how, for the user.
struct RepairRefusedError : ZelvioError {
  using ZelvioError::ZelvioError;
};
// The file holds nothing that was recorded (empty, or zeros only).
struct NothingRecordedError : RepairRefusedError {
  using RepairRefusedError::RepairRefusedError;
};

struct FoundIndex {
  uint32_t stream = 0;
  uint64_t offset = 0;  // chunk header
  uint64_t span = 0;    // whole chunk
};

// Bytes between two sound chunks that are no chunk of the recording (a page of zeros, a
// damaged header); the repair makes them one JUNK chunk so the data after them stays.
struct DamagedSpan {
  uint64_t offset = 0;
  uint64_t span = 0;
};

struct ScannedSegment {
  uint64_t riffStart = 0;  // 0 for the first RIFF
  uint64_t moviStart = 0;  // its LIST 'movi' header
  uint32_t declaredRiffSize = 0;
  bool closed = false;  // its movi size is set and the chunks fill it exactly
  std::vector<ChunkEntry> chunks;
  std::vector<FoundIndex> stdIndexes;     // ix## chunks inside its movi
  uint64_t idx1Offset = 0, idx1Span = 0;  // the first segment's idx1 when present
  uint64_t dataEnd = 0;                   // end of its last complete stream chunk
  std::vector<DamagedSpan> damaged;       // holes the walk stepped over, in file order
};

struct AviScan {
  bool ownHeader = false;  // the header area holds a RIFF 'AVI ' with an hdrl
  uint64_t moviOffset = 0;
  bool moviListWritten = true;  // false when the zeros cover the LIST 'movi' header too
  std::vector<ScannedSegment> segments;
  uint64_t end = 0;  // end of the last whole structure the walk understood
};

// The header area is read up to this far when looking for the movi list.
constexpr uint64_t kMaxHeaderScan = 1 << 20;

// The largest ix## chunk a segment can hold. Each of its 8-byte entries names a chunk of the
// same segment, which takes at least its 8-byte header there, and no segment (its indexes
// included) passes kSegmentLimit, as OpenDML readers expect of every mux: 2^26 entries at
// most, 512 MiB. A larger size is a damaged header, and what it would cover is looked at as
// chunks. (A sound index is read only as far as the chunks it must list: ApplyStdIndexes.)
constexpr uint64_t kMaxStdIndexSpan =
    kStdIndexHeader + kStdIndexEntrySize * (kSegmentLimit / (kChunkHeader + kStdIndexEntrySize));

// Throws RepairRefusedError for foreign content, and for recorded data that a hole cuts off
// from the rest without a sound chunk to go on from; FileIoError for failed reads.
AviScan ScanAvi(AviFile& file, const std::vector<StreamFormat>& streams);

// Reads the key flags of a segment's own ix## chunks into its chunk list. False when an
// index does not list exactly the chunks walked for its stream.
bool ApplyStdIndexes(AviFile& file, ScannedSegment& segment);

}  // namespace zelvio::avi
