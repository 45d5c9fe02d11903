#include "capture/avi/avi_repair.h"

#include <algorithm>

#include "capture/avi/avi_frames.h"
#include "capture/avi/avi_scan.h"

namespace zelvio::avi {
namespace {

struct PlannedWrite {
  uint64_t offset;
  Bytes bytes;
};

struct Plan {
  uint64_t newSize = 0;
  std::vector<PlannedWrite> writes;  // in order; the header comes last
};

Bytes U32Bytes(uint32_t value) {
  Bytes out;
  PutU32(out, value);
  return out;
}

Bytes MoviListHeader() {
  Bytes out;
  PutU32(out, kList);
  PutU32(out, 0);
  PutU32(out, kMovi);
  return out;
}

uint32_t SizeField(uint64_t size) {
  if (size > 0xFFFFFFFFu) throw RepairRefusedError("the recording is too large for one RIFF segment");
  return uint32_t(size);
}

// Counts, sizes and video frames of a run of chunks.
void AddTotals(const std::vector<ChunkEntry>& chunks, std::vector<StreamTotals>& totals) {
  for (const auto& c : chunks) {
    StreamTotals& t = totals[c.stream];
    ++t.chunks;
    if (c.standIn) {
      ++t.standIns;
      continue;
    }
    t.bytes += c.size;
    t.largestChunk = std::max(t.largestChunk, c.size);
  }
}

uint64_t VideoFrames(const std::vector<ChunkEntry>& chunks, const std::vector<StreamFormat>& streams) {
  return uint64_t(std::count_if(chunks.begin(), chunks.end(), [&](const ChunkEntry& c) {
    return streams[c.stream].kind == StreamKind::Video;
  }));
}

std::vector<uint64_t> ChunksPerStream(const ScannedSegment& segment, size_t streams) {
  std::vector<uint64_t> counts(streams, 0);
  for (const auto& c : segment.chunks) ++counts[c.stream];
  return counts;
}

// An earlier segment keeps its own ix## chunks; each must list exactly its chunks.
void AddEarlierSuperIndex(AviFile& file, ScannedSegment& segment, const std::vector<StreamFormat>& streams,
                          std::vector<StreamTotals>& totals) {
  auto counts = ChunksPerStream(segment, streams.size());
  std::vector<int> found(streams.size(), 0);
  for (const auto& ix : segment.stdIndexes) ++found[ix.stream];
  for (size_t s = 0; s < streams.size(); ++s) {
    if (found[s] != (counts[s] ? 1 : 0))
      throw RepairRefusedError("an earlier segment of the file lacks its index");
  }
  if (!ApplyStdIndexes(file, segment))
    throw RepairRefusedError("an earlier segment's index does not match its chunks");
  for (const auto& ix : segment.stdIndexes) {
    uint64_t bytes = 0;
    for (const auto& c : segment.chunks) bytes += c.stream == ix.stream ? c.size : 0;
    uint32_t duration = uint32_t(StreamUnits(streams[ix.stream], counts[ix.stream], bytes));
    totals[ix.stream].superIndex.push_back({ix.offset, uint32_t(ix.span), duration});
  }
}

// New ix## chunks for the last segment, appended at `pos`.
uint64_t AppendLastIndexes(const ScannedSegment& segment, const std::vector<StreamFormat>& streams,
                           std::vector<StreamTotals>& totals, uint64_t pos, Plan& plan) {
  auto counts = ChunksPerStream(segment, streams.size());
  for (size_t s = 0; s < streams.size(); ++s) {
    if (counts[s] == 0) continue;
    Bytes index = BuildStdIndex(s, segment.chunks, streams);
    uint64_t bytes = 0;
    for (const auto& c : segment.chunks) bytes += c.stream == s ? IndexedSize(c) : 0;
    totals[s].superIndex.push_back(
        {pos, uint32_t(index.size()), uint32_t(StreamUnits(streams[s], counts[s], bytes))});
    pos += index.size();
    plan.writes.push_back({pos - index.size(), std::move(index)});
  }
  return pos;
}

// Drops trailing segments that hold no stream chunk: their space is the torn tail.
void DropEmptyTail(AviScan& scan) {
  while (scan.segments.size() > 1 && scan.segments.back().chunks.empty()) scan.segments.pop_back();
}

// The length of the recording by its first stream: frames of video, or seconds of sound.
// Stand-ins do not count: they show nothing, and once they are written they are no frames
// of the file, so the check at the next start counts the same.
void CountLength(const std::vector<StreamTotals>& totals, const std::vector<StreamFormat>& streams,
                 RepairResult& result) {
  for (size_t s = 0; s < streams.size(); ++s) {
    if (streams[s].kind == StreamKind::Video && result.videoFrames == 0)
      result.videoFrames = totals[s].chunks - totals[s].standIns;
  }
  const StreamFormat& first = streams[0];
  if (first.kind == StreamKind::Video) {
    uint64_t shown = totals[0].chunks - totals[0].standIns;
    result.seconds = double(shown) * double(first.avgTimePerFrame) / kAvgTimeUnitsPerSecond;
  } else {
    result.seconds = double(totals[0].bytes) / ReadAudioInfo(first).avgBytesPerSec;
  }
}

void CountScanned(const AviScan& scan, const std::vector<StreamFormat>& streams, RepairResult& result) {
  std::vector<StreamTotals> totals(streams.size());
  for (const auto& segment : scan.segments) AddTotals(segment.chunks, totals);
  CountLength(totals, streams, result);
}

// Segments before the last keep their chunks and indexes; their sizes are written again.
// Returns the end of the first RIFF.
uint64_t PlanEarlierSegments(AviFile& file, AviScan& scan, const std::vector<StreamFormat>& streams,
                             std::vector<StreamTotals>& totals, Plan& plan) {
  uint64_t firstRiffEnd = 0;
  for (size_t i = 0; i + 1 < scan.segments.size(); ++i) {
    ScannedSegment& segment = scan.segments[i];
    AddEarlierSuperIndex(file, segment, streams, totals);
    AddTotals(segment.chunks, totals);
    uint64_t end = scan.segments[i + 1].riffStart;
    if (i == 0 && segment.idx1Span == 0) throw RepairRefusedError("the first segment of the file lacks its index");
    if (i == 0) firstRiffEnd = end;
    uint64_t moviEnd = i == 0 ? segment.idx1Offset : end;
    plan.writes.push_back({segment.moviStart + 4, U32Bytes(SizeField(moviEnd - segment.moviStart - 8))});
    if (i > 0)
      plan.writes.push_back({segment.riffStart + 4, U32Bytes(SizeField(end - segment.riffStart - 8))});
  }
  return firstRiffEnd;
}

// A frame that cannot be decoded becomes a JUNK chunk, so a reader that walks the chunks
// steps over it as over a hole; its size and bytes stay. An entry stands in for it in the
// index: players time a frame by its place among its stream's index entries, so leaving the
// entry out would show every later frame early, out of step with the sound. An entry with
// no data is a dropped frame to players (the picture before it stays), which is what the
// viewer should see while the pictures cannot be rebuilt; before the first picture the
// entries show that picture (avi_frames.cpp says why).
void PlanStandIns(const ScannedSegment& segment, Plan& plan) {
  for (const ChunkEntry& c : segment.chunks) {
    if (c.standIn) plan.writes.push_back({c.offset, U32Bytes(kJunk)});
  }
}

// The last segment ends after its last whole chunk, followed by its new indexes: ix## when
// the file has several segments, idx1 when it has one. Returns the end of the first RIFF
// when that is the last segment, else zero.
uint64_t PlanLastSegment(AviFile& file, AviScan& scan, const std::vector<StreamFormat>& streams,
                         std::vector<StreamTotals>& totals, Plan& plan) {
  ScannedSegment& last = scan.segments.back();
  const bool single = scan.segments.size() == 1;
  if (last.closed) ApplyStdIndexes(file, last);  // keeps its key flags when its index is sound
  MarkDecodableFrames(file, scan, streams);
  PlanStandIns(last, plan);
  AddTotals(last.chunks, totals);
  uint64_t pos = last.dataEnd;
  if (!single) pos = AppendLastIndexes(last, streams, totals, pos, plan);
  plan.writes.push_back({last.moviStart + 4, U32Bytes(SizeField(pos - last.moviStart - 8))});
  if (single) {
    Bytes idx1 = BuildIdx1(last.chunks, streams, last.moviStart);
    plan.writes.push_back({pos, idx1});
    pos += idx1.size();
  } else {
    plan.writes.push_back({last.riffStart + 4, U32Bytes(SizeField(pos - last.riffStart - 8))});
  }
  plan.newSize = pos;
  return single ? pos : 0;
}

// Each hole becomes one JUNK chunk, which every reader steps over.
void PlanDamagedSpans(const AviScan& scan, Plan& plan) {
  for (const auto& segment : scan.segments) {
    for (const DamagedSpan& damaged : segment.damaged) {
      Bytes header = U32Bytes(kJunk);
      PutU32(header, SizeField(damaged.span - kChunkHeader));
      plan.writes.push_back({damaged.offset, std::move(header)});
    }
  }
}

Plan MakePlan(AviFile& file, AviScan& scan, const std::vector<StreamFormat>& streams, RepairResult& result) {
  DropEmptyTail(scan);
  Plan plan;
  PlanDamagedSpans(scan, plan);
  // Goes in first, as the mux would have left it; the size written later fills it in.
  if (!scan.moviListWritten) plan.writes.push_back({scan.moviOffset, MoviListHeader()});
  std::vector<StreamTotals> totals(streams.size());
  uint64_t firstFrames = VideoFrames(scan.segments[0].chunks, streams);
  uint64_t firstRiffEnd = PlanEarlierSegments(file, scan, streams, totals, plan);
  uint64_t singleEnd = PlanLastSegment(file, scan, streams, totals, plan);
  if (singleEnd) firstRiffEnd = singleEnd;
  SizeField(firstRiffEnd - 8);

  // The header goes last: until it is written the file still reads as unfinished.
  HeaderInfo info{streams, totals, scan.moviOffset, firstRiffEnd, firstFrames};
  try {
    plan.writes.push_back({0, BuildHeader(info)});
  } catch (const AviError&) {
    throw RepairRefusedError("the space before the recorded data is too small for the headers");
  }
  CountLength(totals, streams, result);
  return plan;
}

// A finished file: header, closed segments whose sizes chain exactly to the end of the
// file, idx1 in the first. The header is written last, so a file that has one and whose
// sizes agree went through the whole finish.
bool IsComplete(const AviScan& scan, uint64_t size) {
  if (!scan.ownHeader || scan.end != size) return false;
  const auto& segments = scan.segments;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (!segments[i].closed || !segments[i].damaged.empty()) return false;
    uint64_t end = i + 1 < segments.size() ? segments[i + 1].riffStart : size;
    if (uint64_t(segments[i].declaredRiffSize) + 8 != end - segments[i].riffStart) return false;
  }
  return segments[0].idx1Span != 0;
}

// The file could not take the bytes the indexes need past its old end (a full disk).
struct CannotGrowError : FileIoError {
  using FileIoError::FileIoError;
};

// Growth is tried first and on its own, so a disk that is full fails it before anything in
// the file changed; a file system that grows a file without room (sparse) fails the first
// write past the old end instead.
void Apply(AviFile& file, const Plan& plan, uint64_t oldSize) {
  if (plan.newSize != file.Size()) {
    try {
      file.Resize(plan.newSize);
    } catch (const FileIoError& error) {
      if (plan.newSize > oldSize) throw CannotGrowError(error.what());
      throw;
    }
  }
  for (const auto& write : plan.writes) {
    try {
      file.WriteAt(write.offset, write.bytes.data(), write.bytes.size());
    } catch (const FileIoError& error) {
      if (write.offset + write.bytes.size() > oldSize) throw CannotGrowError(error.what());
      throw;
    }
  }
  file.Flush();
}

// The bytes the last segment's indexes take: idx1 for a single segment, else ix## chunks.
uint64_t IndexBytes(const ScannedSegment& last, bool single, size_t streams) {
  if (single) return kChunkHeader + uint64_t(kIdx1EntrySize) * last.chunks.size();
  uint64_t bytes = 0;
  for (uint64_t count : ChunksPerStream(last, streams)) {
    if (count) bytes += kStdIndexHeader + kStdIndexEntrySize * count;
  }
  return bytes;
}

// Drops whole chunks from the end until the indexes fit in the file as it is. Only for a
// file that cannot grow: those chunks are lost, but the rest plays.
void TrimToFit(AviScan& scan, size_t streams, uint64_t size) {
  DropEmptyTail(scan);
  ScannedSegment& last = scan.segments.back();
  const bool single = scan.segments.size() == 1;
  while (!last.chunks.empty() && last.dataEnd + IndexBytes(last, single, streams) > size) {
    last.dataEnd = last.chunks.back().offset;
    last.chunks.pop_back();
  }
  while (!last.damaged.empty() && last.damaged.back().offset >= last.dataEnd) last.damaged.pop_back();
  last.closed = false;
}

RepairResult Refused(RepairResult result, const std::string& reason) {
  result.outcome = RepairOutcome::Refused;
  result.reason = reason;
  return result;
}

}  // namespace

