// Feeds arbitrary text to the screen codec's settings reader. A damaged or hand-edited
// ScreenCodec.ini must never crash the codec nor give it a value outside its limits, and
// what the codec writes must read back to the very same settings and text.
//
// Input: the settings text; its first eight bytes also serve as a frame duration for the
// key-frame interval.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "screencodec/core/codec_settings.h"

namespace {

using zelvio::screencodec::CodecSettings;
using zelvio::screencodec::Effort;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Same(const CodecSettings& a, const CodecSettings& b) {
  return a.keyFrameSeconds == b.keyFrameSeconds && a.effort == b.effort;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const CodecSettings settings = zelvio::screencodec::ParseCodecSettings(text);
  Require(settings.keyFrameSeconds >= CodecSettings::kMinKeyFrameSeconds &&
          settings.keyFrameSeconds <= CodecSettings::kMaxKeyFrameSeconds);
  Require(settings.effort == Effort::Faster || settings.effort == Effort::Smaller);

  const std::string written = zelvio::screencodec::FormatCodecSettings(settings);
  const CodecSettings reread = zelvio::screencodec::ParseCodecSettings(written);
  Require(Same(reread, settings));
  Require(zelvio::screencodec::FormatCodecSettings(reread) == written);

  int64_t frameTime = 0;
  std::memcpy(&frameTime, data, std::min(size, sizeof frameTime));
  int frames = zelvio::screencodec::KeyFrameIntervalFrames(settings, frameTime);
  Require(frames >= 1 && frames <= 1'000'000);
  return 0;
}
