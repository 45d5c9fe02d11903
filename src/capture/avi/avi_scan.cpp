#include "capture/avi/avi_scan.h"

#include <algorithm>
#include <cstring>

#include "capture/avi/avi_window.h"

namespace zelvio::avi {
namespace {

// A pattern of the start of an AVIX segment; zero marks the size fields, which may hold anything.
constexpr uint32_t kSegmentStart[6] = {kRiff, 0, kAvixType, kList, 0, kMovi};
constexpr uint64_t kSegmentStartBytes = 24;

// How many of the `count` bytes at `at` are zeros before the first that is not.
size_t ZerosAt(const uint8_t* at, size_t count) {
  size_t n = 0;
  for (uint64_t word = 0; n + sizeof word <= count; n += sizeof word) {
    std::memcpy(&word, at + n, sizeof word);
    if (word != 0) break;
  }
  while (n < count && at[n] == 0) ++n;
  return n;
}

// True when one of the eight bytes at `at` is a 'd' or a 'w', the third letter of every
// stream chunk id: the search after damage skips eight bytes at a time without one.
bool HoldsDOrW(const uint8_t* at) {
  uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  auto holdsZero = [](uint64_t v) { return ((v - 0x0101010101010101u) & ~v & 0x8080808080808080u) != 0; };
  return holdsZero(word ^ 0x6464646464646464u) || holdsZero(word ^ 0x7777777777777777u);
}

class Scanner {
 public:
  Scanner(AviFile& file, const std::vector<StreamFormat>& streams)
      : file_(file), streams_(streams), size_(file_.Size()) {}

  AviScan Run() {
    FindMovi();
    WalkSegments();
    CheckEmptyTail();
    return scan_;
  }

 private:
  uint32_t U32(uint64_t offset) { return file_.U32(offset); }

  void FindMovi() {
    static_assert(kMaxHeaderScan <= kScanWindow, "the header area is read in one window");
    size_t count = 0;
    const uint8_t* start = file_.Stream(0, count);
    const Bytes head(start, start + std::min<uint64_t>(count, kMaxHeaderScan));
    bool riff = head.size() >= 12 && GetU32(head.data()) == kRiff && GetU32(head.data() + 8) == kAviType;
    if (riff && head.size() >= 24 && GetU32(&head[12]) == kList && GetU32(&head[20]) == kHdrl) {
      ReadOwnHeader(head);
      return;
    }
    // Unused header area: zeros, perhaps after a bare RIFF header a mux wrote up front.
    auto first = std::find_if(head.begin() + (riff ? 12 : 0), head.end(), [](uint8_t b) { return b != 0; });
    if (first == head.end()) throw NothingRecordedError("the file holds no recorded data");
    uint64_t at = uint64_t(first - head.begin());
    // RIFF chunks start on even offsets; an odd one is not a list a mux wrote.
    bool even = at % 2 == 0;
    if (even && at + 12 <= head.size() && GetU32(&head[at]) == kList && GetU32(&head[at + 8]) == kMovi) {
      scan_.moviOffset = at;
    } else if (even && at >= (riff ? 24 : 12) && StartsWholeStreamChunk(head, at)) {
      // The platform's mux writes the movi list header only at stop, like the rest of the
      // header: its chunks begin right where that header would end, inside the zeros.
      scan_.moviOffset = at - kListHeader;
      scan_.moviListWritten = false;
    } else {
      throw RepairRefusedError("the start of the file is not an unfinished recording");
    }
  }

  // A chunk of one of the notes' streams that ends inside the file; the walk judges its
  // size against the format. Nothing but a list header marks where such data starts, so a
  // first chunk that is torn already is no proof of a recording (and would keep nothing).
  bool StartsWholeStreamChunk(const Bytes& head, uint64_t at) {
    if (at + kChunkHeader > head.size()) return false;
    uint32_t id = GetU32(&head[at]);
    if (at + ChunkSpan(GetU32(&head[at + 4])) > size_) return false;
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (IsStreamChunk(id, s, streams_[s])) return true;
    }
    return false;
  }