RepairResult RepairAvi(AviFile& file, const RecoveryNotes& notes) {
  RepairResult result;
  std::vector<StreamFormat> streams;
  try {
    streams = NotesStreams(notes);
  } catch (const AviError& error) {
    return Refused(result, std::string("the recording's formats cannot be used: ") + error.what());
  }
  try {
    result.sizeBefore = result.sizeAfter = file.Size();
    AviScan scan = ScanAvi(file, streams);
    if (IsComplete(scan, result.sizeBefore)) {
      CountScanned(scan, streams, result);
      result.outcome = RepairOutcome::AlreadyComplete;
      return result;
    }
    AviScan scanned = scan;
    Plan plan = MakePlan(file, scan, streams, result);
    try {
      Apply(file, plan, result.sizeBefore);
    } catch (const CannotGrowError&) {
      if (file.Size() != result.sizeBefore) file.Resize(result.sizeBefore);
      TrimToFit(scanned, streams.size(), result.sizeBefore);
      result = RepairResult{};
      result.sizeBefore = file.Size();
      plan = MakePlan(file, scanned, streams, result);
      Apply(file, plan, result.sizeBefore);
    }
    result.sizeAfter = plan.newSize;
    result.outcome = RepairOutcome::Repaired;
  } catch (const NothingRecordedError& nothing) {
    result.outcome = RepairOutcome::NothingToRepair;
    result.reason = nothing.what();
  } catch (const RepairRefusedError& refusal) {
    return Refused(result, refusal.what());
  } catch (const AviError& error) {
    return Refused(result, error.what());
  } catch (const std::exception& error) {
    result.outcome = RepairOutcome::IoError;
    result.reason = error.what();
  }
  return result;
}

RepairResult RepairAvi(const AviFileOpener& open, const RecoveryNotes& notes) {
  RepairResult result;
  std::unique_ptr<AviFile> file;
  try {
    file = open();
  } catch (const FileMissingError& missing) {
    result.outcome = RepairOutcome::NothingToRepair;
    result.reason = missing.what();
    return result;
  } catch (const FileInUseError& inUse) {
    result.outcome = RepairOutcome::InUse;
    result.reason = inUse.what();
    return result;
  } catch (const std::exception& error) {
    result.outcome = RepairOutcome::IoError;
    result.reason = error.what();
    return result;
  }
  return RepairAvi(*file, notes);
}

RepairResult RepairAvi(const std::filesystem::path& path, const RecoveryNotes& notes) {
  return RepairAvi([&path] { return std::unique_ptr<AviFile>(std::make_unique<DiskFile>(path)); }, notes);
}

}  // namespace zelvio::avi
