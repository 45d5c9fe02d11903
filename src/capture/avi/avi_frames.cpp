#include "capture/avi/avi_frames.h"

namespace zelvio::avi {
namespace {

constexpr uint32_t kZmbv = FourCC("ZMBV");
constexpr uint8_t kZmbvKeyFrame = 1;

// True when one of the segment's damaged spans lies between `from` and the chunk at `to`.
bool DamageBetween(const ScannedSegment& segment, uint64_t from, uint64_t to) {
  for (const DamagedSpan& damaged : segment.damaged) {
    if (damaged.offset >= from && damaged.offset < to) return true;
  }
  return false;
}

// Frames before the first picture that can be decoded show that picture, the empty ones (which
// repeat a picture there is not yet) too: with an empty entry there, a player has no key frame
// at the start of the stream, and ffmpeg, asked to seek before the first picture, starts past
// it on frames it cannot decode, or finds no key frame at all.
void ShowFirstPicture(std::vector<ChunkEntry*>& waiting, const ChunkEntry& key) {
  for (ChunkEntry* before : waiting) {
    before->standIn = true;
    before->shows = key.offset;
    before->showsSize = key.size;
    before->key = true;
  }
  waiting.clear();
}

void MarkStream(AviFile& file, AviScan& scan, uint32_t stream) {
  bool decodable = false;  // a key frame and every packet since are in the file
  bool pictureSeen = false;
  std::vector<ChunkEntry*> beforeFirstPicture;
  for (size_t s = 0; s < scan.segments.size(); ++s) {
    ScannedSegment& segment = scan.segments[s];
    const bool rebuilt = s + 1 == scan.segments.size();
    uint64_t after = segment.moviStart;
    for (ChunkEntry& chunk : segment.chunks) {
      if (chunk.stream != stream) continue;
      if (DamageBetween(segment, after, chunk.offset)) decodable = false;
      after = chunk.offset;
      // An empty frame repeats the picture before it: nothing to decode, nothing to seek to.
      bool key = false;
      if (chunk.size > 0) {
        uint8_t flags = 0;
        file.ReadAt(chunk.offset + kChunkHeader, &flags, 1);
        key = (flags & kZmbvKeyFrame) != 0;
        if (key) decodable = true;
      }
      if (rebuilt) {
        chunk.key = key;
        chunk.standIn = chunk.size > 0 && !decodable;
        if (!pictureSeen && !key) beforeFirstPicture.push_back(&chunk);
        if (key && !pictureSeen) ShowFirstPicture(beforeFirstPicture, chunk);
      }
      pictureSeen = pictureSeen || key;
    }
  }
}

}  // namespace

bool FramesTellKeys(const StreamFormat& stream) {
  return stream.kind == StreamKind::Video && ReadVideoInfo(stream).compression == kZmbv;
}

void MarkDecodableFrames(AviFile& file, AviScan& scan, const std::vector<StreamFormat>& streams) {
  for (size_t s = 0; s < streams.size(); ++s) {
    if (FramesTellKeys(streams[s])) MarkStream(file, scan, uint32_t(s));
  }
}

}  // namespace zelvio::avi
