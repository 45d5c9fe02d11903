#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "capture/avi/avi_file.h"
#include "capture/avi/avi_repair.h"
#include "capture/avi/avi_scan.h"
#include "capture/avi/avi_window.h"
#include "capture/recovery/recovery_notes_format.h"
#include "support/avi_writer.h"
#include "support/avi_reader.h"
#include "support/avi_samples.h"
#include "support/ffprobe.h"
#include "support/zmbv_packets.h"
#include "capture/media/media_guids.h"

namespace zelvio::avi {
namespace {

using avitest::AviReader;
using avitest::AviView;
namespace fs = std::filesystem;

// The repair does not read the subtype.
constexpr Guid kAnySubtype = kSubtypeRgb32;

// What a recording writes beside its file: the mux inputs as the graph connected them.
RecoveryNotes NotesFor(const std::vector<StreamFormat>& streams) {
  RecoveryNotes notes{"1.0", 0, {}};
  for (const auto& s : streams) {
    if (s.kind == StreamKind::Audio) {
      notes.inputs.push_back({kMediaTypeAudio, kAnySubtype, kFormatWaveFormatEx, s.format});
      continue;
    }
    Bytes block(48, 0);
    for (int i = 0; i < 8; ++i) block[40 + i] = uint8_t(uint64_t(s.avgTimePerFrame) >> (8 * i));
    block.insert(block.end(), s.format.begin(), s.format.end());
    notes.inputs.push_back({kMediaTypeVideo, kAnySubtype, kFormatVideoInfo, block});
    notes.avgTimePerFrame = s.avgTimePerFrame;
  }
  return notes;
}

struct Recording {
  std::vector<StreamFormat> streams;
  std::vector<bool> keys;
  Bytes unfinished;  // what a crash leaves
  Bytes finished;    // the same recording stopped cleanly
  AviView layout;    // chunk positions, read from the finished file
};

Bytes PayloadFor(size_t i, uint32_t size) {
  Bytes b(size);
  for (uint32_t j = 0; j < size; ++j) b[j] = uint8_t(i * 13 + j);
  return b;
}

// `frames` video frames, each followed by one audio chunk when there is an audio stream.
Recording Record(std::vector<StreamFormat> streams, int frames, uint64_t segmentLimit = kSegmentLimit,
                 uint32_t videoSize = 512, int keyEvery = 1) {
  Recording r{streams, {}, {}, {}, {}};
  avitest::MemorySink crashed, clean;
  AviWriter a(crashed, streams, {segmentLimit}), b(clean, streams, {segmentLimit});
  size_t n = 0;
  for (int i = 0; i < frames; ++i) {
    for (size_t s = 0; s < streams.size(); ++s) {
      uint32_t size = streams[s].kind == StreamKind::Video ? videoSize : 1600;
      bool key = s != 0 || i % keyEvery == 0;
      Bytes payload = PayloadFor(n++, size);
      a.AppendChunk(s, payload.data(), size, key);
      b.AppendChunk(s, payload.data(), size, key);
      r.keys.push_back(key);
    }
  }
  b.Finish();
  r.unfinished = crashed.bytes;
  r.finished = clean.bytes;
  r.layout = AviReader(avitest::MemoryRead(r.finished), r.finished.size()).Read();
  return r;
}

uint64_t EndOf(const avitest::Chunk& c) { return c.offset + 8 + c.size + (c.size & 1); }

// What the platform's mux leaves when it dies: zeros up to `start`, where its first chunk
// begins; the movi list header just before it is written only at stop, so it is zeros too.
Bytes MuxLayout(const Bytes& unfinished, uint64_t start) {
  Bytes b(start, 0);
  b.insert(b.end(), unfinished.begin() + kHeaderReserve + kListHeader, unfinished.end());
  return b;
}

// How far a recording's chunks move in the platform mux's layout.
int64_t MuxShift(uint64_t start) { return int64_t(start) - int64_t(kHeaderReserve + kListHeader); }

// The bytes the header lists of these streams take before any JUNK fill.
uint64_t HeaderNeeded(const std::vector<StreamFormat>& streams) {
  return HeaderBytesNeeded({streams, std::vector<StreamTotals>(streams.size())});
}

size_t VideoCount(const AviView& v, size_t upTo) {
  return size_t(std::count_if(v.data.begin(), v.data.begin() + upTo, [](const avitest::Chunk& c) {
    return c.id.substr(2) == "db" || c.id.substr(2) == "dc";
  }));
}

// The repaired file read back: the first `chunks` chunks of the recording, in place, with
// their payloads, every one in the indexes, and no growth beyond those indexes.
void CheckRepaired(const Bytes& file, const Recording& r, size_t chunks, const RepairResult& result,
                   int64_t shift = 0) {
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
  AviView v;
  try {
    v = AviReader(avitest::MemoryRead(file), file.size()).Read();
  } catch (const std::exception& e) {
    FAIL() << "repaired file unreadable: " << e.what();
  }
  ASSERT_EQ(v.data.size(), chunks);
  for (size_t i = 0; i < chunks; ++i) {
    ASSERT_EQ(v.data[i].offset, r.layout.data[i].offset + shift) << i;
    ASSERT_EQ(v.data[i].id, r.layout.data[i].id) << i;
    Bytes payload(file.begin() + v.data[i].offset + 8, file.begin() + v.data[i].offset + 8 + v.data[i].size);
    ASSERT_EQ(payload, PayloadFor(i, v.data[i].size)) << i;
  }
  size_t frames = VideoCount(v, chunks);
  EXPECT_EQ(result.videoFrames, frames);
  EXPECT_EQ(v.streams.size(), r.streams.size());
  for (size_t s = 0; s < r.streams.size(); ++s) EXPECT_EQ(v.streams[s].format, r.streams[s].format);
  uint64_t dataEnd = chunks ? EndOf(v.data.back()) : v.moviLists.back() + 12;
  uint64_t indexBytes = 0;
  if (v.riffs.size() == 1) {
    ASSERT_EQ(v.idx1.size(), chunks);
    for (size_t i = 0; i < chunks; ++i) EXPECT_EQ(v.moviLists[0] + 8 + v.idx1[i].offset, v.data[i].offset);
    indexBytes = 8 + 16 * chunks;
    EXPECT_EQ(v.totalFrames, frames);
  } else {
    ASSERT_TRUE(v.hasDmlh);
    EXPECT_EQ(v.dmlhFrames, frames);
    std::vector<uint64_t> indexed;
    for (const auto& ix : v.stdIndexes) {
      indexed.insert(indexed.end(), ix.chunkOffsets.begin(), ix.chunkOffsets.end());
      if (ix.offset >= dataEnd) indexBytes += 32 + 8 * ix.chunkOffsets.size();
      for (size_t k = 0; k < ix.chunkOffsets.size(); ++k) {
        if (ix.offset < v.riffs.back().offset) {
          size_t at =
              size_t(std::find_if(v.data.begin(), v.data.end(),
                                  [&](const avitest::Chunk& c) { return c.offset == ix.chunkOffsets[k]; }) -
                     v.data.begin());
          EXPECT_EQ(ix.keys[k], r.keys.at(at)) << "key flag of an earlier segment kept";
        }
      }
    }
    std::sort(indexed.begin(), indexed.end());
    std::vector<uint64_t> want;
    for (const auto& c : v.data) want.push_back(c.offset);
    EXPECT_EQ(indexed, want);
    for (const auto& riff : v.riffs) EXPECT_LT(riff.size, kSegmentLimit);
  }
  EXPECT_EQ(file.size(), dataEnd + indexBytes) << "the file grows by its indexes only";
}

// Cut points: every chunk boundary, inside each chunk's header and payload, its last byte.
std::vector<uint64_t> CutPoints(const Recording& r) {
  std::vector<uint64_t> cuts;
  for (const auto& c : r.layout.data) {
    for (uint64_t at : {c.offset, c.offset + 3, c.offset + 8 + c.size / 2, EndOf(c) - 1}) cuts.push_back(at);
  }
  cuts.push_back(r.unfinished.size());
  for (size_t i = 1; i < r.layout.riffs.size(); ++i) {
    uint64_t at = r.layout.riffs[i].offset;
    for (uint64_t d : {0, 5, 12, 17, 23, 24}) cuts.push_back(at + d);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  return cuts;
}

size_t CompleteChunksBefore(const Recording& r, uint64_t cut) {
  size_t n = 0;
  while (n < r.layout.data.size() && EndOf(r.layout.data[n]) <= cut) ++n;
  return n;
}

TEST(AviRepair, KeepsEveryCompleteChunkWhereverTheFileWasCut) {
  using namespace avitest;
  const struct {
    const char* name;
    Recording recording;
    uint64_t muxStart;  // 0: our own layout; else where the platform mux's first chunk lies
  } cases[] = {
      {"video only", Record({RawVideo(16, 8)}, 9), 0},
      {"video and audio", Record({RawVideo(16, 8), PcmAudio()}, 7), 0},
      {"compressed video with key frames, OpenDML segments",
       Record({MjpgVideo(16, 8), PcmAudio()}, 60, 90000, 2001, 4), 0},
      {"platform mux, video only", Record({RawVideo(16, 8)}, 9), 64556},
      {"platform mux, video and audio", Record({RawVideo(16, 8), PcmAudio()}, 7), 4096},
      {"platform mux, compressed video and audio",
       Record({MjpgVideo(16, 8), PcmAudio()}, 6, kSegmentLimit, 2001, 4), 2050},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Recording& r = c.recording;
    Bytes unfinished = c.muxStart ? MuxLayout(r.unfinished, c.muxStart) : r.unfinished;
    int64_t shift = c.muxStart ? MuxShift(c.muxStart) : 0;
    for (uint64_t at : CutPoints(r)) {
      uint64_t cut = uint64_t(int64_t(at) + shift);
      SCOPED_TRACE("cut at " + std::to_string(cut));
      Bytes before(unfinished.begin(), unfinished.begin() + cut);
      MemoryFile file(before);
      RepairResult result = RepairAvi(file, NotesFor(r.streams));
      if (c.muxStart && at < EndOf(r.layout.data[0])) {
        // Without a whole first chunk nothing shows that the recording starts there; with
        // nothing but zeros, nothing was recorded at all.
        bool zeros = std::all_of(before.begin(), before.end(), [](uint8_t b) { return b == 0; });
        EXPECT_EQ(result.outcome, zeros ? RepairOutcome::NothingToRepair : RepairOutcome::Refused);
        EXPECT_EQ(file.Bytes(), before);
        continue;
      }
      size_t chunks = CompleteChunksBefore(r, at);
      CheckRepaired(file.Bytes(), r, chunks, result, shift);
      EXPECT_EQ(file.Flushes(), 1);
      EXPECT_EQ(result.sizeBefore, cut);
      EXPECT_EQ(result.sizeAfter, file.Bytes().size());

      Bytes repaired = file.Bytes();
      RepairResult again = RepairAvi(file, NotesFor(r.streams));
      EXPECT_EQ(again.outcome, RepairOutcome::AlreadyComplete) << again.reason;
      EXPECT_EQ(again.videoFrames, result.videoFrames);
      EXPECT_EQ(file.Bytes(), repaired) << "a repaired file is complete and left alone";
      if (HasFailure()) return;
    }
  }
}

TEST(AviRepair, FindsTheDataBehindAnyZeroHeaderArea) {
  using namespace avitest;
  Recording r = Record({RawVideo(16, 8), PcmAudio()}, 5);
  const uint64_t needed = HeaderNeeded(r.streams);
  // The platform's mux reserves less than we do, may write a bare RIFF header first, and
  // may leave the movi list header unwritten (then `reserve` is where that header goes).
  const struct {
    uint64_t reserve;
    bool bareRiff;
    bool listWritten;
  } cases[] = {
      {2048, false, true},
      {1000, false, true},
      {4098, false, true},
      {2048, true, true},
      {kHeaderReserve, true, true},
      {64544, false, false},
      {2048, false, false},
      {4098, true, false},
      {needed, false, false},
      {needed + 8, false, false},
      {kMaxHeaderScan - 20, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.reserve) + (c.bareRiff ? " with a bare RIFF header" : "") +
                 (c.listWritten ? "" : ", movi list header unwritten"));
    Bytes shifted = c.listWritten
                        ? Bytes(r.unfinished.begin() + (kHeaderReserve - c.reserve), r.unfinished.end())
                        : MuxLayout(r.unfinished, c.reserve + kListHeader);
    if (c.bareRiff) std::copy_n("RIFF\0\0\0\0AVI ", 12, shifted.begin());
    MemoryFile file(shifted);
    RepairResult result = RepairAvi(file, NotesFor(r.streams));
    ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
    AviView v = AviReader(MemoryRead(file.Bytes()), file.Bytes().size()).Read();
    EXPECT_EQ(v.moviLists[0], c.reserve);
    EXPECT_EQ(v.data[0].offset, c.reserve + kListHeader);
    EXPECT_EQ(v.data.size(), 10u);
    EXPECT_EQ(result.videoFrames, 5u);
    EXPECT_NEAR(result.seconds, 5 * 0.0333333, 1e-6);
  }
}

TEST(AviRepair, LeavesFilesThatDoNotFitByteForByte) {
  using namespace avitest;
  Recording av = Record({RawVideo(16, 8), PcmAudio()}, 6);
  Recording segmented = Record({MjpgVideo(16, 8), PcmAudio()}, 60, 90000, 2001, 4);
  auto notes = NotesFor(av.streams);
  auto with = [](Bytes b, uint64_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), b.begin() + at);
    return b;
  };
  uint64_t firstChunk = av.layout.data[0].offset;
  uint64_t audioChunk = av.layout.data[1].offset;
  RecoveryNotes otherFormat = NotesFor({RawVideo(32, 8), PcmAudio()});
  RecoveryNotes unusable = notes;
  unusable.inputs[0].formatType = kFormatDvInfo;
  Bytes finishedTorn(av.finished.begin(), av.finished.end() - 100);
  uint64_t ix = segmented.layout.streams[0].indx[0].offset;
  uint64_t secondRiff = segmented.layout.riffs[1].offset;
  // The platform mux's layout: chunks from `start` on, no movi list header.
  auto mux = [&](uint64_t start) { return MuxLayout(av.unfinished, start); };
  auto cutAt = [](Bytes b, uint64_t size) {
    b.resize(size);
    return b;
  };
  const uint64_t needed = HeaderNeeded(av.streams);
  // The last segment's first chunk header lost, and nothing whole after it: its bytes have
  // nowhere to go.
  size_t lastFirst = 0;
  while (segmented.layout.data[lastFirst].offset != segmented.layout.riffs.back().offset + 24) ++lastFirst;
  Bytes lastHidden = cutAt(with(segmented.unfinished, segmented.layout.data[lastFirst].offset, std::string(8, '\0')),
                           segmented.layout.data[lastFirst + 1].offset + 10);
  Bytes muxAudioFirst(4096, 0);
  muxAudioFirst.insert(muxAudioFirst.end(), av.unfinished.begin() + av.layout.data[1].offset,
                       av.unfinished.end());

