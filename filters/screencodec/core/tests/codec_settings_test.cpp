#include "screencodec/core/codec_settings.h"

#include <gtest/gtest.h>

namespace zelvio::screencodec {
namespace {

TEST(CodecSettingsFile, WrittenTextReadsBackTheSameSettings) {
  CodecSettings settings;
  settings.keyFrameSeconds = 42;
  settings.effort = Effort::Smaller;
  std::string text = FormatCodecSettings(settings);
  EXPECT_EQ(text, "[ScreenCodec]\r\nKeyFrameSeconds=42\r\nEffort=Smaller\r\n");
  CodecSettings back = ParseCodecSettings(text);
  EXPECT_EQ(back.keyFrameSeconds, 42);
  EXPECT_EQ(back.effort, Effort::Smaller);
}

TEST(CodecSettingsFile, DamagedOrForeignValuesKeepTheDefaults) {
  const CodecSettings defaults;
  for (const char* text : {"", "garbage", "KeyFrameSeconds=0", "KeyFrameSeconds=601", "KeyFrameSeconds=-3",
                           "KeyFrameSeconds=12abc", "KeyFrameSeconds=", "KeyFrameSeconds=99999999999999",
                           "Effort=Slowest", "\xff\xfe\x00"}) {
    CodecSettings read = ParseCodecSettings(text);
    EXPECT_EQ(read.keyFrameSeconds, defaults.keyFrameSeconds) << text;
    EXPECT_EQ(read.effort, defaults.effort) << text;
  }
}

TEST(CodecSettingsFile, ToleratesCaseSpacesAndOtherLines) {
  CodecSettings read =
      ParseCodecSettings("; kept by hand\n[ScreenCodec]\n  keyframeseconds = 1 \nEFFORT= smaller\nOther=3\n");
  EXPECT_EQ(read.keyFrameSeconds, 1);
  EXPECT_EQ(read.effort, Effort::Smaller);
  EXPECT_EQ(ParseCodecSettings("KeyFrameSeconds=600").keyFrameSeconds, 600);
}

TEST(KeyFrameInterval, FollowsTheFrameRate) {
  CodecSettings settings;
  settings.keyFrameSeconds = 5;
  EXPECT_EQ(KeyFrameIntervalFrames(settings, 400000), 125);  // 25 fps
  EXPECT_EQ(KeyFrameIntervalFrames(settings, 333333), 150);  // 30 fps, rounded
  EXPECT_EQ(KeyFrameIntervalFrames(settings, 0), 125);       // unknown: 25 fps
  settings.keyFrameSeconds = 1;
  EXPECT_EQ(KeyFrameIntervalFrames(settings, 20'000'000), 1);  // one frame every 2 s: every frame key
}

}  // namespace
}  // namespace zelvio::screencodec