  // A header we (or the mux) wrote: its stream formats must be the notes'.
  void ReadOwnHeader(const Bytes& head) {
    uint64_t pos = 12;
    bool formatsChecked = false;
    while (pos + 12 <= head.size()) {
      uint32_t id = GetU32(&head[pos]), size = GetU32(&head[pos + 4]);
      uint32_t type = GetU32(&head[pos + 8]);
      if (id == kList && type == kMovi) {
        if (!formatsChecked) break;
        scan_.ownHeader = true;
        scan_.moviOffset = pos;
        return;
      }
      if (pos + 8 + size > head.size()) break;
      if (id == kList && type == kHdrl) {
        CheckFormats(ReadFormats(head, pos + 12, pos + 8 + size));
        formatsChecked = true;
      } else if (id != kJunk) {
        break;
      }
      pos += ChunkSpan(size);
    }
    throw RepairRefusedError("the file's header is not a recording header");
  }

  std::vector<Bytes> ReadFormats(const Bytes& head, uint64_t pos, uint64_t end) {
    std::vector<Bytes> formats;
    while (pos + 8 <= end) {
      uint32_t id = GetU32(&head[pos]), size = GetU32(&head[pos + 4]);
      if (pos + 8 + size > end) break;
      if (id == kList && size >= 4 && GetU32(&head[pos + 8]) == FourCC("strl")) {
        formats.push_back(StrfOf(head, pos + 12, pos + 8 + size));
      }
      pos += ChunkSpan(size);
    }
    return formats;
  }

  Bytes StrfOf(const Bytes& head, uint64_t pos, uint64_t end) {
    while (pos + 8 <= end) {
      uint32_t id = GetU32(&head[pos]), size = GetU32(&head[pos + 4]);
      if (pos + 8 + size > end) break;
      if (id == FourCC("strf")) return Bytes(head.begin() + pos + 8, head.begin() + pos + 8 + size);
      pos += ChunkSpan(size);
    }
    return {};
  }

  void CheckFormats(const std::vector<Bytes>& formats) {
    bool same = formats.size() == streams_.size();
    for (size_t i = 0; same && i < formats.size(); ++i) same = formats[i] == streams_[i].format;
    if (!same) throw RepairRefusedError("the file's stream formats differ from the recording's");
  }

  void WalkSegments() {
    uint64_t pos = scan_.moviOffset;
    uint64_t riffStart = 0;
    for (;;) {
      ScannedSegment segment;
      segment.riffStart = riffStart;
      segment.moviStart = pos;
      segment.declaredRiffSize = U32(riffStart + 4);
      segment.dataEnd = pos + kListHeader;
      uint64_t next = WalkMovi(segment);
      scan_.segments.push_back(std::move(segment));
      scan_.end = next;
      if (!scan_.segments.back().closed) return;
      if (scan_.segments.size() == 1 && !SkipIdx1(scan_.segments.back(), next)) return;
      SkipPadding(next);
      scan_.end = next;
      if (!SegmentStartsAt(next)) return;
      riffStart = next;
      pos = next + kListHeader;
    }
  }

  // Trailing segments without a stream chunk are torn tail, which the repair cuts; damage in
  // them that is not zeros may hold chunks the walk could not place.
  void CheckEmptyTail() {
    for (size_t s = scan_.segments.size(); s > 1 && scan_.segments[s - 1].chunks.empty(); --s) {
      for (const DamagedSpan& damaged : scan_.segments[s - 1].damaged) {
        if (FirstNonZero(damaged.offset) >= damaged.offset + damaged.span) continue;
        throw RepairRefusedError("the file holds data in a damaged part at byte " + std::to_string(damaged.offset) +
                                 " that the repair cannot place");
      }
    }
  }

  // Walks one movi list; returns where the walk stopped.
  uint64_t WalkMovi(ScannedSegment& segment) {
    uint64_t declared = U32(segment.moviStart + 4);
    uint64_t end = segment.moviStart + kChunkHeader + declared;
    bool sized = declared >= 4 && end <= size_;
    uint64_t pos = WalkChunks(segment, segment.moviStart + kListHeader, sized ? end : size_);
    segment.closed = sized && pos == end;
    return pos + (pos & 1);
  }

