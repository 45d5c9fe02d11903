#include "capture/avi/avi_layout.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace zelvio::avi {
namespace {

constexpr uint32_t kAvih = FourCC("avih");
constexpr uint32_t kStrl = FourCC("strl");
constexpr uint32_t kStrh = FourCC("strh");
constexpr uint32_t kStrf = FourCC("strf");
constexpr uint32_t kIndx = FourCC("indx");
constexpr uint32_t kOdml = FourCC("odml");
constexpr uint32_t kDmlh = FourCC("dmlh");
constexpr uint32_t kVids = FourCC("vids");
constexpr uint32_t kAuds = FourCC("auds");

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifMustUseIndex = 0x20;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAvifTrustCkType = 0x800;
constexpr uint32_t kAviIfKeyFrame = 0x10;
constexpr uint32_t kNotKeyFrameBit = 0x80000000u;
constexpr uint8_t kIndexOfIndexes = 0;
constexpr uint8_t kIndexOfChunks = 1;
constexpr uint32_t kDmlhSize = 248;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

// The stream number as the two leading characters of a chunk id.
uint32_t TwoDigits(size_t index) { return uint32_t('0' + index / 10 % 10) | uint32_t('0' + index % 10) << 8; }

uint32_t Clamp32(uint64_t value) { return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(value); }

// Opens a chunk or list; the returned position is patched by CloseChunk.
size_t OpenChunk(Bytes& out, uint32_t id) {
  PutU32(out, id);
  size_t sizeAt = out.size();
  PutU32(out, 0);
  return sizeAt;
}

size_t OpenList(Bytes& out, uint32_t id, uint32_t type) {
  size_t sizeAt = OpenChunk(out, id);
  PutU32(out, type);
  return sizeAt;
}

void CloseChunk(Bytes& out, size_t sizeAt) {
  if (out.size() % 2) out.push_back(0);
  SetU32(out, sizeAt, uint32_t(out.size() - sizeAt - 4));
}

const StreamFormat* FirstVideo(const std::vector<StreamFormat>& streams) {
  for (const auto& s : streams) {
    if (s.kind == StreamKind::Video) return &s;
  }
  return nullptr;
}

void PutAvih(Bytes& out, const HeaderInfo& info) {
  const StreamFormat* video = FirstVideo(info.streams);
  VideoInfo picture = video ? ReadVideoInfo(*video) : VideoInfo{};
  uint64_t maxBytesPerSec = 0;
  uint32_t largest = 0;
  for (size_t i = 0; i < info.streams.size(); ++i) {
    const auto& s = info.streams[i];
    largest = std::max(largest, info.totals[i].largestChunk);
    if (s.kind == StreamKind::Audio) {
      maxBytesPerSec += ReadAudioInfo(s).avgBytesPerSec;
    } else {
      maxBytesPerSec +=
          uint64_t(info.totals[i].largestChunk) * kAvgTimeUnitsPerSecond / uint64_t(s.avgTimePerFrame);
    }
  }
  // A stand-in has an index entry but no chunk of its stream in the movi list, so only a
  // reader that times frames by their index entries keeps the frames after it in step with
  // the sound; a reader that walks the chunks (ffmpeg does, in an interleaved file, unless
  // told to use the index) would show them early.
  bool standIns =
      std::any_of(info.totals.begin(), info.totals.end(), [](const StreamTotals& t) { return t.standIns; });
  size_t at = OpenChunk(out, kAvih);
  PutU32(out, video ? Clamp32(uint64_t(video->avgTimePerFrame) / 10) : 0);
  PutU32(out, Clamp32(maxBytesPerSec));
  PutU32(out, 0);  // padding granularity
  PutU32(out, kAvifHasIndex | kAvifIsInterleaved | kAvifTrustCkType | (standIns ? kAvifMustUseIndex : 0));
  PutU32(out, Clamp32(info.firstRiffVideoFrames));
  PutU32(out, 0);  // initial frames
  PutU32(out, uint32_t(info.streams.size()));
  PutU32(out, largest);
  PutU32(out, uint32_t(picture.width));
  PutU32(out, uint32_t(std::abs(int64_t(picture.height))));  // wide: INT_MIN has no int magnitude
  for (int i = 0; i < 4; ++i) PutU32(out, 0);
  CloseChunk(out, at);
}

void PutStrh(Bytes& out, const StreamFormat& s, const StreamTotals& totals) {
  uint32_t scale = 0, rate = 0, sampleSize = 0, handler = 0;
  int16_t right = 0, bottom = 0;
  if (s.kind == StreamKind::Video) {
    VideoInfo v = ReadVideoInfo(s);
    uint64_t divisor = std::gcd(uint64_t(s.avgTimePerFrame), uint64_t(kAvgTimeUnitsPerSecond));
    scale = Clamp32(uint64_t(s.avgTimePerFrame) / divisor);
    rate = uint32_t(kAvgTimeUnitsPerSecond / divisor);
    handler = v.compression;
    right = int16_t(v.width);
    bottom = int16_t(std::abs(int64_t(v.height)));
  } else {
    AudioInfo a = ReadAudioInfo(s);
    scale = a.blockAlign;
    rate = a.avgBytesPerSec;
    sampleSize = a.blockAlign;
  }
  size_t at = OpenChunk(out, kStrh);
  PutU32(out, s.kind == StreamKind::Video ? kVids : kAuds);
  PutU32(out, handler);
  PutU32(out, 0);  // flags
  PutU16(out, 0);  // priority
  PutU16(out, 0);  // language
  PutU32(out, 0);  // initial frames
  PutU32(out, scale);
  PutU32(out, rate);
  PutU32(out, 0);  // start
  PutU32(out, Clamp32(StreamUnits(s, totals.chunks, totals.bytes)));
  PutU32(out, totals.largestChunk);
  PutU32(out, 0xFFFFFFFFu);  // quality: default
  PutU32(out, sampleSize);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, uint16_t(right));
  PutU16(out, uint16_t(bottom));
  CloseChunk(out, at);
}

