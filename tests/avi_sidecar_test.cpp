#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <string>
#include <vector>

#include "capture/avi_sidecar.h"
#include "support/avi_samples.h"
#include "capture/media_guids.h"

namespace zelvio::avi {
namespace {

// A VIDEOINFOHEADER (or VIDEOINFOHEADER2 when `bitmapAt` is 72) around a bitmap header.
Bytes VideoInfoBlock(size_t bitmapAt, int64_t avgTime, const Bytes& bitmap) {
  Bytes block(bitmapAt, 0);
  for (int i = 0; i < 8; ++i) block[40 + i] = uint8_t(uint64_t(avgTime) >> (8 * i));
  block.insert(block.end(), bitmap.begin(), bitmap.end());
  return block;
}

SidecarMediaType VideoInput(size_t bitmapAt, int64_t avgTime, const Bytes& bitmap) {
  return {kMediaTypeVideo, kSubtypeRgb32, bitmapAt == 48 ? kFormatVideoInfo : kFormatVideoInfo2,
          VideoInfoBlock(bitmapAt, avgTime, bitmap)};
}

SidecarMediaType AudioInput(const Bytes& wave) {
  return {kMediaTypeAudio, kSubtypePcm, kFormatWaveFormatEx, wave};
}

RecordingSidecar VideoAndAudio() {
  return {"1.4.0",
          333333,
          {VideoInput(48, 333333, avitest::BitmapHeader(640, 480, 32, 0)),
           AudioInput(avitest::WaveFormat(22050, 16, 1))}};
}

bool SameSidecar(const RecordingSidecar& a, const RecordingSidecar& b) {
  if (a.programVersion != b.programVersion || a.avgTimePerFrame != b.avgTimePerFrame) return false;
  if (a.inputs.size() != b.inputs.size()) return false;
  for (size_t i = 0; i < a.inputs.size(); ++i) {
    const auto &x = a.inputs[i], &y = b.inputs[i];
    if (!(x.majorType == y.majorType) || !(x.subType == y.subType) || !(x.formatType == y.formatType) ||
        x.format != y.format) {
      return false;
    }
  }
  return true;
}

TEST(AviSidecar, RoundTripsWhatARecordingStartsWith) {
  const RecordingSidecar cases[] = {
      VideoAndAudio(),
      {"2.0 beta 1",
       400000,
       {VideoInput(72, 400000, avitest::BitmapHeader(1920, -1080, 24, avitest::kMjpg))}},
      {"x", 1, {AudioInput({})}},
      {"0.1",
       10000000,
       {VideoInput(48, 0, Bytes(40, 0xFF)), AudioInput(Bytes(kSidecarMaxFormatBytes, 0xA5))}},
  };
  for (const auto& sidecar : cases) {
    std::string text = SerializeSidecar(sidecar);
    std::string reason;
    auto parsed = ParseSidecar(text, &reason);
    ASSERT_TRUE(parsed) << reason << "\n" << text;
    EXPECT_TRUE(SameSidecar(*parsed, sidecar)) << text;
    EXPECT_EQ(SerializeSidecar(*parsed), text);
  }
  // Notes say which program records; notes of versions before that are read as they were.
  RecordingSidecar owned = VideoAndAudio();
  owned.ownerProcess = 4242;
  owned.ownerStarted = 133000000000000000ULL;
  std::string ownedText = SerializeSidecar(owned);
  EXPECT_NE(ownedText.find("\nowner=4242 started=133000000000000000\ninput=0 "), std::string::npos)
      << ownedText;
  auto parsedOwner = ParseSidecar(ownedText);
  ASSERT_TRUE(parsedOwner);
  EXPECT_TRUE(SameSidecar(*parsedOwner, owned));
  EXPECT_EQ(parsedOwner->ownerProcess, 4242u);
  EXPECT_EQ(parsedOwner->ownerStarted, 133000000000000000ULL);
  EXPECT_EQ(SerializeSidecar(VideoAndAudio()).find("owner="), std::string::npos);
  EXPECT_EQ(ParseSidecar(SerializeSidecar(VideoAndAudio()))->ownerProcess, 0u);
  // Windows line breaks and a missing last line break are both read.
  std::string text = SerializeSidecar(VideoAndAudio());
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ParseSidecar(crlf));
  text.pop_back();
  EXPECT_TRUE(ParseSidecar(text));
}

TEST(AviSidecar, RejectsMalformedText) {
  const std::string good = SerializeSidecar(VideoAndAudio());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
  };
  std::string line0 = good.substr(0, good.find('\n') + 1);
  std::string tooMany = good;
  for (size_t i = 2; i <= kSidecarMaxInputs; ++i) {
    tooMany +=
        "input=" + std::to_string(i) +
        good.substr(good.find(" major="), good.find('\n', good.find("input=0")) - good.find(" major=") + 1);
  }
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"header only", line0},
      {"no inputs", good.substr(0, good.find("input=0"))},
      {"wrong magic", replaced("Zelvio recording 1", "Zelvio recording 2")},
      {"empty version", replaced("version=1.4.0", "version=")},
      {"control character in version", replaced("1.4.0", "1.4\t0")},
      {"version line missing", replaced("version=", "versio=")},
      {"zero frame time", replaced("avgtimeperframe=333333", "avgtimeperframe=0")},
      {"negative frame time", replaced("avgtimeperframe=333333", "avgtimeperframe=-333333")},
      {"frame time with sign", replaced("avgtimeperframe=333333", "avgtimeperframe=+333333")},
      {"frame time with letters", replaced("avgtimeperframe=333333", "avgtimeperframe=33x")},
      {"frame time overflowing",
       replaced("avgtimeperframe=333333", "avgtimeperframe=99999999999999999999999")},
      {"inputs out of order", replaced("input=1", "input=2")},
      {"input number with a leading zero", replaced("input=1", "input=01")},
      {"bad guid", replaced("major={73646976", "major={7364697G")},
      {"guid without braces", replaced("major={73646976-0000-0010-8000-00AA00389B71}",
                                       "major=73646976-0000-0010-8000-00AA00389B71")},
      {"odd hex digits", replaced("format=00", "format=0")},
      {"non-hex format", replaced("format=00", "format=0z")},
      {"field missing", replaced(" subtype=", " subtyp=")},
      {"trailing field", replaced("\ninput=1", " extra=1\ninput=1")},
      {"blank line between inputs", replaced("\ninput=1", "\n\ninput=1")},
      {"too many inputs", tooMany},
      {"owner without inputs", good.substr(0, good.find("input=0")) + "owner=7 started=9\n"},
      {"owner with letters", replaced("\ninput=0", "\nowner=7x started=9\ninput=0")},
      {"owner without start", replaced("\ninput=0", "\nowner=7\ninput=0")},
      {"owner zero", replaced("\ninput=0", "\nowner=0 started=9\ninput=0")},
      {"owner after the inputs", good + "owner=7 started=9\n"},
  };
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(ParseSidecar(c.text, &reason)) << c.name;
    EXPECT_FALSE(reason.empty()) << c.name;
  }
  EXPECT_TRUE(ParseSidecar(tooMany.substr(0, tooMany.rfind("input="))))
      << "the limit itself is allowed; only one more input is refused";
}