  uint64_t WalkChunks(ScannedSegment& segment, uint64_t pos, uint64_t limit) {
    while (pos + kChunkHeader <= limit) {
      uint32_t id = U32(pos), size = U32(pos + 4);
      uint64_t span = ChunkSpan(size);
      if (TakeChunk(segment, id, pos, size, pos + span <= limit, limit)) {
        pos += span;
        continue;
      }
      // A hole (a page that never reached the disk) or a damaged header: the recording
      // goes on at the next sound chunk, and the damaged bytes stay in the file as padding.
      uint64_t next = FindResync(pos + kChunkHeader, limit);
      if (next == 0) break;
      // Bytes full of ids whose chunks run past the end resync every few bytes: one span
      // covers them all, so their number does not grow with the damage.
      if (!segment.damaged.empty() && segment.damaged.back().offset + segment.damaged.back().span == pos) {
        segment.damaged.back().span = next - segment.damaged.back().offset;
      } else {
        segment.damaged.push_back({pos, next - pos});
      }
      // The damaged bytes stay in the movi list even when only the torn chunk follows them.
      segment.dataEnd = next;
      pos = next;
    }
    // The data ends here. Whatever lies behind it is given up, which is only right for the
    // unwritten space and the one chunk a crash tore; anything else is left as it is.
    if (pos < limit && !OnlyTornTailFrom(pos)) {
      throw RepairRefusedError("the file holds recorded data after a damaged part at byte " + std::to_string(pos) +
                          " that the repair cannot place");
    }
    return pos;
  }

  // Records one chunk; false for a damaged or torn one. Foreign chunks refuse the whole file.
  bool TakeChunk(ScannedSegment& segment, uint32_t id, uint64_t pos, uint32_t size, bool whole,
                 uint64_t limit) {
    if (id == 0) return false;
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (IsStreamChunk(id, s, streams_[s])) {
        if (!whole) return false;
        if (!FitsFormat(s, size)) {
          // Sound chunks on both sides mean the notes describe another recording; a size
          // that leads nowhere is a damaged header.
          if (SoundChunkAt(pos + ChunkSpan(size), limit, true)) {
            throw RepairRefusedError("a chunk at byte " + std::to_string(pos) +
                                " does not fit the recording's format");
          }
          return false;
        }
        segment.chunks.push_back({uint32_t(s), pos, size, true});
        segment.dataEnd = pos + ChunkSpan(size);
        return true;
      }
      if (id == StdIndexId(s)) {
        // A size no real index reaches is a damaged header: the walk goes on from the
        // chunks behind it rather than skip them.
        if (!whole || ChunkSpan(size) > kMaxStdIndexSpan) return false;
        segment.stdIndexes.push_back({uint32_t(s), pos, ChunkSpan(size)});
        return true;
      }
    }
    if (id == kJunk) return whole;
    throw RepairRefusedError("the file holds a chunk '" + FourCCText(id) + "' at byte " + std::to_string(pos) +
                        " that is not part of the recording");
  }

  // Uncompressed frames have one size; audio comes in whole blocks.
  bool FitsFormat(size_t s, uint32_t size) {
    const StreamFormat& stream = streams_[s];
    if (stream.kind == StreamKind::Audio) return size % ReadAudioInfo(stream).blockAlign == 0;
    if (GetU32(stream.format.data() + 16) == 0) return size == 0 || size == RawFrameBytes(stream);
    return true;
  }