void PutIndx(Bytes& out, size_t index, const StreamFormat& s, const StreamTotals& totals) {
  size_t at = OpenChunk(out, kIndx);
  PutU16(out, 4);    // longs per entry
  out.push_back(0);  // sub type
  out.push_back(kIndexOfIndexes);
  PutU32(out, uint32_t(totals.superIndex.size()));
  PutU32(out, ChunkId(index, s));
  for (int i = 0; i < 3; ++i) PutU32(out, 0);
  for (const auto& e : totals.superIndex) {
    PutU64(out, e.offset);
    PutU32(out, e.size);
    PutU32(out, e.duration);
  }
  CloseChunk(out, at);
}

void PutStrl(Bytes& out, size_t index, const HeaderInfo& info) {
  const StreamFormat& s = info.streams[index];
  const StreamTotals& totals = info.totals[index];
  size_t list = OpenList(out, kList, kStrl);
  PutStrh(out, s, totals);
  size_t strf = OpenChunk(out, kStrf);
  out.insert(out.end(), s.format.begin(), s.format.end());
  CloseChunk(out, strf);
  if (!totals.superIndex.empty()) PutIndx(out, index, s, totals);
  CloseChunk(out, list);
}

bool IsOpenDml(const HeaderInfo& info) {
  for (const auto& t : info.totals) {
    if (!t.superIndex.empty()) return true;
  }
  return false;
}

void PutOdml(Bytes& out, const HeaderInfo& info) {
  uint64_t frames = 0;
  for (size_t i = 0; i < info.streams.size(); ++i) {
    if (info.streams[i].kind == StreamKind::Video) frames = std::max(frames, info.totals[i].chunks);
  }
  size_t list = OpenList(out, kList, kOdml);
  size_t at = OpenChunk(out, kDmlh);
  PutU32(out, Clamp32(frames));
  out.insert(out.end(), kDmlhSize - 4, 0);
  CloseChunk(out, at);
  CloseChunk(out, list);
}

