#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "capture/avi/avi_layout.h"
#include "support/avi_writer.h"
#include "support/avi_reader.h"
#include "support/avi_samples.h"
#include "support/ffprobe.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zelvio::avi {
namespace {

using avitest::AviReader;
using avitest::AviView;

struct PlannedChunk {
  size_t stream;
  uint32_t size;
  bool key;
};

struct FileCase {
  const char* name;
  std::vector<StreamFormat> streams;
  std::vector<PlannedChunk> chunks;
  uint64_t segmentLimit = kSegmentLimit;
};

Bytes Payload(size_t index, uint32_t size) {
  Bytes b(size);
  for (uint32_t i = 0; i < size; ++i) b[i] = uint8_t(index * 31 + i * 7);
  return b;
}

std::vector<PlannedChunk> Interleaved(int frames, uint32_t frameSize, uint32_t audioSize, int keyEvery) {
  std::vector<PlannedChunk> plan;
  for (int i = 0; i < frames; ++i) {
    plan.push_back({0, frameSize + uint32_t(i % 3), i % keyEvery == 0});
    if (audioSize) plan.push_back({1, audioSize, true});
  }
  return plan;
}

std::string ExpectedId(size_t stream, const StreamFormat& s) {
  if (s.kind == StreamKind::Audio) return "0" + std::to_string(stream) + "wb";
  uint32_t compression = GetU32(s.format.data() + 16);
  return "0" + std::to_string(stream) + (compression == 0 ? "db" : "dc");
}

// Stream headers and main header against the formats and the chunks written.
void CheckHeaders(const AviView& v, const FileCase& c) {
  ASSERT_EQ(v.streams.size(), c.streams.size());
  EXPECT_EQ(v.streamCount, c.streams.size());
  EXPECT_TRUE(v.flags & 0x10) << "AVIF_HASINDEX";
  for (size_t s = 0; s < c.streams.size(); ++s) {
    const auto& want = c.streams[s];
    const auto& got = v.streams[s];
    EXPECT_EQ(got.format, want.format);
    uint64_t chunks = 0, bytes = 0;
    uint32_t largest = 0;
    for (const auto& p : c.chunks) {
      if (p.stream != s) continue;
      ++chunks;
      bytes += p.size;
      largest = std::max(largest, p.size);
    }
    EXPECT_EQ(got.bufferSize, largest);
    if (want.kind == StreamKind::Video) {
      EXPECT_EQ(got.type, "vids");
      EXPECT_EQ(uint64_t(got.scale) * 10000000, uint64_t(want.avgTimePerFrame) * got.rate);
      EXPECT_EQ(got.length, chunks);
      EXPECT_EQ(got.sampleSize, 0u);
      EXPECT_EQ(got.right, int16_t(GetU32(want.format.data() + 4)));
      EXPECT_EQ(v.microSecPerFrame, want.avgTimePerFrame / 10);
      EXPECT_EQ(v.width, GetU32(want.format.data() + 4));
    } else {
      uint16_t align = GetU16(want.format.data() + 12);
      EXPECT_EQ(got.type, "auds");
      EXPECT_EQ(got.scale, align);
      EXPECT_EQ(got.rate, GetU32(want.format.data() + 8));
      EXPECT_EQ(got.sampleSize, align);
      EXPECT_EQ(got.length, bytes / align);
    }
  }
}

void CheckChunks(const AviView& v, const FileCase& c) {
  ASSERT_EQ(v.data.size(), c.chunks.size());
  for (size_t i = 0; i < c.chunks.size(); ++i) {
    EXPECT_EQ(v.data[i].id, ExpectedId(c.chunks[i].stream, c.streams[c.chunks[i].stream])) << i;
    EXPECT_EQ(v.data[i].size, c.chunks[i].size) << i;
  }
}

size_t ChunksInFirstRiff(const AviView& v) {
  if (v.riffs.size() < 2) return v.data.size();
  size_t n = 0;
  while (n < v.data.size() && v.data[n].offset < v.riffs[1].offset) ++n;
  return n;
}

void CheckIdx1(const AviView& v, const FileCase& c) {
  size_t first = ChunksInFirstRiff(v);
  ASSERT_EQ(v.idx1.size(), first);
  uint64_t moviData = v.moviLists.at(0) + 8;
  size_t videoFrames = 0;
  for (size_t i = 0; i < first; ++i) {
    EXPECT_EQ(v.idx1[i].id, v.data[i].id) << i;
    EXPECT_EQ(moviData + v.idx1[i].offset, v.data[i].offset) << i;
    EXPECT_EQ(v.idx1[i].size, v.data[i].size) << i;
    EXPECT_EQ((v.idx1[i].flags & 0x10) != 0, c.chunks[i].key) << i;
    if (c.streams[c.chunks[i].stream].kind == StreamKind::Video) ++videoFrames;
  }
  EXPECT_EQ(v.totalFrames, videoFrames);
}

// Every chunk of a stream is listed once, in order, by the ix## chunks the super index
// points at; each segment stays below the limit.
void CheckOpenDml(const AviView& v, const FileCase& c) {
  for (size_t r = 0; r < v.riffs.size(); ++r) {
    EXPECT_EQ(v.riffs[r].id, r == 0 ? "AVI " : "AVIX");
    EXPECT_LE(v.riffs[r].size + 8ull, c.segmentLimit) << "RIFF " << r;
  }
  ASSERT_TRUE(v.hasDmlh);
  size_t videoTotal = 0;
  size_t ix = 0;
  for (size_t s = 0; s < c.streams.size(); ++s) {
    std::vector<uint64_t> offsets;
    std::vector<bool> keys;
    uint64_t duration = 0;
    for (const auto& e : v.streams[s].indx) {
      const auto& index = v.stdIndexes.at(ix++);
      EXPECT_EQ(index.fcc, "ix0" + std::to_string(s));
      EXPECT_EQ(index.chunkId, ExpectedId(s, c.streams[s]));
      EXPECT_EQ(e.size, 32 + 8 * index.chunkOffsets.size());
      offsets.insert(offsets.end(), index.chunkOffsets.begin(), index.chunkOffsets.end());
      keys.insert(keys.end(), index.keys.begin(), index.keys.end());
      duration += e.duration;
    }
    std::vector<uint64_t> want;
    std::vector<bool> wantKeys;
    for (size_t i = 0; i < c.chunks.size(); ++i) {
      if (c.chunks[i].stream != s) continue;
      want.push_back(v.data[i].offset);
      wantKeys.push_back(c.chunks[i].key);
    }
    EXPECT_EQ(offsets, want) << "stream " << s;
    EXPECT_EQ(keys, wantKeys) << "stream " << s;
    EXPECT_EQ(duration, v.streams[s].length) << "stream " << s;
    if (c.streams[s].kind == StreamKind::Video) videoTotal += want.size();
  }
  EXPECT_EQ(v.dmlhFrames, videoTotal);
}

void CheckFile(const AviView& v, const FileCase& c, size_t segments) {
  ASSERT_EQ(v.riffs.size(), segments);
  ASSERT_FALSE(v.moviLists.empty());
  EXPECT_EQ(v.moviLists[0], kHeaderReserve) << "movi must start right after the header area";
  CheckHeaders(v, c);
  CheckChunks(v, c);
  CheckIdx1(v, c);
  if (segments > 1) {
    CheckOpenDml(v, c);
  } else {
    EXPECT_FALSE(v.hasDmlh);
    for (const auto& s : v.streams) EXPECT_TRUE(s.indx.empty());
  }
}

Bytes WriteInMemory(const FileCase& c, bool finish, size_t* segments = nullptr) {
  avitest::MemorySink sink;
  AviWriter writer(sink, c.streams, {c.segmentLimit});
  for (size_t i = 0; i < c.chunks.size(); ++i) {
    Bytes payload = Payload(i, c.chunks[i].size);
    writer.AppendChunk(c.chunks[i].stream, payload.data(), payload.size(), c.chunks[i].key);
  }
  if (finish) writer.Finish();
  if (segments) *segments = writer.SegmentCount();
  if (finish) {
    EXPECT_EQ(writer.FileSize(), sink.bytes.size());
  }
  return sink.bytes;
}

TEST(AviLayout, FinishedFilesReadBackThroughAnIndependentReader) {
  using namespace avitest;
  const FileCase cases[] = {
      {"raw video only", {RawVideo(16, 8)}, Interleaved(5, 512, 0, 1)},
      {"compressed video with audio, odd sizes",
       {MjpgVideo(20, 10), PcmAudio()},
       Interleaved(7, 301, 1601, 3)},
      {"bottom-up height and stereo audio",
       {RawVideo(8, -4), PcmAudio(44100, 16, 2)},
       Interleaved(3, 128, 7056, 1)},
      {"no chunks at all", {RawVideo(16, 8), PcmAudio()}, {}},
      {"sound only", {PcmAudio(22050, 16, 1)}, {{0, 4410, true}, {0, 4410, true}, {0, 882, true}}},
      {"two segments", {MjpgVideo(20, 10), PcmAudio()}, Interleaved(40, 3001, 1600, 4), 100000},
      {"many segments", {MjpgVideo(20, 10), PcmAudio()}, Interleaved(200, 4095, 802, 5), 90000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    size_t segments = 0;
    Bytes file = WriteInMemory(c, true, &segments);
    if (std::string(c.name).find("segments") != std::string::npos) {
      EXPECT_GT(segments, 1u);
    }
    AviView v = AviReader(MemoryRead(file), file.size()).Read();
    CheckFile(v, c, segments);
    for (size_t i = 0; i < v.data.size(); ++i) {
      Bytes got(file.begin() + v.data[i].offset + 8, file.begin() + v.data[i].offset + 8 + v.data[i].size);
      ASSERT_EQ(got, Payload(i, c.chunks[i].size)) << "payload of chunk " << i;
    }
  }
}

// What a crash leaves: zeros in the header area, an open movi list, every chunk on disk;
// closed segments already carry their indexes.
TEST(AviLayout, UnfinishedFilesHoldTheirChunksBehindAZeroHeader) {
  using namespace avitest;
  const FileCase cases[] = {
      {"one segment", {RawVideo(16, 8), PcmAudio()}, Interleaved(6, 512, 1600, 1)},
      {"after a switch-over", {MjpgVideo(20, 10), PcmAudio()}, Interleaved(40, 3001, 1600, 4), 100000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    size_t segments = 0;
    Bytes file = WriteInMemory(c, false, &segments);
    EXPECT_TRUE(std::all_of(file.begin(), file.begin() + kHeaderReserve, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(std::string(file.begin() + kHeaderReserve, file.begin() + kHeaderReserve + 4), "LIST");
    EXPECT_EQ(std::string(file.begin() + kHeaderReserve + 8, file.begin() + kHeaderReserve + 12), "movi");
    uint64_t total = kHeaderReserve + 12;
    for (const auto& p : c.chunks) total += 8 + p.size + (p.size & 1);
    EXPECT_GE(file.size(), total);
    uint32_t firstMoviSize = GetU32(file.data() + kHeaderReserve + 4);
    EXPECT_EQ(firstMoviSize == 0, segments == 1) << "a closed segment has its size, the open one none";
  }
}

// Segments switch at the real 1 GB limit and offsets past 4 GB survive in the indexes.
TEST(AviLayout, OpenDmlPastFourGigabytesInASparseSink) {
  using namespace avitest;
  FileCase c{"5 GB", {RawVideo(2560, 4096), PcmAudio(48000, 16, 2)}, {}};
  const uint32_t frame = 2560 * 4096 * 4;  // 40 MiB, written as dropped zero payloads
  const int frames = 5LL * 1024 * 1024 * 1024 / frame;
  c.chunks = Interleaved(frames, frame, 6400, 1);
  for (auto& p : c.chunks) p.size = p.stream == 0 ? frame : 6400;
  SparseSink sink;
  AviWriter writer(sink, c.streams);
  Bytes zeros(frame, 0);
  for (const auto& p : c.chunks) writer.AppendChunk(p.stream, zeros.data(), p.size, p.key);
  writer.Finish();
  ASSERT_GT(sink.size, 5ull << 30);
  AviView v = AviReader(sink.Reader(), sink.size).Read();
  ASSERT_GE(v.riffs.size(), 5u);
  CheckFile(v, c, writer.SegmentCount());
  EXPECT_GT(v.streams[0].indx.back().offset, 4ull << 30);
}

TEST(AviLayout, RefusesWhatCannotBeLaidOut) {
  using namespace avitest;
  StreamFormat shortVideo = RawVideo(16, 8);
  shortVideo.format.resize(39);
  StreamFormat noFrameTime = RawVideo(16, 8, 0);
  StreamFormat silentAudio = PcmAudio();
  silentAudio.format[12] = silentAudio.format[13] = 0;
  StreamFormat shortAudio = PcmAudio();
  shortAudio.format.resize(15);
  const std::vector<StreamFormat> badSets[] = {
      {}, {shortVideo}, {noFrameTime}, {RawVideo(16, 8), silentAudio}, {shortAudio}};
  for (const auto& set : badSets) {
    MemorySink sink;
    EXPECT_THROW(AviWriter(sink, set), AviError);
    EXPECT_TRUE(sink.bytes.empty()) << "nothing written for formats that cannot be laid out";
  }

  MemorySink sink;
  AviWriter writer(sink, {RawVideo(16, 8)}, {100000});
  Bytes big(100000, 0);
  EXPECT_THROW(writer.AppendChunk(1, big.data(), 10, true), AviError);
  EXPECT_THROW(writer.AppendChunk(0, big.data(), big.size(), true), AviError);
  writer.AppendChunk(0, big.data(), 10, true);
  writer.Finish();
  EXPECT_THROW(writer.AppendChunk(0, big.data(), 10, true), AviError);
  EXPECT_THROW(writer.Finish(), AviError);
}

TEST(AviLayout, HeaderMustFitItsArea) {
  using namespace avitest;
  HeaderInfo info{{RawVideo(16, 8), PcmAudio()}, {{}, {}}, 0, 0, 0};
  uint64_t needed = HeaderBytesNeeded(info);
  const struct {
    uint64_t area;
    bool fits;
  } cases[] = {
      {needed, true}, {needed + 8, true}, {needed + 1000, true}, {needed + 4, false}, {needed - 2, false}};
  for (const auto& c : cases) {
    info.headerSize = c.area;
    if (!c.fits) {
      EXPECT_THROW(BuildHeader(info), AviError) << c.area;
      continue;
    }
    Bytes header = BuildHeader(info);
    EXPECT_EQ(header.size(), c.area);
  }
}

// A second, outside reader: ffprobe must decode every frame of what the writer produced.
TEST(AviLayout, FfprobeDecodesEveryFrame) {
  using namespace avitest;
  if (!FfprobeInstalled()) {
    std::printf("SKIP ffprobe is not installed; the independent reader above still ran\n");
    GTEST_SKIP() << "ffprobe is not installed";
  }
  const FileCase cases[] = {
      {"one segment", {RawVideo(16, 8), PcmAudio()}, Interleaved(25, 512, 1600, 1)},
      {"OpenDML segments", {RawVideo(16, 8), PcmAudio()}, Interleaved(300, 512, 1600, 1), 200000},
  };
  auto dir = std::filesystem::temp_directory_path() / ("zelvio_avi_layout_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileCase raw = c;
    for (auto& p : raw.chunks) {
      if (p.stream == 0) p.size = 512;
    }
    Bytes file = WriteInMemory(raw, true);
    auto path = dir / "probe.avi";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    Probe probe = RunFfprobe(path.string());
    ASSERT_TRUE(probe.ran);
    EXPECT_EQ(probe.errors, "");
    ASSERT_EQ(probe.streams.size(), 2u);
    EXPECT_EQ(probe.streams[0].codecType, "video");
    long long frames =
        std::count_if(c.chunks.begin(), c.chunks.end(), [](const PlannedChunk& p) { return p.stream == 0; });
    EXPECT_EQ(probe.streams[0].readFrames, frames);
    EXPECT_EQ(probe.streams[1].codecType, "audio");
    EXPECT_EQ(probe.streams[1].sampleRate, "8000");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zelvio::avi