TEST(AviSidecar, GivesTheStreamsTheMuxWrites) {
  Bytes bitmap = avitest::BitmapHeader(320, 240, 32, 0);
  Bytes wave = avitest::WaveFormat(44100, 16, 2);
  struct Case {
    const char* name;
    RecordingSidecar sidecar;
    std::vector<StreamFormat> want;
  };
  const Case cases[] = {
      {"VideoInfo with its own frame time",
       {"1", 500000, {VideoInput(48, 333333, bitmap), AudioInput(wave)}},
       {{StreamKind::Video, bitmap, 333333}, {StreamKind::Audio, wave, 0}}},
      {"VideoInfo2", {"1", 500000, {VideoInput(72, 400000, bitmap)}}, {{StreamKind::Video, bitmap, 400000}}},
      {"no frame time in the block: the sidecar's",
       {"1", 500000, {VideoInput(48, 0, bitmap)}},
       {{StreamKind::Video, bitmap, 500000}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto got = SidecarStreams(c.sidecar);
    ASSERT_EQ(got.size(), c.want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].kind, c.want[i].kind);
      EXPECT_EQ(got[i].format, c.want[i].format);
      EXPECT_EQ(got[i].avgTimePerFrame, c.want[i].avgTimePerFrame);
    }
  }

  const RecordingSidecar refused[] = {
      {"no inputs", 333333, {}},
      {"video block too short", 333333, {{kMediaTypeVideo, kSubtypeRgb32, kFormatVideoInfo, Bytes(87, 0)}}},
      {"format type the layout cannot carry",
       333333,
       {{kMediaTypeVideo, kSubtypeRgb32, kFormatDvInfo, Bytes(200, 0)}}},
      {"audio with a video format",
       333333,
       {{kMediaTypeAudio, kSubtypePcm, kFormatVideoInfo, VideoInfoBlock(48, 1, bitmap)}}},
      {"audio without a rate", 333333, {AudioInput(Bytes(18, 0))}},
  };
  for (const auto& sidecar : refused)
    EXPECT_THROW(SidecarStreams(sidecar), AviError) << sidecar.programVersion;
}

