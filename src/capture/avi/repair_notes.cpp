#include "capture/avi/repair_notes.h"

#include "capture/media/media_guids.h"

namespace zelvio::avi {
namespace {

constexpr size_t kVideoInfoBitmapAt = 48;
constexpr size_t kVideoInfo2BitmapAt = 72;
constexpr size_t kAvgTimePerFrameAt = 40;  // the same in both video headers

StreamFormat VideoStream(const NotesMediaType& input, size_t bitmapAt, int64_t fallbackTime) {
  if (input.format.size() < bitmapAt + 40) throw AviError("video format block too short");
  StreamFormat stream{StreamKind::Video, Bytes(input.format.begin() + bitmapAt, input.format.end()), 0};
  int64_t own = int64_t(GetU64(input.format.data() + kAvgTimePerFrameAt));
  stream.avgTimePerFrame = own > 0 && own <= kNotesMaxAvgTimePerFrame ? own : fallbackTime;
  return stream;
}

}  // namespace

std::vector<StreamFormat> NotesStreams(const RecoveryNotes& notes) {
  std::vector<StreamFormat> streams;
  for (const auto& in : notes.inputs) {
    if (in.majorType == kMediaTypeVideo && in.formatType == kFormatVideoInfo) {
      streams.push_back(VideoStream(in, kVideoInfoBitmapAt, notes.avgTimePerFrame));
    } else if (in.majorType == kMediaTypeVideo && in.formatType == kFormatVideoInfo2) {
      streams.push_back(VideoStream(in, kVideoInfo2BitmapAt, notes.avgTimePerFrame));
    } else if (in.majorType == kMediaTypeAudio && in.formatType == kFormatWaveFormatEx) {
      streams.push_back({StreamKind::Audio, in.format, 0});
    } else {
      throw AviError("an input the AVI layout cannot carry");
    }
  }
  ValidateStreams(streams);
  return streams;
}

}  // namespace zelvio::avi
