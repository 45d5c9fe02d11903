// The screen codec's own settings and their small text file. The codec is loaded from the
// program's folder without registration, so it keeps its settings in a file beside its
// module rather than in the registry, and settings.ini keeps its keys.
#pragma once

#include <cstdint>
#include <string>

#include "screencodec/core/zmbv_encoder.h"

namespace zelvio::screencodec {

struct CodecSettings {
  // A key frame every this many seconds: the longest stretch a seek has to decode, and the
  // most a damaged file can lose after a bad spot.
  int keyFrameSeconds = 5;
  Effort effort = Effort::Faster;

  static constexpr int kMinKeyFrameSeconds = 1;
  static constexpr int kMaxKeyFrameSeconds = 600;
};

// Reads what it recognises and keeps the defaults for anything missing, out of range or not
// understood, so a damaged or older file never stops the codec.
CodecSettings ParseCodecSettings(const std::string& text);
std::string FormatCodecSettings(const CodecSettings& settings);

// Frames between key frames for a frame duration in 100-ns units: at least 1, rounded to
// the nearest frame; an unknown duration counts as 25 frames a second.
int KeyFrameIntervalFrames(const CodecSettings& settings, int64_t avgTimePerFrame);

// The name of the settings file, beside the codec's module.
constexpr const wchar_t* kCodecSettingsFileName = L"ScreenCodec.ini";

}  // namespace zelvio::screencodec