  const struct {
    const char* name;
    Bytes file;
    RecoveryNotes notes;
  } cases[] = {
      {"foreign chunk among the frames", with(av.unfinished, audioChunk, "abcd"), notes},
      {"audio chunks the notes do not list", av.unfinished, NotesFor({RawVideo(16, 8)})},
      {"frames of another size than the notes'", av.unfinished, otherFormat},
      {"audio chunk id on the video stream", with(av.unfinished, firstChunk, "00wb"), notes},
      {"header with other formats", finishedTorn, otherFormat},
      {"header area in use", with(av.unfinished, 100, "x"), notes},
      {"movi list too close to the start for the headers",
       Bytes(av.unfinished.begin() + kHeaderReserve - 64, av.unfinished.end()), notes},
      {"a format the layout cannot carry", av.unfinished, unusable},
      {"movi list at an odd offset",
       Bytes(av.unfinished.begin() + kHeaderReserve - 2049, av.unfinished.end()), notes},
      {"damaged index of an earlier segment", with(segmented.unfinished, ix + 32, "\x7f\x7f\x7f\x7f"),
       NotesFor(segmented.streams)},
      {"foreign data after a closed segment", with(segmented.unfinished, secondRiff, "RIFX"),
       NotesFor(segmented.streams)},
      {"first chunk at an odd offset", mux(4097), notes},
      {"first chunk too close to the start for the headers", mux(64), notes},
      {"room for the headers but not for the fill after them", mux(needed + 4 + kListHeader), notes},
      {"first chunk right after a bare RIFF header", with(mux(24), 0, std::string("RIFF\0\0\0\0AVI ", 12)),
       notes},
      {"first chunk header cut short", cutAt(mux(4096), 4096 + 6), notes},
      {"first frame torn", cutAt(mux(4096), 4096 + 8 + 511), notes},
      {"first chunk of a stream the notes lacks", muxAudioFirst, NotesFor({RawVideo(16, 8)})},
      {"first frame of another size than the notes'", mux(4096), otherFormat},
      {"foreign chunk where the data starts", with(mux(4096), 4096, "abcd"), notes},
      {"stray byte in the unwritten area", with(mux(4096), 2000, "x"), notes},
      {"first chunk header past the bounded search", mux(kMaxHeaderScan - 6), notes},
      {"a last segment whose chunks damage hides", lastHidden, NotesFor(segmented.streams)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFile file(c.file);
    RepairResult result = RepairAvi(file, c.notes);
    EXPECT_EQ(result.outcome, RepairOutcome::Refused);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(file.Bytes(), c.file);
    EXPECT_EQ(file.Flushes(), 0);
  }
}

TEST(AviRepair, LeavesCompleteFilesAloneAndMendsTruncatedOnes) {
  using namespace avitest;
  const Recording cases[] = {
      Record({RawVideo(16, 8), PcmAudio()}, 6),
      Record({MjpgVideo(16, 8), PcmAudio()}, 60, 90000, 2001, 4),
  };
  for (const auto& r : cases) {
    MemoryFile complete(r.finished);
    RepairResult result = RepairAvi(complete, NotesFor(r.streams));
    EXPECT_EQ(result.outcome, RepairOutcome::AlreadyComplete) << result.reason;
    EXPECT_EQ(complete.Bytes(), r.finished);
    EXPECT_EQ(result.videoFrames, r.layout.streams[0].length);

    // Cut after the last chunk, into the indexes: the header stays, the indexes come back.
    uint64_t cut = EndOf(r.layout.data.back()) + 10;
    MemoryFile truncated(Bytes(r.finished.begin(), r.finished.begin() + cut));
    result = RepairAvi(truncated, NotesFor(r.streams));
    CheckRepaired(truncated.Bytes(), r, r.layout.data.size(), result);
  }
}

// A mux may pad the end of a segment with JUNK after its index (to align what follows);
// such a file is finished, and the check after every stop must see it so.
TEST(AviRepair, PaddingAfterTheIndexStillCountsAsComplete) {
  using namespace avitest;
  Recording r = Record({RawVideo(16, 8), PcmAudio()}, 6);
  Bytes padded = r.finished;
  const uint32_t junk = 100;
  padded.insert(padded.end(), {'J', 'U', 'N', 'K'});
  Put(padded, junk, 4);
  padded.resize(padded.size() + junk, 0);
  uint32_t riff = GetU32(&padded[4]) + 8 + junk;
  for (int i = 0; i < 4; ++i) padded[4 + i] = uint8_t(riff >> (8 * i));
  MemoryFile file(padded);
  RepairResult result = RepairAvi(file, NotesFor(r.streams));
  EXPECT_EQ(result.outcome, RepairOutcome::AlreadyComplete) << result.reason;
  EXPECT_EQ(file.Bytes(), padded);
}

struct FailingFile : MemoryFile {
  using MemoryFile::MemoryFile;
  void WriteAt(uint64_t, const void*, size_t) override {
    throw FileIoError("There is not enough space on the disk.");
  }
};

TEST(AviRepair, ReportsFailedReadsAndWrites) {
  using namespace avitest;
  Recording r = Record({RawVideo(16, 8)}, 3);
  FailingFile file(r.unfinished);
  RepairResult result = RepairAvi(file, NotesFor(r.streams));
  EXPECT_EQ(result.outcome, RepairOutcome::IoError);
  EXPECT_EQ(result.reason, "There is not enough space on the disk.");

  result = RepairAvi([]() -> std::unique_ptr<AviFile> { throw FileIoError("Access is denied."); },
                     NotesFor(r.streams));
  EXPECT_EQ(result.outcome, RepairOutcome::IoError);
  EXPECT_EQ(result.reason, "Access is denied.");
}

// A disk that is full: the file cannot grow past its size. Either the growth itself fails
// (NTFS reserves the room at once) or, on a file system that grows files without room, the
// first write past the old end does.
struct FullDisk : MemoryFile {
  FullDisk(std::vector<uint8_t> bytes, bool grows)
      : MemoryFile(std::move(bytes)), room(Size()), sparse(grows) {}
  void Resize(uint64_t size) override {
    if (size > room && !sparse) throw FileIoError("There is not enough space on the disk.");
    MemoryFile::Resize(size);
  }
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (offset + size > room) throw FileIoError("There is not enough space on the disk.");
    MemoryFile::WriteAt(offset, data, size);
  }
  uint64_t room;
  bool sparse;
};

