#include "capture/media/media_type_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zelvio {
namespace {

// The identifiers as uuids.h has them, written out here so that a wrong value in the
// program's own table of them shows as a wrong name.
constexpr Guid kAudio = GuidLiteral("{73647561-0000-0010-8000-00AA00389B71}");
constexpr Guid kVideo = GuidLiteral("{73646976-0000-0010-8000-00AA00389B71}");
constexpr Guid kPcm = GuidLiteral("{00000001-0000-0010-8000-00AA00389B71}");
constexpr Guid kRgb24 = GuidLiteral("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
constexpr Guid kWaveFormatEx = GuidLiteral("{05589F81-C356-11CE-BF01-00AA0055595A}");
constexpr Guid kVideoInfo = GuidLiteral("{05589F80-C356-11CE-BF01-00AA0055595A}");
constexpr Guid kVideoInfo2 = GuidLiteral("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
constexpr Guid kMpeg2Video = GuidLiteral("{E06D80E3-DB46-11CF-B4D1-00805F6CBBEA}");
constexpr Guid kDvInfo = GuidLiteral("{05589F84-C356-11CE-BF01-00AA0055595A}");
constexpr Guid kUnlisted = GuidLiteral("{12345678-9ABC-DEF0-1234-56789ABCDEF0}");

class Block {
 public:
  Block& U16(uint16_t v) { return Put(v, 2); }
  Block& U32(uint32_t v) { return Put(v, 4); }
  Block& Zeros(size_t n) {
    bytes_.insert(bytes_.end(), n, 0);
    return *this;
  }
  ByteSpan Span() const { return {bytes_.data(), bytes_.size()}; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  Block& Put(uint32_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> bytes_;
};

// WAVEFORMATEX (18 bytes).
Block Wave(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Block b;
  b.U16(tag)
      .U16(channels)
      .U32(rate)
      .U32(rate * channels * bits / 8)
      .U16(channels * bits / 8)
      .U16(bits)
      .U16(0);
  return b;
}

// A BITMAPINFOHEADER preceded by `at` bytes of rectangles and rates.
Block Video(size_t at, uint32_t compression, int32_t width, int32_t height, uint16_t bits) {
  Block b;
  b.Zeros(at).U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height)).U16(1).U16(bits);
  b.U32(compression).Zeros(20);
  return b;
}

std::string Describe(const Guid& major, const Guid& sub, const Guid& format, ByteSpan block) {
  return DescribeMediaType({major, sub, format, block});
}

TEST(DescribeMediaType, AudioFormatLines) {
  Block pcm = Wave(1, 2, 44100, 16);
  EXPECT_EQ(Describe(kAudio, kPcm, kWaveFormatEx, pcm.Span()),
            "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 44100 Hertz, 16 Bits, 2 Channels");

  // Unlisted subtype: its name keeps the trailing blank, so two blanks precede "Format".
  EXPECT_EQ(
      Describe(kAudio, kUnlisted, kWaveFormatEx, Wave(1, 1, 8000, 8).Span()),
      "Major Type: Audio - Sub Type: UnKnown  Format: WaveFormatEx: PCM, 8000 Hertz, 8 Bits, 1 Channels");
  EXPECT_EQ(Describe(kUnlisted, kPcm, kUnlisted, pcm.Span()),
            "Major Type: UnKnown  - Sub Type: PCM Format: Unknown");

  // No block: no size, or no pointer, means no detail.
  EXPECT_EQ(Describe(kAudio, kPcm, kWaveFormatEx, {}),
            "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: ");
  EXPECT_EQ(Describe(kAudio, kPcm, kWaveFormatEx, {pcm.Bytes().data(), 0}),
            "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: ");
  EXPECT_EQ(Describe(kAudio, kPcm, kWaveFormatEx, {nullptr, 18}),
            "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: ");
}

TEST(DescribeMediaType, WaveTagNames) {
  EXPECT_EQ(WaveFormatTagName(98), "VOXWARE");
  EXPECT_EQ(WaveFormatTagName(117), "VOXWARE");
  EXPECT_EQ(WaveFormatTagName(85), "MPEGLAYER3");
  EXPECT_EQ(WaveFormatTagName(5120), "NORRIS");
  EXPECT_EQ(WaveFormatTagName(4), "Unknown");
  EXPECT_EQ(WaveFormatTagName(0xFFFE), "Unknown");
  // The tag's name leads the audio detail; an unknown tag reads "Unknown" there.
  EXPECT_EQ(
      Describe(kAudio, kPcm, kWaveFormatEx, Wave(0xFFFE, 6, 48000, 24).Span()),
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: Unknown, 48000 Hertz, 24 Bits, 6 Channels");
}

TEST(DescribeMediaType, VideoFormatLines) {
  Block rgb = Video(48, 0, 864, 480, 24);
  EXPECT_EQ(Describe(kVideo, kRgb24, kVideoInfo, rgb.Span()),
            "Major Type: Video - Sub Type: RGB24 Format: VideoInfo RGB 864X480, 24 bits");

  // A top-down bitmap has a negative height and shows it.
  EXPECT_EQ(Describe(kVideo, kRgb24, kVideoInfo, Video(48, 0, 640, -480, 32).Span()),
            "Major Type: Video - Sub Type: RGB24 Format: VideoInfo RGB 640X-480, 32 bits");

  // VideoInfo2 and MPEG-2 video carry the header further in, at byte 72.
  uint32_t yuy2 = 'Y' | 'U' << 8 | 'Y' << 16 | '2' << 24;
  EXPECT_EQ(Describe(kVideo, kUnlisted, kVideoInfo2, Video(72, yuy2, 320, 240, 16).Span()),
            "Major Type: Video - Sub Type: UnKnown  Format: VideoInfo2 YUY2 320X240, 16 bits");
  EXPECT_EQ(Describe(kVideo, kUnlisted, kMpeg2Video, Video(72, 1, 2, 3, 8).Span()),
            "Major Type: Video - Sub Type: UnKnown  Format: MPEGStreams RLE8 2X3, 8 bits");

  // Formats without detail ignore their block.
  EXPECT_EQ(Describe(kVideo, kUnlisted, kDvInfo, rgb.Span()),
            "Major Type: Video - Sub Type: UnKnown  Format: DvInfo");
}

TEST(DescribeMediaType, ShortBlocksReadAsZeroBeyondTheirEnd) {
  // 4 bytes: tag and channels are real; the rate and bits lie past the end.
  Block wave = Wave(1, 2, 44100, 16);
  EXPECT_EQ(Describe(kAudio, kPcm, kWaveFormatEx, {wave.Bytes().data(), 4}),
            "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 0 Hertz, 0 Bits, 2 Channels");
  // One byte of a VideoInfo block: the header at byte 48 is entirely missing.
  EXPECT_EQ(Describe(kVideo, kRgb24, kVideoInfo, {wave.Bytes().data(), 1}),
            "Major Type: Video - Sub Type: RGB24 Format: VideoInfo RGB 0X0, 0 bits");
  // Cut inside the header: width present, height half there.
  Block rgb = Video(48, 0, 0x01020304, 0x7FFF0005, 24);
  EXPECT_EQ(Describe(kVideo, kRgb24, kVideoInfo, {rgb.Bytes().data(), 58}),
            "Major Type: Video - Sub Type: RGB24 Format: VideoInfo RGB 16909060X5, 0 bits");
}

TEST(DescribeMediaType, MajorTypeNames) {
  EXPECT_EQ(MajorTypeName(GuidLiteral("{0482DEE1-7817-11CF-8A03-00AA006ECB65}")), "AnalogAudio");
  EXPECT_EQ(MajorTypeName(GuidLiteral("{0482DDE1-7817-11CF-8A03-00AA006ECB65}")), "Analogvideo");
  EXPECT_EQ(MajorTypeName(GuidLiteral("{E436EB83-524F-11CE-9F53-0020AF0BA770}")), "Stream");
  EXPECT_EQ(MajorTypeName(GuidLiteral("{E06D8020-DB46-11CF-B4D1-00805F6CBBEA}")), "MPEG2_PES");
  EXPECT_EQ(MajorTypeName(GuidLiteral("{736C7275-0000-0010-8000-00AA00389B71}")), "URL_STREAM");
  // Close relatives of listed identifiers stay unknown.
  EXPECT_EQ(MajorTypeName(GuidLiteral("{0482DEE2-7817-11CF-8A03-00AA006ECB65}")), "UnKnown ");
  EXPECT_EQ(MajorTypeName(GuidLiteral("{73646976-0000-0010-8000-00AA00389B72}")), "UnKnown ");
}

TEST(DescribeMediaType, SubTypeFamilies) {
  auto fourCc = [](const char* code) {
    Guid g = GuidLiteral("{00000000-0000-0010-8000-00AA00389B71}");
    g.Data1 = static_cast<uint8_t>(code[0]) | static_cast<uint8_t>(code[1]) << 8 |
              static_cast<uint8_t>(code[2]) << 16 |
              static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
    return g;
  };
  EXPECT_EQ(SubTypeName(fourCc("YUY2")), "YUY2");
  EXPECT_EQ(SubTypeName(fourCc("Plum")), "Plum");
  EXPECT_EQ(SubTypeName(fourCc("DVSD")), "DVSD");
  EXPECT_EQ(SubTypeName(fourCc("dvsd")), "dvsd_");
  EXPECT_EQ(SubTypeName(fourCc("rpza")), "QTRpza");
  EXPECT_EQ(SubTypeName(fourCc("smc ")), "QTSmc");
  EXPECT_EQ(SubTypeName(fourCc("rle ")), "QTRle");
  EXPECT_EQ(SubTypeName(fourCc("jpeg")), "QTJpeg");
  EXPECT_EQ(SubTypeName(fourCc("MP42")), "MS-MPEG4");
  EXPECT_EQ(SubTypeName(fourCc("yuy2")), "UnKnown ");
  EXPECT_EQ(SubTypeName(GuidLiteral("{00000241-0000-0010-8000-00AA00389B71}")), "SPDIF_TAG_241h");
  EXPECT_EQ(SubTypeName(GuidLiteral("{00000002-0000-0010-8000-00AA00389B71}")), "UnKnown ");

  EXPECT_EQ(SubTypeName(GuidLiteral("{E436EB78-524F-11CE-9F53-0020AF0BA770}")), "RGB1");
  EXPECT_EQ(SubTypeName(GuidLiteral("{E436EB8D-524F-11CE-9F53-0020AF0BA770}")), "AIFF");
  EXPECT_EQ(SubTypeName(GuidLiteral("{E436EB82-524F-11CE-9F53-0020AF0BA770}")), "UnKnown ");
  EXPECT_EQ(SubTypeName(GuidLiteral("{773C9AC0-3274-11D0-B724-00AA006C1A01}")), "ARGB32");
  EXPECT_EQ(SubTypeName(GuidLiteral("{3DB80F90-9412-11D1-ADED-0000F8754B99}")), "Asf");
  EXPECT_EQ(SubTypeName(GuidLiteral("{6E8D4A24-310C-11D0-B79A-00AA003767A7}")), "Line21_VBIRawData");
  EXPECT_EQ(SubTypeName(GuidLiteral("{A0AF4F82-E163-11D0-BAD9-00609744111A}")), "DssAudio");
  EXPECT_EQ(SubTypeName(GuidLiteral("{5A9B6A41-1A22-11D1-BAD9-00609744111A}")), "VPVBI");
  EXPECT_EQ(SubTypeName(GuidLiteral("{0482DDEC-7817-11CF-8A03-00AA006ECB65}")), "AnalogVideo_PAL_N_COMBO");
  EXPECT_EQ(SubTypeName(GuidLiteral("{0482DDF6-7817-11CF-8A03-00AA006ECB65}")), "AnalogVideo_SECAM_L");
  EXPECT_EQ(SubTypeName(GuidLiteral("{0482DDE1-7817-11CF-8A03-00AA006ECB65}")), "UnKnown ");
  EXPECT_EQ(SubTypeName(GuidLiteral("{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}")), "MPEG2_VIDEO");
  EXPECT_EQ(SubTypeName(GuidLiteral("{E06D8031-DB46-11CF-B4D1-00805F6CBBEA}")), "PROVIDER");
  // A first field of one family with another family's tail is no match.
  EXPECT_EQ(SubTypeName(GuidLiteral("{E436EB7D-0000-0010-8000-00AA00389B71}")), "UnKnown ");
}

TEST(CompressionName, NamedValuesAndFourCharacterCodes) {
  EXPECT_EQ(CompressionName(0), "RGB");
  EXPECT_EQ(CompressionName(1), "RLE8");
  EXPECT_EQ(CompressionName(2), "RLE4");
  EXPECT_EQ(CompressionName(3), "BITFIELDS");
  EXPECT_EQ(CompressionName('Y' | 'U' << 8 | 'Y' << 16 | '2' << 24), "YUY2");
  EXPECT_EQ(CompressionName('M' | 'J' << 8 | 'P' << 16 | 'G' << 24), "MJPG");
  EXPECT_EQ(CompressionName(4), std::string("\x04\0\0\0", 4));
}

}  // namespace
}  // namespace zelvio