// RIFF header and hdrl, without the JUNK fill.
Bytes BuildHeaderLists(const HeaderInfo& info) {
  ValidateStreams(info.streams);
  if (info.totals.size() != info.streams.size()) throw AviError("stream totals missing");
  Bytes out;
  PutU32(out, kRiff);
  PutU32(out, Clamp32(info.firstRiffSize >= 8 ? info.firstRiffSize - 8 : 0));
  PutU32(out, kAviType);
  size_t hdrl = OpenList(out, kList, kHdrl);
  PutAvih(out, info);
  for (size_t i = 0; i < info.streams.size(); ++i) PutStrl(out, i, info);
  if (IsOpenDml(info)) PutOdml(out, info);
  CloseChunk(out, hdrl);
  return out;
}

}  // namespace

void PutU16(Bytes& out, uint16_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void PutU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void PutU64(Bytes& out, uint64_t value) {
  PutU32(out, uint32_t(value));
  PutU32(out, uint32_t(value >> 32));
}

uint16_t GetU16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }

uint32_t GetU32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint64_t GetU64(const uint8_t* at) { return GetU32(at) | uint64_t(GetU32(at + 4)) << 32; }

void SetU32(Bytes& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(value >> (8 * i));
}

std::string FourCCText(uint32_t id) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    char c = char(id >> (8 * i));
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

VideoInfo ReadVideoInfo(const StreamFormat& stream) {
  // BITMAPINFOHEADER: biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression.
  if (stream.format.size() < 40) throw AviError("video format shorter than a bitmap header");
  if (stream.avgTimePerFrame <= 0) throw AviError("video stream without a frame time");
  const uint8_t* b = stream.format.data();
  return {int32_t(GetU32(b + 4)), int32_t(GetU32(b + 8)), GetU32(b + 16)};
}

AudioInfo ReadAudioInfo(const StreamFormat& stream) {
  // WAVEFORMAT: wFormatTag, nChannels, nSamplesPerSec, nAvgBytesPerSec, nBlockAlign.
  if (stream.format.size() < 16) throw AviError("audio format shorter than a wave format");
  const uint8_t* b = stream.format.data();
  AudioInfo info{GetU32(b + 8), GetU16(b + 12)};
  if (info.blockAlign == 0 || info.avgBytesPerSec == 0) throw AviError("audio format without a rate");
  return info;
}

void ValidateStreams(const std::vector<StreamFormat>& streams) {
  if (streams.empty() || streams.size() > 100) throw AviError("a file needs 1 to 100 streams");
  for (const auto& s : streams) {
    if (s.format.size() > 0xFFFF) throw AviError("format block too large");
    if (s.kind == StreamKind::Video)
      ReadVideoInfo(s);
    else
      ReadAudioInfo(s);
  }
}

uint32_t ChunkId(size_t streamIndex, const StreamFormat& stream) {
  uint32_t suffix = FourCC("__wb") & 0xFFFF0000u;
  if (stream.kind == StreamKind::Video) {
    uint32_t compression = ReadVideoInfo(stream).compression;
    bool raw = compression == kBiRgb || compression == kBiBitfields;
    suffix = FourCC(raw ? "__db" : "__dc") & 0xFFFF0000u;
  }
  return TwoDigits(streamIndex) | suffix;
}

uint32_t StdIndexId(size_t streamIndex) { return (FourCC("ix__") & 0xFFFFu) | TwoDigits(streamIndex) << 16; }

bool IsStreamChunk(uint32_t id, size_t streamIndex, const StreamFormat& stream) {
  if (id == ChunkId(streamIndex, stream)) return true;
  if (stream.kind != StreamKind::Video) return false;
  uint32_t digits = TwoDigits(streamIndex);
  return id == (digits | (FourCC("__db") & 0xFFFF0000u)) || id == (digits | (FourCC("__dc") & 0xFFFF0000u));
}

uint64_t StreamUnits(const StreamFormat& stream, uint64_t chunks, uint64_t bytes) {
  if (stream.kind == StreamKind::Video) return chunks;
  return bytes / ReadAudioInfo(stream).blockAlign;
}

uint64_t IndexedOffset(const ChunkEntry& entry) {
  return entry.standIn && entry.shows ? entry.shows : entry.offset;
}

uint32_t IndexedSize(const ChunkEntry& entry) {
  if (!entry.standIn) return entry.size;
  return entry.shows ? entry.showsSize : 0;
}

