#include "avi_writer.h"

#include <algorithm>

namespace zelvio::avi {
namespace {

Bytes ListHeader(uint32_t id, uint32_t type) {
  Bytes out;
  PutU32(out, id);
  PutU32(out, 0);  // size unknown until the list closes; zero marks it open
  PutU32(out, type);
  return out;
}

}  // namespace

AviWriter::AviWriter(AviSink& sink, std::vector<StreamFormat> streams, WriterOptions options)
    : sink_(sink), streams_(std::move(streams)), options_(options) {
  ValidateStreams(streams_);
  totals_.resize(streams_.size());
  segmentChunks_.resize(streams_.size(), 0);
  // Explicit zeros: a crashed file must show an unused header area, whatever the sink
  // leaves in a gap.
  WriteBytes(Bytes(kHeaderReserve, 0));
  WriteBytes(ListHeader(kList, kMovi));
}

void AviWriter::WriteBytes(const Bytes& bytes) {
  sink_.WriteAt(end_, bytes.data(), bytes.size());
  end_ += bytes.size();
}

// The segment's size if this chunk joined it, counting the indexes its closing would add
// (ix## per stream, and idx1 in the first segment), so the closed segment stays in limit.
uint64_t AviWriter::SegmentBytesWith(size_t stream, uint64_t span) const {
  uint64_t bytes = end_ - segmentStart_ + span;
  for (size_t s = 0; s < streams_.size(); ++s) {
    uint64_t count = segmentChunks_[s] + (s == stream ? 1 : 0);
    bytes += count ? StdIndexSize(count) : 0;
  }
  if (segments_ == 1) bytes += kChunkHeader + (segmentEntries_.size() + 1) * kIdx1EntrySize;
  return bytes;
}

void AviWriter::AppendChunk(size_t stream, const void* data, size_t size, bool key) {
  if (finished_) throw AviError("chunk after the end of the file");
  if (stream >= streams_.size()) throw AviError("chunk of an unknown stream");
  if (size >= 0x80000000u) throw AviError("chunk too large");
  uint64_t span = ChunkSpan(size);
  if (!segmentEntries_.empty() && SegmentBytesWith(stream, span) > options_.segmentLimit) {
    CloseSegment(true);
    StartSegment();
  }
  if (SegmentBytesWith(stream, span) > options_.segmentLimit) throw AviError("chunk larger than a segment");

  ChunkEntry entry{uint32_t(stream), end_, uint32_t(size), key};
  Bytes header;
  PutU32(header, ChunkId(stream, streams_[stream]));
  PutU32(header, uint32_t(size));
  WriteBytes(header);
  sink_.WriteAt(end_, data, size);
  end_ += size;
  if (size & 1) WriteBytes(Bytes(1, 0));

  segmentEntries_.push_back(entry);
  ++segmentChunks_[stream];
  StreamTotals& totals = totals_[stream];
  ++totals.chunks;
  totals.bytes += size;
  if (size > totals.largestChunk) totals.largestChunk = uint32_t(size);
}

void AviWriter::WriteStdIndexes() {
  for (size_t s = 0; s < streams_.size(); ++s) {
    uint64_t chunks = 0, bytes = 0;
    for (const auto& e : segmentEntries_) {
      if (e.stream != s) continue;
      ++chunks;
      bytes += e.size;
    }
    if (chunks == 0) continue;
    Bytes index = BuildStdIndex(s, segmentEntries_, streams_);
    uint32_t duration = uint32_t(StreamUnits(streams_[s], chunks, bytes));
    totals_[s].superIndex.push_back({end_, uint32_t(index.size()), duration});
    WriteBytes(index);
  }
}

void AviWriter::CloseSegment(bool openDml) {
  if (openDml) WriteStdIndexes();
  Bytes size;
  PutU32(size, uint32_t(end_ - moviStart_ - kChunkHeader));
  sink_.WriteAt(moviStart_ + 4, size.data(), size.size());
  if (segments_ == 1) {
    WriteBytes(BuildIdx1(segmentEntries_, streams_, moviStart_));
    firstRiffSize_ = end_;
    for (const auto& e : segmentEntries_) {
      if (streams_[e.stream].kind == StreamKind::Video) ++firstRiffVideoFrames_;
    }
  } else {
    size.clear();
    PutU32(size, uint32_t(end_ - segmentStart_ - kChunkHeader));
    sink_.WriteAt(segmentStart_ + 4, size.data(), size.size());
  }
  segmentEntries_.clear();
  std::fill(segmentChunks_.begin(), segmentChunks_.end(), 0);
}

void AviWriter::StartSegment() {
  segmentStart_ = end_;
  WriteBytes(ListHeader(kRiff, kAvixType));
  moviStart_ = end_;
  WriteBytes(ListHeader(kList, kMovi));
  ++segments_;
}

void AviWriter::Finish() {
  if (finished_) throw AviError("file already finished");
  finished_ = true;
  CloseSegment(segments_ > 1);
  HeaderInfo info{streams_, totals_, kHeaderReserve, firstRiffSize_, firstRiffVideoFrames_};
  Bytes header = BuildHeader(info);
  sink_.WriteAt(0, header.data(), header.size());
}

void AviFileSink::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (offset + size > file_.Size()) file_.Resize(offset + size);
  file_.WriteAt(offset, data, size);
}

}  // namespace zelvio::avi
