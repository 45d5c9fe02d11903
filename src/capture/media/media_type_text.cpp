#include "capture/media/media_type_text.h"
#include "capture/media/media_guids.h"

#include <cstdio>
#include <string_view>

namespace zelvio {
namespace {

constexpr const char* kUnknownType = "UnKnown ";
constexpr const char* kUnknownFormat = "Unknown";

struct NamedGuid {
  Guid guid;
  const char* name;
};

constexpr NamedGuid kMajorTypes[] = {
    {GuidLiteral("{0482DEE1-7817-11CF-8A03-00AA006ECB65}"), "AnalogAudio"},
    {GuidLiteral("{0482DDE1-7817-11CF-8A03-00AA006ECB65}"), "Analogvideo"},
    {kMediaTypeAudio, "Audio"},
    {GuidLiteral("{670AEA80-3A82-11D0-B79B-00AA003767A7}"), "AUXLine21Data"},
    {GuidLiteral("{656C6966-0000-0010-8000-00AA00389B71}"), "File"},
    {GuidLiteral("{73766169-0000-0010-8000-00AA00389B71}"), "Interleaved"},
    {GuidLiteral("{74726C6D-0000-0010-8000-00AA00389B71}"), "LMRT"},
    {GuidLiteral("{7364696D-0000-0010-8000-00AA00389B71}"), "Midi"},
    {GuidLiteral("{E06D8020-DB46-11CF-B4D1-00805F6CBBEA}"), "MPEG2_PES"},
    {GuidLiteral("{73636D64-0000-0010-8000-00AA00389B71}"), "ScriptCommand"},
    {GuidLiteral("{E436EB83-524F-11CE-9F53-0020AF0BA770}"), "Stream"},
    {GuidLiteral("{73747874-0000-0010-8000-00AA00389B71}"), "Text"},
    {GuidLiteral("{0482DEE3-7817-11CF-8A03-00AA006ECB65}"), "Timecode"},
    {GuidLiteral("{736C7275-0000-0010-8000-00AA00389B71}"), "URL_STREAM"},
    {kMediaTypeVideo, "Video"},
};

// Subtypes come in families that share everything but the first field.
struct FirstField {
  uint32_t data1;
  const char* name;
};

constexpr uint32_t FourCc(std::string_view code) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// {XXXXXXXX-0000-0010-8000-00AA00389B71}: four-character codes and wave format tags.
constexpr FirstField kFourCcFamily[] = {
    {FourCc("CLPL"), "CLPL"},          {FourCc("YUYV"), "YUYV"},        {FourCc("IYUV"), "IYUV"},
    {FourCc("YVU9"), "YVU9"},          {FourCc("Y411"), "Y411"},        {FourCc("Y41P"), "Y41P"},
    {FourCc("YUY2"), "YUY2"},          {FourCc("YVYU"), "YVYU"},        {FourCc("UYVY"), "UYVY"},
    {FourCc("Y211"), "Y211"},          {FourCc("YV12"), "YV12"},        {FourCc("CLJR"), "CLJR"},
    {FourCc("IF09"), "IF09"},          {FourCc("CPLA"), "CPLA"},        {FourCc("MJPG"), "MJPG"},
    {FourCc("TVMJ"), "TVMJ"},          {FourCc("WAKE"), "WAKE"},        {FourCc("CFCC"), "CFCC"},
    {FourCc("IJPG"), "IJPG"},          {FourCc("Plum"), "Plum"},        {FourCc("DVCS"), "DVCS"},
    {FourCc("DVSD"), "DVSD"},          {FourCc("MDVF"), "MDVF"},        {FourCc("dvhd"), "dvhd"},
    {FourCc("dvsl"), "dvsl"},          {FourCc("DIVX"), "DIVX"},        {FourCc("dvsd"), "dvsd_"},
    {FourCc("rpza"), "QTRpza"},        {FourCc("smc "), "QTSmc"},       {FourCc("rle "), "QTRle"},
    {FourCc("jpeg"), "QTJpeg"},        {FourCc("MP42"), "MS-MPEG4"},    {0x00000001, "PCM"},
    {0x00000003, "IEEE_FLOAT"},        {0x00000009, "DRM_Audio"},       {0x00000050, "MPEG1AudioPayload"},
    {0x00000075, "VOXWARE_MetaSound"}, {0x00000092, "DOLBY_AC3_SPDIF"}, {0x00000240, "RAW_SPORT"},
    {0x00000241, "SPDIF_TAG_241h"},
};

constexpr FirstField kE436EbFamily[] = {
    {0xE436EB78, "RGB1"},
    {0xE436EB79, "RGB4"},
    {0xE436EB7A, "RGB8"},
    {0xE436EB7B, "RGB565"},
    {0xE436EB7C, "RGB555"},
    {0xE436EB7D, "RGB24"},
    {0xE436EB7E, "RGB32"},
    {0xE436EB7F, "Overlay"},
    {0xE436EB80, "MPEG1Packet"},
    {0xE436EB81, "MPEG1Payload"},
    {0xE436EB84, "MPEG1System"},
    {0xE436EB85, "MPEG1VideoCD"},
    {0xE436EB86, "MPEG1Video"},
    {0xE436EB87, "MPEG1Audio"},
    {0xE436EB88, "Avi"},
    {0xE436EB89, "QTMovie"},
    {0xE436EB8A, "PCMAudio_Obsolete"},
    {0xE436EB8B, "WAVE"},
    {0xE436EB8C, "AU"},
    {0xE436EB8D, "AIFF"},
};

constexpr FirstField kArgbFamily[] = {{0x773C9AC0, "ARGB32"}};
constexpr FirstField kAsfFamily[] = {{0x3DB80F90, "Asf"}};

constexpr FirstField kLine21Family[] = {
    {0x6E8D4A22, "Line21_BytePair"},
    {0x6E8D4A23, "Line21_GOPPacket"},
    {0x6E8D4A24, "Line21_VBIRawData"},
};

constexpr FirstField kDssFamily[] = {{0xA0AF4F81, "DssVideo"}, {0xA0AF4F82, "DssAudio"}};
constexpr FirstField kVideoPortFamily[] = {{0x5A9B6A40, "VPVideo"}, {0x5A9B6A41, "VPVBI"}};

constexpr FirstField kAnalogVideoFamily[] = {
    {0x0482DDE2, "AnalogVideo_NTSC_M"},      {0x0482DDE5, "AnalogVideo_PAL_B"},
    {0x0482DDE6, "AnalogVideo_PAL_D"},       {0x0482DDE7, "AnalogVideo_PAL_G"},
    {0x0482DDE8, "AnalogVideo_PAL_H"},       {0x0482DDE9, "AnalogVideo_PAL_I"},
    {0x0482DDEA, "AnalogVideo_PAL_M"},       {0x0482DDEB, "AnalogVideo_PAL_N"},
    {0x0482DDEC, "AnalogVideo_PAL_N_COMBO"}, {0x0482DDF0, "AnalogVideo_SECAM_B"},
    {0x0482DDF1, "AnalogVideo_SECAM_D"},     {0x0482DDF2, "AnalogVideo_SECAM_G"},
    {0x0482DDF3, "AnalogVideo_SECAM_H"},     {0x0482DDF4, "AnalogVideo_SECAM_K"},
    {0x0482DDF5, "AnalogVideo_SECAM_K1"},    {0x0482DDF6, "AnalogVideo_SECAM_L"},
};

constexpr FirstField kMpeg2Family[] = {
    {0xE06D8026, "MPEG2_VIDEO"},
    {0xE06D8022, "MPEG2_PROGRAM"},
    {0xE06D8023, "MPEG2_TRANSPORT"},
    {0xE06D802B, "MPEG2_AUDIO"},
    {0xE06D802C, "DOLBY_AC3"},
    {0xE06D802D, "DVD_SUBPICTURE"},
    {0xE06D8032, "DVD_LPCM_AUDIO"},
    {0xE06D8033, "DTS"},
    {0xE06D8034, "SDDS"},
    {0xE06D802F, "PCI"},
    {0xE06D8030, "DSI"},
    {0xE06D8031, "PROVIDER"},
};

struct SubTypeFamily {
  Guid tail;  // first field zero; the rest is shared by the family
  const FirstField* entries;
  size_t count;
};

template <size_t N>
constexpr SubTypeFamily Family(const char* tail, const FirstField (&entries)[N]) {
  return {GuidLiteral(tail), entries, N};
}

constexpr SubTypeFamily kSubTypeFamilies[] = {
    Family("{00000000-0000-0010-8000-00AA00389B71}", kFourCcFamily),
    Family("{00000000-524F-11CE-9F53-0020AF0BA770}", kE436EbFamily),
    Family("{00000000-3274-11D0-B724-00AA006C1A01}", kArgbFamily),
    Family("{00000000-9412-11D1-ADED-0000F8754B99}", kAsfFamily),
    Family("{00000000-310C-11D0-B79A-00AA003767A7}", kLine21Family),
    Family("{00000000-E163-11D0-BAD9-00609744111A}", kDssFamily),
    Family("{00000000-1A22-11D1-BAD9-00609744111A}", kVideoPortFamily),
    Family("{00000000-7817-11CF-8A03-00AA006ECB65}", kAnalogVideoFamily),
    Family("{00000000-DB46-11CF-B4D1-00805F6CBBEA}", kMpeg2Family),
};

bool SameTail(const Guid& a, const Guid& b) {
  Guid first = a;
  first.Data1 = b.Data1;
  return first == b;
}

struct WaveTag {
  uint16_t tag;
  const char* name;
};

constexpr WaveTag kWaveTags[] = {
    {1, "PCM"},
    {2, "ADPCM"},
    {3, "IEEE_FLOAT"},
    {5, "IBM_CVSD"},
    {6, "ALAW"},
    {7, "MULAW"},
    {16, "OKI_ADPCM"},
    {17, "DVI_ADPCM"},
    {18, "MEDIASPACE_ADPCM"},
    {19, "SIERRA_ADPCM"},
    {20, "G723_ADPCM"},
    {21, "DIGISTD"},
    {22, "DIGIFIX"},
    {23, "DIALOGIC_OKI_ADPCM"},
    {24, "MEDIAVISION_ADPCM"},
    {32, "YAMAHA_ADPCM"},
    {33, "SONARC"},
    {34, "DSPGROUP_TRUESPEECH"},
    {35, "ECHOSC1"},
    {36, "AUDIOFILE_AF36"},
    {37, "APTX"},
    {38, "AUDIOFILE_AF10"},
    {48, "DOLBY_AC2"},
    {49, "GSM610"},
    {50, "MSNAUDIO"},
    {51, "ANTEX_ADPCME"},
    {52, "CONTROL_RES_VQLPC"},
    {53, "DIGIREAL"},
    {54, "DIGIADPCM"},
    {55, "CONTROL_RES_CR10"},
    {56, "NMS_VBXADPCM"},
    {57, "CS_IMAADPCM"},
    {58, "ECHOSC3"},
    {59, "ROCKWELL_ADPCM"},
    {60, "ROCKWELL_DIGITALK"},
    {61, "XEBEC"},
    {64, "G721_ADPCM"},
    {65, "G728_CELP"},
    {80, "MPEG"},
    {85, "MPEGLAYER3"},
    {96, "CIRRUS"},
    {97, "ESPCM"},
    {98, "VOXWARE"},
    {99, "CANOPUS_ATRAC"},
    {100, "G726_ADPCM"},
    {101, "G722_ADPCM"},
    {102, "DSAT"},
    {103, "DSAT_DISPLAY"},
    {117, "VOXWARE"},
    {128, "SOFTSOUND"},
    {256, "RHETOREX_ADPCM"},
    {512, "CREATIVE_ADPCM"},
    {514, "CREATIVE_FASTSPEECH8"},
    {515, "CREATIVE_FASTSPEECH10"},
    {544, "QUARTERDECK"},
    {768, "FM_TOWNS_SND"},
    {1024, "BTV_DIGITAL"},
    {4096, "OLIGSM"},
    {4097, "OLIADPCM"},
    {4098, "OLICELP"},
    {4099, "OLISBC"},
    {4100, "OLIOPR"},
    {4352, "LH_CODEC"},
    {5120, "NORRIS"},
};

enum class Detail { None, Video48, Video72, Audio };

struct FormatKind {
  Guid guid;
  const char* name;
  Detail detail;
};

constexpr FormatKind kFormatTypes[] = {
    {kFormatVideoInfo, "VideoInfo ", Detail::Video48},
    {kFormatVideoInfo2, "VideoInfo2 ", Detail::Video72},
    {kFormatWaveFormatEx, "WaveFormatEx: ", Detail::Audio},
    {GuidLiteral("{05589F82-C356-11CE-BF01-00AA0055595A}"), "MPEGVideo ", Detail::Video48},
    {GuidLiteral("{E06D80E3-DB46-11CF-B4D1-00805F6CBBEA}"), "MPEGStreams ", Detail::Video72},
    {kFormatDvInfo, "DvInfo", Detail::None},
    {GuidLiteral("{05589F83-C356-11CE-BF01-00AA0055595A}"), "MPEGStreams", Detail::None},
    {GuidLiteral("{E06D80E4-DB46-11CF-B4D1-00805F6CBBEA}"), "DolbyAC3", Detail::None},
    {GuidLiteral("{E06D80E5-DB46-11CF-B4D1-00805F6CBBEA}"), "MPEG2Audio", Detail::None},
    {GuidLiteral("{E06D80E6-DB46-11CF-B4D1-00805F6CBBEA}"), "DVD_LPCMAudio", Detail::None},
};

// BITMAPINFOHEADER at `at`: biWidth +4, biHeight +8, biBitCount +14, biCompression +16.
std::string VideoDetail(const ByteSpan& block, size_t at) {
  char text[64];
  std::snprintf(text, sizeof text, " %dX%d, %d bits", static_cast<int>(block.I32At(at + 4)),
                static_cast<int>(block.I32At(at + 8)), static_cast<int>(block.U16At(at + 14)));
  return CompressionName(block.U32At(at + 16)) + text;
}

// WAVEFORMATEX: wFormatTag +0, nChannels +2, nSamplesPerSec +4, wBitsPerSample +14.
std::string AudioDetail(const ByteSpan& block) {
  char text[96];
  std::snprintf(text, sizeof text, ", %d Hertz, %d Bits, %d Channels", static_cast<int>(block.I32At(4)),
                static_cast<int>(block.U16At(14)), static_cast<int>(block.U16At(2)));
  return WaveFormatTagName(block.U16At(0)) + text;
}

std::string FormatPart(const Guid& formatType, const ByteSpan& block) {
  for (const FormatKind& kind : kFormatTypes) {
    if (!(kind.guid == formatType)) continue;
    std::string text = kind.name;
    if (!block.Present()) return text;
    switch (kind.detail) {
      case Detail::Video48:
        return text + VideoDetail(block, 48);
      case Detail::Video72:
        return text + VideoDetail(block, 72);
      case Detail::Audio:
        return text + AudioDetail(block);
      case Detail::None:
        break;
    }
    return text;
  }
  return kUnknownFormat;
}

}  // namespace

std::string MajorTypeName(const Guid& majorType) {
  for (const NamedGuid& entry : kMajorTypes) {
    if (entry.guid == majorType) return entry.name;
  }
  return kUnknownType;
}

std::string SubTypeName(const Guid& subType) {
  for (const SubTypeFamily& family : kSubTypeFamilies) {
    if (!SameTail(subType, family.tail)) continue;
    for (size_t i = 0; i < family.count; ++i) {
      if (family.entries[i].data1 == subType.Data1) return family.entries[i].name;
    }
  }
  return kUnknownType;
}

std::string WaveFormatTagName(uint16_t tag) {
  for (const WaveTag& entry : kWaveTags) {
    if (entry.tag == tag) return entry.name;
  }
  return kUnknownFormat;
}

std::string CompressionName(uint32_t compression) {
  switch (compression) {
    case 0:
      return "RGB";
    case 1:
      return "RLE8";
    case 2:
      return "RLE4";
    case 3:
      return "BITFIELDS";
    default:
      break;
  }
  std::string code(4, '\0');
  for (int i = 0; i < 4; ++i) code[i] = static_cast<char>((compression >> (8 * i)) & 0xFF);
  return code;
}

std::string DescribeMediaType(const MediaTypeView& mediaType) {
  return "Major Type: " + MajorTypeName(mediaType.majorType) +
         " - Sub Type: " + SubTypeName(mediaType.subType) +
         " Format: " + FormatPart(mediaType.formatType, mediaType.format);
}

}  // namespace zelvio