  // A whole chunk at `pos` that the walk would take: a stream chunk that fits its format,
  // or (when `padding` is allowed) an index or JUNK chunk.
  bool SoundChunkAt(uint64_t pos, uint64_t limit, bool padding) {
    if (pos % 2 != 0 || pos + kChunkHeader > limit) return false;
    uint32_t id = U32(pos), size = U32(pos + 4);
    if (pos + ChunkSpan(size) > limit) return false;
    if (padding && id == kJunk) return true;
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (IsStreamChunk(id, s, streams_[s])) return FitsFormat(s, size);
      if (padding && id == StdIndexId(s)) return ChunkSpan(size) <= kMaxStdIndexSpan;
    }
    return false;
  }

  // Frames are full of bytes that read like chunk headers, so a place counts as the
  // recording's again only when a few sound chunks follow each other from there, or when
  // they run exactly to the end of the data.
  bool SoundRunAt(uint64_t pos, uint64_t limit) {
    constexpr int kRun = 3;
    // The chunk the crash tore may be all that follows a hole.
    if (limit == size_ && TornStreamChunkAt(pos)) return true;
    for (int n = 0; n < kRun; ++n) {
      if (n > 0 && (pos == limit || (limit == size_ && OnlyTornTailFrom(pos)))) return true;
      if (!SoundChunkAt(pos, limit, n > 0)) return false;
      pos += ChunkSpan(U32(pos + 4));
    }
    return true;
  }

  // The first place after `from` where the recording's chunks go on; 0 when there is none.
  uint64_t FindResync(uint64_t from, uint64_t limit) {
    for (uint64_t at = NextIdEnding(from, limit); at + kChunkHeader <= limit; at = NextIdEnding(at + 2, limit)) {
      if (SoundRunAt(at, limit)) return at;
    }
    return 0;
  }

  // Every stream chunk id ends in "db", "dc" or "wb": a cheap first test, run over the wide
  // window. The first place from `at` on, in steps of two, that passes it; `limit` when none.
  uint64_t NextIdEnding(uint64_t at, uint64_t limit) {
    auto endsId = [](uint8_t c, uint8_t d) { return (c == 'd' && (d == 'b' || d == 'c')) || (c == 'w' && d == 'b'); };
    while (at + kChunkHeader <= limit) {
      size_t count = 0;
      const uint8_t* bytes = file_.Stream(at, count);
      size_t i = 0;
      for (; i + 4 <= count; i += 2) {
        if (at + i + kChunkHeader > limit) return limit;
        if (i + 10 <= count && !HoldsDOrW(bytes + i + 2)) {
          i += 6;  // the places i to i + 6 have no id ending in those eight bytes
          continue;
        }
        if (endsId(bytes[i + 2], bytes[i + 3])) return at + i;
      }
      if (i < count) {  // an id that the window's end splits
        if (at + i + kChunkHeader > limit) return limit;
        uint32_t id = U32(at + i);
        if (endsId(uint8_t(id >> 16), uint8_t(id >> 24))) return at + i;
        i += 2;
      }
      at += i;
    }
    return limit;
  }

  // The first byte from `pos` on that is not zero; the size of the file when there is none.
  // The search after damage asks this from many places inside one stretch of zeros, so the
  // last stretch is remembered. The bytes near `pos` are looked at first, so an answer close
  // by does not move the wide window away from the stretch being searched.
  uint64_t FirstNonZero(uint64_t pos) {
    if (pos >= zerosFrom_ && pos <= nonZero_) return nonZero_;
    uint64_t at = pos;
    size_t count = 0;
    for (const uint8_t* bytes = file_.Look(at, count); count; bytes = file_.Stream(at, count)) {
      size_t zeros = ZerosAt(bytes, count);
      at += zeros;
      if (zeros != count) break;
    }
    zerosFrom_ = pos;
    nonZero_ = at;
    return at;
  }

  // True when nothing lies from `pos` to the end of the file but zeros and, at most, one
  // chunk that runs past the end (or a header cut short): what a crash leaves behind.
  bool OnlyTornTailFrom(uint64_t pos) {
    uint64_t first = FirstNonZero(pos);
    if (first == size_) return true;
    if (first % 2 != 0) return false;
    if (size_ - first < kChunkHeader) return true;
    uint32_t id = U32(first);
    uint64_t span = ChunkSpan(U32(first + 4));
    if (!KnownId(id)) return false;
    if (first + span > size_) return true;
    // An index header whose size is damaged, with nothing but zeros behind it, holds nothing
    // recorded either.
    bool index = false;
    for (size_t s = 0; s < streams_.size(); ++s) index = index || id == StdIndexId(s);
    return index && span > kMaxStdIndexSpan && FirstNonZero(first + kChunkHeader) == size_;
  }

  static uint64_t RawFrameBytes(const StreamFormat& stream) {
    VideoInfo v = ReadVideoInfo(stream);
    uint64_t bits = GetU16(stream.format.data() + 14);
    uint64_t stride = (uint64_t(std::abs(int64_t(v.width))) * bits + 31) / 32 * 4;
    return stride * uint64_t(std::abs(int64_t(v.height)));
  }

  // Steps over the first segment's idx1; false when it is torn, which ends the walk.
  bool SkipIdx1(ScannedSegment& segment, uint64_t& pos) {
    if (pos + 4 > size_ || U32(pos) != kIdx1) return true;
    uint64_t span = ChunkSpan(U32(pos + 4));
    if (pos + span > size_) return false;
    segment.idx1Offset = pos;
    segment.idx1Span = span;
    pos += span;
    return true;
  }

  // Whole JUNK chunks a mux may leave after a segment's index, to align the next one.
  void SkipPadding(uint64_t& pos) {
    while (pos + kChunkHeader <= size_ && U32(pos) == kJunk && pos + ChunkSpan(U32(pos + 4)) <= size_) {
      pos += ChunkSpan(U32(pos + 4));
    }
  }

  // True for a whole AVIX start. Nothing more (zeros, or a start the crash tore) ends the
  // walk; anything else refuses, as the data behind it would otherwise be cut off.
  bool SegmentStartsAt(uint64_t pos) {
    Bytes bytes(kSegmentStartBytes);
    bytes.resize(file_.Copy(pos, bytes.data(), bytes.size()));
    bool matches = true;
    for (size_t at = 0; at < bytes.size(); ++at) {
      uint32_t word = kSegmentStart[at / 4];
      if (word != 0 && bytes[at] != uint8_t(word >> (8 * (at % 4)))) matches = false;
    }
    if (matches && bytes.size() == kSegmentStartBytes) return true;
    // A start cut short by the end of the file is the torn tail.
    if (matches || OnlyTornTailFrom(pos)) return false;
    throw RepairRefusedError("the file holds data after byte " + std::to_string(pos) +
                        " that is not part of the recording");
  }

  bool TornStreamChunkAt(uint64_t pos) {
    if (pos + kChunkHeader > size_ || pos + ChunkSpan(U32(pos + 4)) <= size_) return false;
    uint32_t id = U32(pos);
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (IsStreamChunk(id, s, streams_[s])) return true;
    }
    return false;
  }

  bool KnownId(uint32_t id) {
    if (id == kJunk || id == kIdx1 || id == kRiff || id == kList) return true;
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (IsStreamChunk(id, s, streams_[s]) || id == StdIndexId(s)) return true;
    }
    return false;
  }

  FileWindows file_;
  const std::vector<StreamFormat>& streams_;
  uint64_t size_;
  AviScan scan_;
  uint64_t zerosFrom_ = 1, nonZero_ = 0;  // [zerosFrom_, nonZero_) holds zeros only
};

}  // namespace

