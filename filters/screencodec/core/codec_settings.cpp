#include "screencodec/core/codec_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace zelvio::screencodec {

namespace {

std::string Trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && !b[i];
}

void Apply(CodecSettings& settings, const std::string& key, const std::string& value) {
  if (EqualsIgnoringCase(key, "KeyFrameSeconds")) {
    int seconds = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error == std::errc() && end == value.data() + value.size() &&
        seconds >= CodecSettings::kMinKeyFrameSeconds && seconds <= CodecSettings::kMaxKeyFrameSeconds) {
      settings.keyFrameSeconds = seconds;
    }
  } else if (EqualsIgnoringCase(key, "Effort")) {
    if (EqualsIgnoringCase(value, "Faster")) settings.effort = Effort::Faster;
    if (EqualsIgnoringCase(value, "Smaller")) settings.effort = Effort::Smaller;
  }
}

}  // namespace

CodecSettings ParseCodecSettings(const std::string& text) {
  CodecSettings settings;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    Apply(settings, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
  }
  return settings;
}

std::string FormatCodecSettings(const CodecSettings& settings) {
  std::string text = "[ScreenCodec]\r\n";
  text += "KeyFrameSeconds=" + std::to_string(settings.keyFrameSeconds) + "\r\n";
  text += std::string("Effort=") + (settings.effort == Effort::Smaller ? "Smaller" : "Faster") + "\r\n";
  return text;
}

int KeyFrameIntervalFrames(const CodecSettings& settings, int64_t avgTimePerFrame) {
  constexpr int64_t kSecond = 10'000'000;
  if (avgTimePerFrame <= 0) avgTimePerFrame = kSecond / 25;
  int64_t frames = (settings.keyFrameSeconds * kSecond + avgTimePerFrame / 2) / avgTimePerFrame;
  return static_cast<int>(std::clamp<int64_t>(frames, 1, 1'000'000));
}

}  // namespace zelvio::screencodec