// The index goes after the data, so a file on a full disk cannot take it; the repair then
// gives up whole chunks from the end, as few as the index needs, and keeps the rest.
TEST(AviRepair, AFileThatCannotGrowGivesUpWholeChunksFromTheEndOnly) {
  using namespace avitest;
  Recording small = Record({MjpgVideo(16, 8), PcmAudio()}, 200, kSegmentLimit, 301);
  Recording segmented = Record({MjpgVideo(16, 8), PcmAudio()}, 60, 90000, 2001, 4);
  const struct {
    const char* name;
    const Recording* recording;
    uint64_t cut;
  } cases[] = {
      {"small frames, cut after a whole chunk", &small, EndOf(small.layout.data[399])},
      {"small frames, a short torn tail", &small, small.layout.data[300].offset + 20},
      {"OpenDML segments", &segmented, EndOf(segmented.layout.data.back())},
  };
  for (const auto& c : cases) {
    for (bool sparse : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (sparse ? ", sparse growth" : ""));
      const Recording& r = *c.recording;
      Bytes before(r.unfinished.begin(), r.unfinished.begin() + c.cut);
      FullDisk file(before, sparse);
      RepairResult result = RepairAvi(file, NotesFor(r.streams));
      ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
      const Bytes& bytes = file.Bytes();
      ASSERT_LE(bytes.size(), c.cut) << "the file did not grow";
      AviView v;
      try {
        v = AviReader(MemoryRead(bytes), bytes.size()).Read();
      } catch (const std::exception& e) {
        FAIL() << "repaired file unreadable: " << e.what();
      }
      size_t whole = CompleteChunksBefore(r, c.cut);
      ASSERT_LE(v.data.size(), whole);
      for (size_t i = 0; i < v.data.size(); ++i) ASSERT_EQ(v.data[i].offset, r.layout.data[i].offset) << i;
      EXPECT_EQ(result.videoFrames, VideoCount(v, v.data.size()));
      if (v.riffs.size() == 1) {
        // As many as fit: one more chunk and its index entry would not.
        size_t kept = v.data.size();
        EXPECT_EQ(bytes.size(), EndOf(v.data.back()) + 8 + 16 * kept);
        EXPECT_GT(EndOf(r.layout.data[kept]) + 8 + 16 * (kept + 1), c.cut);
      } else {
        EXPECT_GE(v.data.size() + 4, whole) << "only the few chunks the indexes needed are gone";
      }
      EXPECT_EQ(RepairAvi(file, NotesFor(r.streams)).outcome, RepairOutcome::AlreadyComplete);
    }
  }
}