AviScan ScanAvi(AviFile& file, const std::vector<StreamFormat>& streams) {
  return Scanner(file, streams).Run();
}

bool ApplyStdIndexes(AviFile& file, ScannedSegment& segment) {
  // Flags are taken only when every index checks out, so a bad one changes nothing.
  std::vector<ChunkEntry> chunks = segment.chunks;
  for (const FoundIndex& found : segment.stdIndexes) {
    if (found.span < kStdIndexHeader) return false;
    Bytes index(kStdIndexHeader);
    file.ReadAt(found.offset, index.data(), index.size());
    uint32_t entries = GetU32(&index[12]);
    uint64_t base = GetU64(&index[20]);
    if (GetU16(&index[8]) != 2 || index[11] != 1) return false;
    // It must list exactly the stream's chunks, so no more entries than those are read,
    // whatever its size says.
    auto listed = std::count_if(chunks.begin(), chunks.end(),
                                [&](const ChunkEntry& chunk) { return chunk.stream == found.stream; });
    if (uint64_t(entries) != uint64_t(listed)) return false;
    if (kStdIndexHeader + uint64_t(entries) * kStdIndexEntrySize > found.span) return false;
    index.resize(kStdIndexHeader + size_t(entries) * kStdIndexEntrySize);
    file.ReadAt(found.offset + kStdIndexHeader, index.data() + kStdIndexHeader, index.size() - kStdIndexHeader);
    size_t e = 0;
    for (ChunkEntry& chunk : chunks) {
      if (chunk.stream != found.stream) continue;
      const uint8_t* entry = &index[kStdIndexHeader + e * kStdIndexEntrySize];
      uint32_t sizeField = GetU32(entry + 4);
      if (base + GetU32(entry) != chunk.offset + kChunkHeader || (sizeField & 0x7FFFFFFFu) != chunk.size)
        return false;
      chunk.key = (sizeField & 0x80000000u) == 0;
      ++e;
    }
  }
  segment.chunks = std::move(chunks);
  return true;
}

}  // namespace zelvio::avi