TEST(AviSidecar, LivesBesideItsAvi) {
  EXPECT_EQ(AviPathForSidecar(SidecarPathFor("C:\\Rec\\Screencast_2026-12-07-11-00-00.avi")),
            "C:\\Rec\\Screencast_2026-12-07-11-00-00.avi");
  EXPECT_EQ(AviPathForSidecar("Screencast.avi"), "");
  // Windows does not tell the letter cases of file names apart, and neither do we.
  EXPECT_EQ(AviPathForSidecar("C:\\Rec\\SCREENCAST.AVI.RECOVERY"), "C:\\Rec\\SCREENCAST.AVI");
  EXPECT_EQ(AviPathForSidecar("C:\\Rec\\a.avi.Recovery"), "C:\\Rec\\a.avi");
  EXPECT_EQ(AviPathForSidecar(kSidecarSuffix), "");
}

TEST(AviSidecar, FilesInTheScreencastFolder) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("zelvio_sidecar_" + std::to_string(::getpid()));
  fs::create_directories(dir / "sub.avi.recovery");  // a folder is not a sidecar
  std::string reason;
  ASSERT_TRUE(WriteSidecarFile(SidecarPathFor((dir / "b.avi").string()), VideoAndAudio(), &reason)) << reason;
  ASSERT_TRUE(WriteSidecarFile(SidecarPathFor((dir / "a.avi").string()), VideoAndAudio(), &reason)) << reason;
  std::ofstream(dir / "c.avi") << "not a sidecar";
  std::ofstream(dir / "broken.avi.recovery") << "Zelvio recording 1\nversion=1\n";
  std::ofstream(dir / "huge.avi.recovery") << std::string((1 << 20) + 1, 'x');

  auto found = FindSidecars(dir);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].filename(), "a.avi.recovery");
  EXPECT_EQ(found[1].filename(), "b.avi.recovery");
  auto read = ReadSidecarFile(found[0], &reason);
  ASSERT_TRUE(read) << reason;
  EXPECT_TRUE(SameSidecar(*read, VideoAndAudio()));
  EXPECT_FALSE(ReadSidecarFile(dir / "broken.avi.recovery"));
  EXPECT_FALSE(ReadSidecarFile(dir / "huge.avi.recovery", &reason));
  EXPECT_EQ(reason, "the sidecar is too large");
  EXPECT_FALSE(ReadSidecarFile(dir / "missing.avi.recovery"));
  EXPECT_FALSE(WriteSidecarFile(dir / "no_such_dir" / "x.avi.recovery", VideoAndAudio()));
  EXPECT_TRUE(FindSidecars(dir / "no_such_dir").empty());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelvio::avi