uint64_t ChunkSpan(uint64_t payloadSize) { return kChunkHeader + payloadSize + (payloadSize & 1); }

uint64_t HeaderBytesNeeded(const HeaderInfo& info) { return BuildHeaderLists(info).size(); }

Bytes BuildHeader(const HeaderInfo& info) {
  Bytes out = BuildHeaderLists(info);
  if (out.size() == info.headerSize) return out;
  if (out.size() + kChunkHeader > info.headerSize) throw AviError("headers do not fit the header area");
  size_t junk = OpenChunk(out, kJunk);
  out.resize(info.headerSize, 0);
  SetU32(out, junk, uint32_t(info.headerSize - junk - 4));
  return out;
}

Bytes BuildIdx1(const std::vector<ChunkEntry>& entries, const std::vector<StreamFormat>& streams,
                uint64_t moviOffset) {
  Bytes out;
  size_t at = OpenChunk(out, kIdx1);
  out.reserve(8 + entries.size() * kIdx1EntrySize);
  uint64_t base = moviOffset + 8;  // the 'movi' type field
  // ffmpeg takes the first entry for the first chunk of the movi list, to tell whether the
  // offsets count from the list or from the file. Stand-ins hide their own chunks, so when
  // the data starts with them the first chunk still there goes first; the stand-ins it
  // passes show that chunk (the first picture) or nothing, so every frame shows the same.
  auto first = std::find_if(entries.begin(), entries.end(), [](const ChunkEntry& e) { return !e.standIn; });
  const ChunkEntry* lead = first != entries.end() ? &*first : nullptr;
  std::vector<const ChunkEntry*> order;
  if (lead) order.push_back(lead);
  for (const auto& e : entries) {
    if (&e != lead) order.push_back(&e);
  }
  for (const ChunkEntry* entry : order) {
    const ChunkEntry& e = *entry;
    uint64_t offset = IndexedOffset(e);
    if (offset < base || offset - base > 0xFFFFFFFFu) throw AviError("idx1 offset out of range");
    PutU32(out, ChunkId(e.stream, streams.at(e.stream)));
    PutU32(out, e.key ? kAviIfKeyFrame : 0);
    PutU32(out, uint32_t(offset - base));
    PutU32(out, IndexedSize(e));
  }
  CloseChunk(out, at);
  return out;
}

uint32_t StdIndexSize(uint64_t entries) { return Clamp32(kStdIndexHeader + entries * kStdIndexEntrySize); }

Bytes BuildStdIndex(size_t streamIndex, const std::vector<ChunkEntry>& segmentEntries,
                    const std::vector<StreamFormat>& streams) {
  std::vector<const ChunkEntry*> mine;
  for (const auto& e : segmentEntries) {
    if (e.stream == streamIndex) mine.push_back(&e);
  }
  // Offsets in the entries point at the payload, relative to one 64-bit base.
  uint64_t base = 0;
  for (const ChunkEntry* e : mine) {
    if (e == mine.front() || IndexedOffset(*e) + kChunkHeader < base) base = IndexedOffset(*e) + kChunkHeader;
  }
  Bytes out;
  size_t at = OpenChunk(out, StdIndexId(streamIndex));
  PutU16(out, 2);    // longs per entry
  out.push_back(0);  // sub type
  out.push_back(kIndexOfChunks);
  PutU32(out, uint32_t(mine.size()));
  PutU32(out, ChunkId(streamIndex, streams.at(streamIndex)));
  PutU64(out, base);
  PutU32(out, 0);
  for (const ChunkEntry* e : mine) {
    uint64_t relative = IndexedOffset(*e) + kChunkHeader - base;
    if (relative > 0xFFFFFFFFu) throw AviError("ix## offset out of range");
    if (e->size & kNotKeyFrameBit) throw AviError("chunk too large for an ix## entry");
    PutU32(out, uint32_t(relative));
    PutU32(out, IndexedSize(*e) | (e->key ? 0 : kNotKeyFrameBit));
  }
  CloseChunk(out, at);
  return out;
}

}  // namespace zelvio::avi