// Writes into a real file, leaving the frames of one zero buffer as holes.
struct SparseFileSink : AviSink {
  AviFile& file;
  const Bytes& holes;
  SparseFileSink(AviFile& f, const Bytes& zeros) : file(f), holes(zeros) {}
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (offset + size > file.Size()) file.Resize(offset + size);
    if (data != holes.data()) file.WriteAt(offset, data, size);
  }
};

fs::path TempDir() {
  fs::path dir = fs::temp_directory_path() / ("zelvio_avi_repair_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

void ExpectFfprobeFrames(const fs::path& path, long long frames, bool audio, bool countPackets = false) {
  if (!avitest::FfprobeInstalled()) {
    std::printf("SKIP ffprobe check: ffprobe is not installed\n");
    return;
  }
  avitest::Probe probe = avitest::RunFfprobe(path.string(), countPackets);
  ASSERT_TRUE(probe.ran);
  EXPECT_EQ(probe.errors, "");
  ASSERT_EQ(probe.streams.size(), audio ? 2u : 1u);
  EXPECT_EQ(probe.streams[0].codecType, "video");
  EXPECT_EQ(probe.streams[0].readFrames, frames);
  if (audio) {
    EXPECT_EQ(probe.streams[1].codecType, "audio");
  }
}

TEST(AviRepair, RepairedFilesOnDiskPlayInFfprobe) {
  using namespace avitest;
  fs::path dir = TempDir();
  const struct {
    const char* name;
    Recording recording;
    size_t cutChunk;
    uint64_t muxStart;  // 0: our own layout; else where the platform mux's first chunk lies
  } cases[] = {
      {"video only, torn frame", Record({RawVideo(16, 8)}, 30), 20, 0},
      {"video and audio, torn audio", Record({RawVideo(16, 8), PcmAudio()}, 30), 41, 0},
      {"OpenDML segments", Record({RawVideo(16, 8), PcmAudio()}, 300, 100000), 501, 0},
      {"platform mux, video only, torn frame", Record({RawVideo(16, 8)}, 30), 20, 64556},
      {"platform mux, video and audio, torn audio", Record({RawVideo(16, 8), PcmAudio()}, 30), 41, 64556},
      {"platform mux, video and audio, torn frame", Record({RawVideo(16, 8), PcmAudio()}, 30), 40, 1024},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Recording& r = c.recording;
    fs::path path = dir / "Screencast.avi";
    Bytes unfinished = c.muxStart ? MuxLayout(r.unfinished, c.muxStart) : r.unfinished;
    int64_t shift = c.muxStart ? MuxShift(c.muxStart) : 0;
    uint64_t cut = uint64_t(int64_t(r.layout.data[c.cutChunk].offset) + shift) + 20;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(unfinished.data()), cut);
    RepairResult result = RepairAvi(path, NotesFor(r.streams));
    ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
    std::ifstream in(path, std::ios::binary);
    Bytes repaired((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CheckRepaired(repaired, r, c.cutChunk, result, shift);
    ExpectFfprobeFrames(path, static_cast<long long>(result.videoFrames), r.streams.size() == 2);
  }
  fs::remove_all(dir);
}

// Notes whose file is gone or holds nothing recorded can never lead to a repair: the
// outcome says so (the program then drops the notes), and the file stays as it is. A file
// another handle holds is left alone as well.
TEST(AviRepair, TellsFilesThatCanNeverBeRepairedAndFilesInUse) {
  using namespace avitest;
  Recording r = Record({RawVideo(16, 8)}, 3);
  fs::path dir = TempDir();
  std::ofstream(dir / "empty.avi").close();
  std::ofstream(dir / "zeros.avi", std::ios::binary).write(std::string(70000, '\0').data(), 70000);
  const struct {
    const char* name;
    fs::path path;
  } cases[] = {
      {"missing file", dir / "missing.avi"},
      {"missing folder", dir / "no_such_dir" / "missing.avi"},
      {"empty file", dir / "empty.avi"},
      {"nothing but zeros", dir / "zeros.avi"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::error_code none;
    uintmax_t before = fs::exists(c.path) ? fs::file_size(c.path) : 0;
    RepairResult result = RepairAvi(c.path, NotesFor(r.streams));
    EXPECT_EQ(result.outcome, RepairOutcome::NothingToRepair) << result.reason;
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(fs::exists(c.path) ? fs::file_size(c.path) : 0, before);
  }
  RepairResult inUse =
      RepairAvi([]() -> std::unique_ptr<AviFile> { throw FileInUseError("in use"); }, NotesFor(r.streams));
  EXPECT_EQ(inUse.outcome, RepairOutcome::InUse);
  fs::remove_all(dir);
}

// Another mux may pad with JUNK and put index chunks of its own among the frames; both are
// kept where they are, and the frames around them are all indexed.
TEST(AviRepair, KeepsPaddingAndForeignIndexChunksOfOtherMuxes) {
  using namespace avitest;
  std::vector<StreamFormat> streams = {RawVideo(16, 8), PcmAudio()};
  Bytes file(2048, 0);
  auto chunk = [&](const char* id, uint32_t size, uint8_t fill) {
    file.insert(file.end(), id, id + 4);
    Put(file, size, 4);
    file.insert(file.end(), size + (size & 1), fill);
  };
  file.insert(file.end(), {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'm', 'o', 'v', 'i'});
  for (int i = 0; i < 6; ++i) {
    chunk("00db", 512, uint8_t(i));
    chunk("JUNK", 11, 0);
    chunk("01wb", 1600, 0x40);
    if (i == 2) chunk("ix00", 40, 0x77);
  }
  chunk("00db", 512, 9);
  file.resize(file.size() - 100);  // the seventh frame is torn
  fs::path dir = TempDir();
  fs::path path = dir / "other_mux.avi";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));

  RepairResult result = RepairAvi(path, NotesFor(streams));
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
  EXPECT_EQ(result.videoFrames, 6u);
  DiskFile repaired(path);
  Bytes bytes(repaired.Size());
  repaired.ReadAt(0, bytes.data(), bytes.size());
  AviView v = AviReader(MemoryRead(bytes), bytes.size()).Read();
  EXPECT_EQ(v.data.size(), 12u);
  EXPECT_EQ(v.idx1.size(), 12u);
  EXPECT_EQ(RepairAvi(path, NotesFor(streams)).outcome, RepairOutcome::AlreadyComplete);
  ExpectFfprobeFrames(path, 6, true);
  fs::remove_all(dir);
}

// What a crash can leave in the middle of a recording: a page that never reached the disk
// (zeros over several chunks) or one damaged size field. The repair goes on at the next
// sound chunk and keeps everything after the damage; only chunks whose header the damage
// hit are lost, and the bytes of the damaged part stay in the file.
struct Damage {
  std::string name;
  Bytes file;
  std::vector<size_t> lost;  // chunks of the recording that cannot come back
  uint64_t tornAt = 0;       // the chunk the crash tore: the only bytes the repair may cut
  uint64_t zeroTail = 0;     // zeros the file holds past `file`, not stored by the test
};

// Counts the repair's reads; bytes past the stored ones read as zeros, up to `size`, so a
// test can hand the repair a file of gigabytes without storing them.
struct WatchedFile : MemoryFile {
  WatchedFile(std::vector<uint8_t> bytes, uint64_t zeroTail)
      : MemoryFile(std::move(bytes)), size(Bytes().size() + zeroTail) {}
  uint64_t Size() override { return size; }
  void ReadAt(uint64_t offset, void* data, size_t n) override {
    ++reads;
    largestRead = std::max(largestRead, n);
    if (offset > size || n > size - offset) throw FileIoError("read past the end of the file");
    std::memset(data, 0, n);
    uint64_t stored = Bytes().size();
    if (offset < stored) MemoryFile::ReadAt(offset, data, size_t(std::min<uint64_t>(n, stored - offset)));
  }
  void Resize(uint64_t to) override {
    MemoryFile::Resize(to);
    size = to;
  }
  uint64_t size;
  size_t reads = 0, largestRead = 0;
};

// Zeros over [from, to).
Damage Overwritten(const Recording& r, uint64_t from, uint64_t to, uint64_t torn, const std::string& name) {
  Damage d{name, r.unfinished, {}, 0};
  d.file.resize(torn);
  std::fill(d.file.begin() + from, d.file.begin() + to, 0);
  for (size_t i = 0; i < r.layout.data.size(); ++i) {
    uint64_t at = r.layout.data[i].offset;
    bool hit = at + 8 > from && at < to;
    EXPECT_TRUE(!hit || (at >= from && at + 8 <= to)) << "a header half in the zeros: pick another place";
    if (hit || EndOf(r.layout.data[i]) > torn) d.lost.push_back(i);
    if (EndOf(r.layout.data[i]) > torn && !d.tornAt) d.tornAt = at;
  }
  return d;
}

Damage ZeroPage(const Recording& r, uint64_t from, uint64_t torn) {
  return Overwritten(r, from, from + 4096, torn, "4 KiB of zeros from byte " + std::to_string(from));
}

// A zeroed header at `from`, then up to `to` what reads as sound chunk ids at every eighth
// byte, each with a size that holds no whole sound block: old data of the disk.
Damage IdLikeStretch(const Recording& r, uint64_t from, uint64_t to, uint64_t torn) {
  Damage d = Overwritten(r, from, to, torn, "ids from byte " + std::to_string(from) + " to " + std::to_string(to));
  for (uint64_t at = to; at >= from + 16; at -= 8) std::copy_n("01wb\3\0\0\0", 8, d.file.begin() + at - 8);
  return d;
}

// The header of `chunk` damaged into an index chunk of 0xF0000000 bytes, all of which the file
// holds: the chunks behind it, then a JUNK chunk of zeros to its declared end, where the file
// ends. `closed`: the movi list's size ends there too.
Damage HugeIndex(const Recording& r, size_t chunk, bool closed) {
  Damage d{std::string("index chunk of 3.75 GB") + (closed ? " in a closed movi list" : ""), r.unfinished,
           {chunk, r.layout.data.size() - 1}, r.layout.data.back().offset};
  const uint32_t declared = 0xF0000000u;
  const uint64_t at = r.layout.data[chunk].offset, end = at + 8 + declared;
  d.file.resize(d.tornAt);
  std::copy_n("ix00", 4, d.file.begin() + at);
  SetU32(d.file, at + 4, declared);
  PutU32(d.file, kJunk);
  PutU32(d.file, uint32_t(end - d.file.size() - 4));
  d.zeroTail = end - d.file.size();
  if (closed) SetU32(d.file, kHeaderReserve + 4, uint32_t(end - kHeaderReserve - 8));
  return d;
}

Damage DamagedSize(const Recording& r, size_t chunk, uint32_t size, uint64_t torn) {
  Damage d{
      "size of chunk " + std::to_string(chunk) + " set to " + std::to_string(size), r.unfinished, {chunk}, 0};
  d.file.resize(torn);
  uint64_t at = r.layout.data[chunk].offset + 4;
  for (int i = 0; i < 4; ++i) d.file[at + i] = uint8_t(size >> (8 * i));
  for (size_t i = 0; i < r.layout.data.size(); ++i) {
    if (EndOf(r.layout.data[i]) > torn) d.lost.push_back(i);
    if (EndOf(r.layout.data[i]) > torn && !d.tornAt) d.tornAt = r.layout.data[i].offset;
  }
  return d;
}

void CheckKeptAroundDamage(const Damage& d, const Recording& r, WatchedFile& file,
                           const RepairResult& result) {
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
  const Bytes& bytes = file.Bytes();
  AviView v;
  try {
    v = AviReader(avitest::MemoryRead(bytes), bytes.size()).Read();
  } catch (const std::exception& e) {
    FAIL() << "repaired file unreadable: " << e.what();
  }
  std::vector<avitest::Chunk> kept;
  for (size_t i = 0; i < r.layout.data.size(); ++i) {
    if (std::find(d.lost.begin(), d.lost.end(), i) == d.lost.end()) kept.push_back(r.layout.data[i]);
  }
  ASSERT_EQ(v.data.size(), kept.size());
  for (size_t i = 0; i < kept.size(); ++i) {
    ASSERT_EQ(v.data[i].offset, kept[i].offset) << i;
    ASSERT_EQ(v.data[i].id, kept[i].id) << i;
    ASSERT_EQ(v.data[i].size, kept[i].size) << i;
  }
  ASSERT_EQ(v.idx1.size(), kept.size());
  EXPECT_EQ(result.videoFrames, VideoCount(v, v.data.size()));
  // Nothing of the recording moved or changed outside the header area, the patched sizes
  // and the JUNK headers over the damage: every payload byte is still there.
  for (const auto& c : kept) {
    ASSERT_TRUE(
        std::equal(bytes.begin() + c.offset + 8, bytes.begin() + EndOf(c), d.file.begin() + c.offset + 8));
  }
  EXPECT_EQ(bytes.size(), d.tornAt + 8 + 16 * kept.size()) << "only the torn last chunk was cut";
  // The file is read a window at a time, not a look at a time, and no more than a window at
  // once, whatever a size field says.
  EXPECT_LE(file.reads, 8 + 2 * d.file.size() / kLookWindow);
  EXPECT_LE(file.largestRead, kScanWindow);
}

TEST(AviRepair, KeepsTheDataBehindAHoleOrADamagedSize) {
  using namespace avitest;
  Recording raw = Record({RawVideo(16, 8)}, 200);
  Recording av = Record({RawVideo(16, 8), PcmAudio()}, 100);
  Recording mjpg = Record({MjpgVideo(16, 8)}, 200, kSegmentLimit, 2001);
  auto tornIn = [](const Recording& r, size_t chunk) { return r.layout.data[chunk].offset + 300; };
  const uint64_t rawTorn = tornIn(raw, 199), avTorn = tornIn(av, 199), mjpgTorn = tornIn(mjpg, 199);
  // Over 3 MiB, so a hole crosses the scan's windows; one chunk's id is split by the end of
  // the third.
  Recording wide = Record({MjpgVideo(16, 8), PcmAudio()}, 900, kSegmentLimit, 2182);
  const uint64_t wideTorn = tornIn(wide, 1799);
  size_t split = 0;
  while (split < wide.layout.data.size() && wide.layout.data[split].offset != 3 * kScanWindow - 2) ++split;
  ASSERT_LT(split, wide.layout.data.size());
  std::vector<std::pair<const Recording*, Damage>> cases;
  cases.push_back({&wide, IdLikeStretch(wide, wide.layout.data[100].offset, wide.layout.data[split].offset, wideTorn)});
  cases.push_back({&wide, IdLikeStretch(wide, wide.layout.data[split - 7].offset, wide.layout.data[split].offset, wideTorn)});
  cases.push_back({&raw, HugeIndex(raw, 120, false)});
  cases.push_back({&raw, HugeIndex(raw, 120, true)});
  for (size_t k : {1, 40, 100, 150, 190}) {
    cases.push_back({&raw, ZeroPage(raw, raw.layout.data[k].offset, rawTorn)});
    cases.push_back({&raw, ZeroPage(raw, raw.layout.data[k].offset + 100, rawTorn)});
    cases.push_back({&raw, DamagedSize(raw, k, 0x7FFFFFF0, rawTorn)});
    cases.push_back({&raw, DamagedSize(raw, k, 514, rawTorn)});
    cases.push_back({&raw, DamagedSize(raw, k, 1024, rawTorn)});
    cases.push_back({&av, ZeroPage(av, av.layout.data[k].offset, avTorn)});
    cases.push_back({&av, DamagedSize(av, k, 0x00FFFFF0, avTorn)});
    cases.push_back({&mjpg, ZeroPage(mjpg, mjpg.layout.data[k].offset + 1000, mjpgTorn)});
    cases.push_back({&mjpg, DamagedSize(mjpg, k, 0x7FFFFFF0, mjpgTorn)});
  }
  for (auto& [r, d] : cases) {
    SCOPED_TRACE(d.name + ", " + std::to_string(r->streams.size()) + " streams");
    WatchedFile file(d.file, d.zeroTail);
    RepairResult result = RepairAvi(file, NotesFor(r->streams));
    CheckKeptAroundDamage(d, *r, file, result);
    RepairResult again = RepairAvi(file, NotesFor(r->streams));
    EXPECT_EQ(again.outcome, RepairOutcome::AlreadyComplete) << again.reason;
    if (HasFailure()) return;
  }

  // A compressed frame may have any size, so a size that lands inside the file cannot be
  // told from a sound one until the walk reads a header that is none: then the file is
  // left exactly as it is.
  Damage shifted = DamagedSize(mjpg, 100, 2003, mjpgTorn);
  MemoryFile file(shifted.file);
  RepairResult result = RepairAvi(file, NotesFor(mjpg.streams));
  EXPECT_EQ(result.outcome, RepairOutcome::Refused);
  EXPECT_EQ(file.Bytes(), shifted.file);
}

TEST(AviRepair, RepairedAroundAHoleOnDiskPlaysInFfprobe) {
  using namespace avitest;
  Recording r = Record({RawVideo(16, 8), PcmAudio()}, 60);
  Damage d = ZeroPage(r, r.layout.data[50].offset, r.layout.data.back().offset + 20);
  fs::path dir = TempDir();
  fs::path path = dir / "Screencast_hole.avi";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(d.file.data()), d.file.size());
  RepairResult result = RepairAvi(path, NotesFor(r.streams));
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
  size_t videoLost = std::count_if(d.lost.begin(), d.lost.end(), [](size_t i) { return i % 2 == 0; });
  EXPECT_EQ(result.videoFrames, 60 - videoLost);
  ExpectFfprobeFrames(path, static_cast<long long>(result.videoFrames), true);
  fs::remove_all(dir);
}

// A screen-codec stream (ZMBV) tells its key frames in the first byte of every packet, and an
// inter frame decodes only after every packet since its key frame. The repair indexes the
// key frames the packets name; an inter frame that damage cut off from its key frame keeps
// an index entry without data, which holds its time, and its bytes stay in the file under
// a JUNK header.
struct VideoEntry {
  uint64_t offset = 0;  // chunk header
  uint32_t size = 0;
  bool key = false;
  bool operator==(const VideoEntry& o) const { return offset == o.offset && size == o.size && key == o.key; }
};

std::ostream& operator<<(std::ostream& out, const VideoEntry& e) {
  return out << "{at " << e.offset << ", " << e.size << " bytes" << (e.key ? ", key}" : "}");
}

// The entries of one stream, from idx1 or from the OpenDML indexes.
std::vector<VideoEntry> IndexEntries(const AviView& v, const std::string& stream) {
  std::vector<VideoEntry> out;
  if (v.riffs.size() == 1) {
    for (const auto& e : v.idx1) {
      if (e.id.substr(0, 2) == stream)
        out.push_back({v.moviLists[0] + 8 + e.offset, e.size, (e.flags & 0x10) != 0});
    }
    return out;
  }
  for (const auto& ix : v.stdIndexes) {
    if (ix.chunkId.substr(0, 2) != stream) continue;
    for (size_t k = 0; k < ix.chunkOffsets.size(); ++k)
      out.push_back({ix.chunkOffsets[k], ix.sizes[k], ix.keys[k]});
  }
  return out;
}

AviView ReadBack(const Bytes& bytes) { return AviReader(avitest::MemoryRead(bytes), bytes.size()).Read(); }

constexpr uint32_t kMustUseIndex = 0x20;

TEST(AviRepair, IndexesTheKeyFramesZmbvPacketsNameWhereverTheFileWasCut) {
  using namespace avitest;
  const std::string pattern = "KiiKKiiiiKiKiiiiiiKK";
  std::string longer;
  for (int i = 0; i < 8; ++i) longer += pattern;
  const struct {
    const char* name;
    std::string frames;
    ZmbvRecording recording;
  } cases[] = {
      {"video only", pattern, RecordZmbv(pattern, false)},
      {"video and sound", pattern, RecordZmbv(pattern, true)},
      {"video and sound, OpenDML segments", longer, RecordZmbv(longer, true, 90000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ZmbvRecording& r = c.recording;
    const bool sound = r.streams.size() == 2;
    for (size_t torn = 1; torn < r.layout.data.size(); ++torn) {
      SCOPED_TRACE("torn chunk " + std::to_string(torn));
      const avitest::Chunk& tornChunk = r.layout.data[torn];
      MemoryFile file(
          Bytes(r.unfinished.begin(), r.unfinished.begin() + tornChunk.offset + 8 + tornChunk.size / 2));
      RepairResult result = RepairAvi(file, NotesFor(r.streams));
      ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
      AviView v = ReadBack(file.Bytes());
      std::vector<VideoEntry> want;
      for (size_t i = 0; i < torn; ++i) {
        const avitest::Chunk& chunk = r.layout.data[i];
        if (chunk.id == "00dc")
          want.push_back({chunk.offset, chunk.size, c.frames[sound ? i / 2 : i] == 'K'});
      }
      ASSERT_EQ(IndexEntries(v, "00"), want);
      if (sound) {
        for (const VideoEntry& e : IndexEntries(v, "01")) EXPECT_TRUE(e.key) << "sound starts anywhere";
        EXPECT_EQ(IndexEntries(v, "01").size(), torn / 2);
      }
      EXPECT_EQ(v.flags & kMustUseIndex, 0u) << "nothing stands in for a frame";
      EXPECT_EQ(result.videoFrames, want.size());
      if (c.frames == longer && torn + 1 == r.layout.data.size()) {
        EXPECT_GE(v.riffs.size(), 3u);
      }
      if (HasFailure()) return;
    }
  }

  // Other formats keep every frame a key frame, whatever their first byte holds.
  const Recording others[] = {Record({RawVideo(16, 8), PcmAudio()}, 12),
                              Record({MjpgVideo(16, 8), PcmAudio()}, 12, kSegmentLimit, 301, 4)};
  for (const Recording& r : others) {
    MemoryFile file(Bytes(r.unfinished.begin(), r.unfinished.end() - 100));
    ASSERT_EQ(RepairAvi(file, NotesFor(r.streams)).outcome, RepairOutcome::Repaired);
    AviView v = ReadBack(file.Bytes());
    std::vector<VideoEntry> video = IndexEntries(v, "00");
    ASSERT_EQ(video.size(), 12u) << "only the last sound chunk is torn";
    for (size_t i = 0; i < video.size(); ++i)
      EXPECT_EQ(video[i], (VideoEntry{v.data[2 * i].offset, v.data[2 * i].size, true}));
    EXPECT_EQ(v.flags & kMustUseIndex, 0u);
  }
}

// Zeros over whole chunks of the recording: what a page that never reached the disk leaves.
Bytes WithHoles(Bytes file, const AviView& layout, const std::vector<size_t>& chunks) {
  for (size_t i : chunks) {
    const avitest::Chunk& c = layout.data[i];
    std::fill(file.begin() + c.offset, file.begin() + EndOf(c), 0);
  }
  return file;
}

TEST(AviRepair, ZmbvFramesThatDamageCutOffFromTheirKeyFrameKeepOnlyTheirTime) {
  using namespace avitest;
  const std::string frames = "KiiiKiiiKiiiKiiiKiii";
  ZmbvRecording av = RecordZmbv(frames, true), video = RecordZmbv(frames, false);
  std::string many;
  for (int i = 0; i < 30; ++i) many += "Kiiii";
  ZmbvRecording segmented = RecordZmbv(many, true, 90000);
  const std::string emptyFirst = "eeKiieiKiii";
  ZmbvRecording startsEmpty = RecordZmbv(emptyFirst, true);
  // In the last segment: the first key frame with a whole group of inter frames after it
  // and another key frame before the torn end.
  size_t segmentedKey = 0;
  for (size_t f = 0; f + 6 < many.size(); f += 5) {
    if (segmented.layout.data[2 * f].offset > segmented.layout.riffs.back().offset + 100) {
      segmentedKey = f;
      break;
    }
  }
  ASSERT_GT(segmentedKey, 0u);
  const struct {
    const char* name;
    const ZmbvRecording* recording;
    std::string frames;
    std::vector<size_t> holes;        // chunks the damage took
    std::vector<size_t> undecodable;  // frames cut off from their key frame
  } cases[] = {
      {"an inter frame lost", &av, frames, {10}, {6, 7}},
      {"a key frame lost", &av, frames, {8}, {5, 6, 7}},
      {"the first key frame lost", &av, frames, {0}, {1, 2, 3}},
      {"a sound chunk lost: it may have held a frame", &av, frames, {19}, {10, 11}},
      {"two holes", &av, frames, {4, 27}, {3, 14, 15}},
      {"a hole right before a key frame", &av, frames, {14, 15}, {}},
      {"video only, a key frame lost", &video, frames, {12}, {13, 14, 15}},
      {"OpenDML segments, a key frame lost in the last",
       &segmented,
       many,
       {2 * segmentedKey},
       {segmentedKey + 1, segmentedKey + 2, segmentedKey + 3, segmentedKey + 4}},
      // Empty chunks hold no picture either: before the first one they show it too.
      {"empty frames before the first picture and after it", &startsEmpty, emptyFirst, {}, {0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ZmbvRecording& r = *c.recording;
    const bool sound = r.streams.size() == 2;
    const size_t step = sound ? 2 : 1;
    Bytes damaged = WithHoles(r.unfinished, r.layout, c.holes);
    damaged.resize(r.layout.data.back().offset + 10);  // the last chunk is torn
    std::vector<size_t> lost = c.holes;
    lost.push_back(r.layout.data.size() - 1);
    auto isLost = [&](size_t chunk) { return std::find(lost.begin(), lost.end(), chunk) != lost.end(); };
    auto cutOff = [&](size_t f) {
      return std::find(c.undecodable.begin(), c.undecodable.end(), f) != c.undecodable.end();
    };

    MemoryFile file(damaged);
    RepairResult result = RepairAvi(file, NotesFor(r.streams));
    ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
    const Bytes& bytes = file.Bytes();
    AviView v = ReadBack(bytes);

    std::vector<VideoEntry> want;
    size_t shown = 0;
    for (size_t f = 0; f < c.frames.size(); ++f) {
      const avitest::Chunk& chunk = r.layout.data[f * step];
      if (isLost(f * step)) continue;
      if (!cutOff(f)) {
        want.push_back({chunk.offset, chunk.size, c.frames[f] == 'K'});
        ++shown;
        continue;
      }
      // Before the first picture that survived, the entries show that picture.
      size_t key = f;
      while (key < c.frames.size() && (c.frames[key] != 'K' || isLost(key * step))) ++key;
      bool pictureBefore = false;
      for (size_t g = 0; g < f; ++g)
        pictureBefore = pictureBefore || (c.frames[g] == 'K' && !isLost(g * step));
      if (pictureBefore) {
        want.push_back({chunk.offset, 0, false});
      } else {
        want.push_back({r.layout.data[key * step].offset, r.layout.data[key * step].size, true});
      }
      // Readers that walk the chunks step over it; its size and every byte of it stay.
      EXPECT_EQ(std::string(bytes.begin() + chunk.offset, bytes.begin() + chunk.offset + 4), "JUNK") << f;
      EXPECT_TRUE(std::equal(bytes.begin() + chunk.offset + 4, bytes.begin() + EndOf(chunk),
                             r.unfinished.begin() + chunk.offset + 4))
          << f;
    }
    ASSERT_EQ(IndexEntries(v, "00"), want);
    EXPECT_EQ(result.videoFrames, shown);
    EXPECT_EQ(v.streams[0].length, want.size()) << "the stream's length counts the frames' time";
    EXPECT_EQ(bool(v.flags & kMustUseIndex), !c.undecodable.empty());
    if (sound) {
      std::vector<VideoEntry> sounds;
      for (size_t i = 1; i < r.layout.data.size(); i += 2) {
        if (!isLost(i)) sounds.push_back({r.layout.data[i].offset, r.layout.data[i].size, true});
      }
      EXPECT_EQ(IndexEntries(v, "01"), sounds) << "sound between the cut-off frames stays";
    }

    RepairResult again = RepairAvi(file, NotesFor(r.streams));
    EXPECT_EQ(again.outcome, RepairOutcome::AlreadyComplete) << again.reason;
    EXPECT_EQ(again.videoFrames, result.videoFrames);
    if (HasFailure()) return;
  }
}

// ffmpeg decodes the repaired file from its first frame to its last without an error, every
// frame at the time it was recorded, and a seek to any second lands on a frame it decodes.
TEST(AviRepair, RepairedZmbvRecordingDecodesAndSeeksInFfmpeg) {
  using namespace avitest;
  if (!FfmpegInstalled() || !FfprobeInstalled()) GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
  std::string frames, many;
  for (int i = 0; i < 9; ++i) frames += "Kiiiiii";
  for (int i = 0; i < 40; ++i) many += "Kiiiiii";
  ZmbvRecording r = RecordZmbv(frames, true), segmented = RecordZmbv(many, true, 90000);
  ZmbvRecording startsEmpty = RecordZmbv("e" + frames, true);
  const struct {
    const char* name;
    const ZmbvRecording* recording;
    std::vector<size_t> lostFrames;   // their chunks are zeroed
    std::vector<size_t> undecodable;  // frames cut off from their key frame
    size_t firstKey;                  // the first key frame that survives
    // ffmpeg keeps one of two index entries in a row that name the same packet: the first
    // picture, right after the sound chunk that the data starts with, already plays from 0 s.
    std::vector<size_t> noPacket = {};
  } cases[] = {
      // ffmpeg refuses inter frames before any key frame; later ones would decode into wrong
      // pictures.
      {"the first key frame and a later inter frame lost",
       &r,
       {0, 30},
       {1, 2, 3, 4, 5, 6, 31, 32, 33, 34},
       7},
      {"an inter frame lost", &r, {30}, {31, 32, 33, 34}, 0},
      {"OpenDML segments, a key frame in the last lost",
       &segmented,
       {259},
       {260, 261, 262, 263, 264, 265},
       0},
      {"an empty frame first", &startsEmpty, {}, {0}, 1, {1}},
  };
  ASSERT_GT(segmented.layout.data[2 * 259].offset, segmented.layout.riffs.back().offset);
  fs::path dir = TempDir();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ZmbvRecording& rec = *c.recording;
    const size_t count = rec.layout.data.size() / 2;
    std::vector<size_t> holes;
    for (size_t f : c.lostFrames) holes.push_back(2 * f);
    Bytes damaged = WithHoles(rec.unfinished, rec.layout, holes);
    damaged.resize(rec.layout.data.back().offset + 100);
    fs::path path = dir / "Screencast_zmbv.avi";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(damaged.data()), damaged.size());
    RepairResult result = RepairAvi(path, NotesFor(rec.streams));
    ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;

    // A frame keeps its place on the time line; the frames the holes took are gone from it.
    // The first picture also plays in the places of the frames before it; the later cut-off
    // frames are dropped frames, without a packet.
    std::vector<long long> want;
    size_t shown = 0;
    long long slot = 0;
    for (size_t f = 0; f < count; ++f) {
      if (std::find(c.lostFrames.begin(), c.lostFrames.end(), f) != c.lostFrames.end()) continue;
      bool cut = std::find(c.undecodable.begin(), c.undecodable.end(), f) != c.undecodable.end();
      bool packet = std::find(c.noPacket.begin(), c.noPacket.end(), f) == c.noPacket.end();
      if ((!cut || f < c.firstKey) && packet) want.push_back(slot);
      shown += cut ? 0 : 1;
      ++slot;
    }
    std::string errors;
    std::vector<PacketTime> times = VideoPacketTimes(path.string(), errors);
    EXPECT_EQ(errors, "");
    std::vector<long long> pts;
    for (const auto& t : times) pts.push_back(t.pts);
    EXPECT_EQ(pts, want) << "every frame plays at the time it was recorded";
    ASSERT_FALSE(times.empty());
    EXPECT_TRUE(times[0].key);
    EXPECT_EQ(result.videoFrames, shown);

    ToolRun decode = RunTool("ffmpeg -nostdin -v error -i '" + path.string() + "' -f null -", path.string());
    EXPECT_TRUE(decode.ok);
    EXPECT_EQ(decode.err, "") << "decodes from the first frame to the last";
    ExpectFfprobeFrames(path, static_cast<long long>(want.size()), true);

    const double seconds = double(slot) / 10;  // the video's length: ten frames a second
    for (double second = 0; second < seconds; second += second < 0.9 ? 0.3 : 1) {
      SCOPED_TRACE("seek to " + std::to_string(second) + " s");
      ToolRun seek = RunTool("ffmpeg -nostdin -v error -ss " + std::to_string(second) + " -i '" +
                                 path.string() + "' -frames:v 1 -f framemd5 -",
                             path.string());
      EXPECT_TRUE(seek.ok);
      EXPECT_EQ(seek.err, "");
      EXPECT_NE(seek.out.find("\n0,"), std::string::npos) << "one frame decoded:\n" << seek.out;
    }
    if (HasFailure()) break;
  }
  fs::remove_all(dir);
}

TEST(AviRepair, OpenDmlPastFourGigabytesInASparseFile) {
  using namespace avitest;
  fs::path dir = TempDir();
  fs::path path = dir / "Screencast_long.avi";
  std::ofstream(path, std::ios::binary).close();
  std::vector<StreamFormat> streams = {RawVideo(2560, 4096), PcmAudio(48000, 16, 2)};
  const uint32_t frame = 2560 * 4096 * 4;
  const int frames = int(4.3 * 1024 * 1024 * 1024 / frame);
  {
    DiskFile file(path);
    Bytes zeros(frame, 0), sound(6400, 0x11);
    SparseFileSink sink(file, zeros);
    AviWriter writer(sink, streams);
    for (int i = 0; i < frames; ++i) {
      writer.AppendChunk(0, zeros.data(), zeros.size(), true);
      writer.AppendChunk(1, sound.data(), sound.size(), true);
    }
    ASSERT_GT(writer.SegmentCount(), 4u);
    file.Resize(file.Size() - frame / 2);  // the crash tore the last frame
  }
  RepairResult result = RepairAvi(path, NotesFor(streams));
  ASSERT_EQ(result.outcome, RepairOutcome::Repaired) << result.reason;
  EXPECT_EQ(result.videoFrames, uint64_t(frames - 1));
  EXPECT_LT(result.sizeAfter, result.sizeBefore);

  DiskFile file(path);
  AviView v = AviReader(
                  [&](uint64_t at, void* out, size_t n) {
                    std::memset(out, 0, n);
                    uint64_t size = file.Size();
                    if (at < size) file.ReadAt(at, out, std::min<uint64_t>(n, size - at));
                  },
                  file.Size())
                  .Read();
  EXPECT_GT(v.riffs.size(), 4u);
  EXPECT_EQ(v.data.size(), size_t(2 * (frames - 1))) << "the torn frame and the sound after it are cut";
  EXPECT_EQ(v.dmlhFrames, uint32_t(frames - 1));
  EXPECT_GT(v.streams[0].indx.back().offset, 4ull << 30);
  size_t indexed = 0;
  for (const auto& ix : v.stdIndexes) indexed += ix.chunkOffsets.size();
  EXPECT_EQ(indexed, v.data.size());
  EXPECT_EQ(file.Size(), result.sizeAfter);
  ExpectFfprobeFrames(path, frames - 1, true, true);
  if (!std::getenv("ZELVIO_KEEP_SPARSE")) fs::remove_all(dir);
}

}  // namespace
}  // namespace zelvio::avi
