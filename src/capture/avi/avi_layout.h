// The RIFF/AVI file layout: chunk identifiers, the header area (RIFF, hdrl with avih and one
// strl per stream), the legacy idx1 index and the OpenDML indexes (indx super indexes, ix##
// standard indexes, odml/dmlh). Pure byte building: the writer that streams a recording and
// the repair of unfinished files both lay files out through these functions, so a repaired
// file looks exactly like one that was finished normally.
//
// Every file has the same shape:
//   [0, moviOffset)     header area: RIFF 'AVI ' + LIST 'hdrl' + JUNK up to moviOffset
//                       (all zeros while recording; filled at the end)
//   moviOffset          LIST 'movi' with the stream chunks ('00db'/'00dc', '01wb', ...)
//   after movi          idx1 (only in the first RIFF)
//   then, past 1 GB     RIFF 'AVIX' + LIST 'movi' segments, each below 1 GB
// When there is more than one segment, each segment's movi ends with one 'ix##' for every
// stream that has chunks in it, every strl carries an 'indx' pointing at them, and hdrl
// also carries LIST 'odml' with the total frame count.
#pragma once

#include <cstddef>
#include <cstdint>
#include "common/errors.h"
#include <string>
#include <vector>

namespace zelvio::avi {

// A layout rule was broken (bad format block, a chunk too large, no room for the header).
struct AviError : ZelvioError {
  using ZelvioError::ZelvioError;
};

using Bytes = std::vector<uint8_t>;

constexpr uint32_t FourCC(const char (&text)[5]) {
  return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
         uint32_t(uint8_t(text[3])) << 24;
}

constexpr uint32_t kRiff = FourCC("RIFF");
constexpr uint32_t kList = FourCC("LIST");
constexpr uint32_t kAviType = FourCC("AVI ");
constexpr uint32_t kAvixType = FourCC("AVIX");
constexpr uint32_t kHdrl = FourCC("hdrl");
constexpr uint32_t kMovi = FourCC("movi");
constexpr uint32_t kIdx1 = FourCC("idx1");
constexpr uint32_t kJunk = FourCC("JUNK");

// The fixed header area reserved at the start of every file we write. 64 KiB holds the
// headers of two streams with room for about 2000 index segments each (some 2 TB).
constexpr uint64_t kHeaderReserve = 65536;
// No RIFF segment (indexes included) is larger than this, as OpenDML readers expect.
constexpr uint64_t kSegmentLimit = uint64_t(1) << 30;
// RIFF chunk header: id + size.
constexpr uint64_t kChunkHeader = 8;
// LIST/RIFF header: id + size + type.
constexpr uint64_t kListHeader = 12;
constexpr uint32_t kIdx1EntrySize = 16;
constexpr uint32_t kStdIndexHeader = 32;  // 'ix##' chunk header and fields before the entries
constexpr uint32_t kStdIndexEntrySize = 8;
constexpr uint32_t kAvgTimeUnitsPerSecond = 10000000;  // 100 ns units

enum class StreamKind { Video, Audio };

// One stream as the mux receives it: for video the BITMAPINFOHEADER bytes of the connected
// VIDEOINFOHEADER and its AvgTimePerFrame (100 ns); for audio the WAVEFORMATEX bytes.
struct StreamFormat {
  StreamKind kind = StreamKind::Video;
  Bytes format;
  int64_t avgTimePerFrame = 0;
};

// Numbers read out of a format block. Throws AviError when the block is too short or
// its rates cannot time a stream (zero frame time, zero block align).
struct VideoInfo {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t compression = 0;
};
struct AudioInfo {
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
};
VideoInfo ReadVideoInfo(const StreamFormat& stream);
AudioInfo ReadAudioInfo(const StreamFormat& stream);
// Checks every stream (at least one, at most 100, so two-digit ids suffice).
void ValidateStreams(const std::vector<StreamFormat>& streams);

// '00db' for uncompressed video, '00dc' for compressed video, '01wb' for audio.
uint32_t ChunkId(size_t streamIndex, const StreamFormat& stream);
// 'ix00', 'ix01', ...
uint32_t StdIndexId(size_t streamIndex);
// Both video spellings for a stream, so files of other muxes are recognised too.
bool IsStreamChunk(uint32_t id, size_t streamIndex, const StreamFormat& stream);

// Units of a stream's time line: frames for video, blocks for audio.
uint64_t StreamUnits(const StreamFormat& stream, uint64_t chunks, uint64_t bytes);

// One chunk of the movi data. `offset` is the file offset of its 8-byte header.
struct ChunkEntry {
  uint32_t stream = 0;
  uint64_t offset = 0;
  uint32_t size = 0;  // payload bytes, without header and pad byte
  bool key = true;
  // A frame that cannot be shown (its picture depends on data that is lost): its chunk is
  // not indexed, but an entry stands in for it, so every later frame keeps its time. The
  // entry names another chunk to show instead (`shows`, `showsSize`; `key` is that chunk's
  // flag), or none (`shows` 0): no data, the picture before it stays.
  bool standIn = false;
  uint64_t shows = 0;
  uint32_t showsSize = 0;
};

// Where an index entry points and how many bytes it names: a stand-in's own.
uint64_t IndexedOffset(const ChunkEntry& entry);
uint32_t IndexedSize(const ChunkEntry& entry);

// Payload padded to an even size, plus the chunk header.
uint64_t ChunkSpan(uint64_t payloadSize);

// One entry of an 'indx' super index: where a segment's 'ix##' lies and what it covers.
struct SuperIndexEntry {
  uint64_t offset = 0;    // file offset of the ix## chunk
  uint32_t size = 0;      // whole chunk, header included
  uint32_t duration = 0;  // stream units covered
};

// Totals the headers need, per stream.
struct StreamTotals {
  uint64_t chunks = 0;
  uint64_t bytes = 0;
  uint32_t largestChunk = 0;
  uint64_t standIns = 0;                    // of `chunks`: entries standing in for a frame
  std::vector<SuperIndexEntry> superIndex;  // empty for a single-segment file
};

struct HeaderInfo {
  std::vector<StreamFormat> streams;
  std::vector<StreamTotals> totals;      // one per stream
  uint64_t headerSize = kHeaderReserve;  // where LIST 'movi' starts
  uint64_t firstRiffSize = 0;            // end of the first RIFF (its idx1 included), from offset 0
  uint64_t firstRiffVideoFrames = 0;     // video chunks inside the first RIFF
};

// The complete header area, exactly `headerSize` bytes, JUNK filling what is left.
// Throws AviError when the headers do not fit.
Bytes BuildHeader(const HeaderInfo& info);
// Bytes the headers take before the JUNK fill.
uint64_t HeaderBytesNeeded(const HeaderInfo& info);

// The whole 'idx1' chunk; offsets relative to the 'movi' type field at moviOffset + 8.
Bytes BuildIdx1(const std::vector<ChunkEntry>& entries, const std::vector<StreamFormat>& streams,
                uint64_t moviOffset);
// The whole 'ix##' chunk of one stream over the entries of one segment (others skipped).
// Throws AviError when an offset does not fit 32 bits above the segment's base.
Bytes BuildStdIndex(size_t streamIndex, const std::vector<ChunkEntry>& segmentEntries,
                    const std::vector<StreamFormat>& streams);
uint32_t StdIndexSize(uint64_t entries);

// Little-endian helpers shared by the writer, the repair and their tests.
void PutU16(Bytes& out, uint16_t value);
void PutU32(Bytes& out, uint32_t value);
void PutU64(Bytes& out, uint64_t value);
uint16_t GetU16(const uint8_t* at);
uint32_t GetU32(const uint8_t* at);
uint64_t GetU64(const uint8_t* at);
// Overwrites four bytes at `at` (sizes are patched once known).
void SetU32(Bytes& out, size_t at, uint32_t value);
std::string FourCCText(uint32_t id);

}  // namespace zelvio::avi
