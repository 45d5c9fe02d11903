// Writes an AVI file progressively: chunks go to disk as they arrive, so a crash leaves the
// movi data in place for the repair; the header area (zeros until then) and the indexes are
// written by Finish. Past 1 GB the file continues in RIFF 'AVIX' segments with OpenDML
// indexes; each segment is closed (its ix## chunks, and idx1 for the first) as soon as the
// next one starts. See avi_layout.h for the shape of the file.
//
// Use:
//   AviWriter writer(sink, {{StreamKind::Video, bitmapInfoHeader, avgTimePerFrame},
//                           {StreamKind::Audio, waveFormatEx}});
//   writer.AppendChunk(0, frame, frameSize, true);   // in file order, interleaved by time
//   writer.AppendChunk(1, samples, samplesSize, true);
//   writer.Finish();
// Errors (bad formats, a chunk larger than a segment, use after Finish) throw AviError;
// the sink's own exceptions pass through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/avi/avi_file.h"
#include "capture/avi/avi_layout.h"

namespace zelvio::avi {

// Where the bytes go: a file, the File Writer's IStream, memory in tests.
struct AviSink {
  virtual ~AviSink() = default;
  virtual void WriteAt(uint64_t offset, const void* data, size_t size) = 0;
};

struct WriterOptions {
  uint64_t segmentLimit = kSegmentLimit;  // smaller only in tests
};

class AviWriter {
 public:
  // Writes the zeroed header area and the opening of the first LIST 'movi'.
  AviWriter(AviSink& sink, std::vector<StreamFormat> streams, WriterOptions options = {});

  void AppendChunk(size_t stream, const void* data, size_t size, bool key);
  // Writes the open segment's indexes, every size field and the header area.
  void Finish();

  uint64_t FileSize() const { return end_; }
  size_t SegmentCount() const { return segments_; }
  const std::vector<StreamTotals>& Totals() const { return totals_; }
  bool Finished() const { return finished_; }

 private:
  uint64_t SegmentBytesWith(size_t stream, uint64_t span) const;
  void WriteBytes(const Bytes& bytes);
  void WriteStdIndexes();
  void CloseSegment(bool openDml);
  void StartSegment();

  AviSink& sink_;
  std::vector<StreamFormat> streams_;
  WriterOptions options_;
  std::vector<StreamTotals> totals_;
  std::vector<ChunkEntry> segmentEntries_;
  std::vector<uint64_t> segmentChunks_;  // per stream, in the open segment
  uint64_t segmentStart_ = 0;
  uint64_t moviStart_ = kHeaderReserve;
  uint64_t end_ = 0;
  uint64_t firstRiffSize_ = 0;
  uint64_t firstRiffVideoFrames_ = 0;
  size_t segments_ = 1;
  bool finished_ = false;
};

// Lets the writer lay a file out on an AviFile, growing it as the writer goes.
class AviFileSink : public AviSink {
 public:
  explicit AviFileSink(AviFile& file) : file_(file) {}
  void WriteAt(uint64_t offset, const void* data, size_t size) override;

 private:
  AviFile& file_;
};

}  // namespace zelvio::avi
