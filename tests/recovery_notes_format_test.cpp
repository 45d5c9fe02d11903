#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/recovery/recovery_notes_format.h"
#include "support/avi_samples.h"
#include "capture/media/media_guids.h"

namespace zelvio::avi {
namespace {

// A VIDEOINFOHEADER (or VIDEOINFOHEADER2 when `bitmapAt` is 72) around a bitmap header.
Bytes VideoInfoBlock(size_t bitmapAt, int64_t avgTime, const Bytes& bitmap) {
  Bytes block(bitmapAt, 0);
  for (int i = 0; i < 8; ++i) block[40 + i] = uint8_t(uint64_t(avgTime) >> (8 * i));
  block.insert(block.end(), bitmap.begin(), bitmap.end());
  return block;
}

NotesMediaType VideoInput(size_t bitmapAt, int64_t avgTime, const Bytes& bitmap) {
  return {kMediaTypeVideo, kSubtypeRgb32, bitmapAt == 48 ? kFormatVideoInfo : kFormatVideoInfo2,
          VideoInfoBlock(bitmapAt, avgTime, bitmap)};
}

NotesMediaType AudioInput(const Bytes& wave) {
  return {kMediaTypeAudio, kSubtypePcm, kFormatWaveFormatEx, wave};
}

RecoveryNotes VideoAndAudio() {
  return {"1.4.0",
          333333,
          {VideoInput(48, 333333, avitest::BitmapHeader(640, 480, 32, 0)),
           AudioInput(avitest::WaveFormat(22050, 16, 1))}};
}

bool SameNotes(const RecoveryNotes& a, const RecoveryNotes& b) {
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

TEST(RecoveryNotesFormat, RoundTripsWhatARecordingStartsWith) {
  const RecoveryNotes cases[] = {
      VideoAndAudio(),
      {"2.0 beta 1",
       400000,
       {VideoInput(72, 400000, avitest::BitmapHeader(1920, -1080, 24, avitest::kMjpg))}},
      {"x", 1, {AudioInput({})}},
      {"0.1", 10000000, {VideoInput(48, 0, Bytes(40, 0xFF)), AudioInput(Bytes(kNotesMaxFormatBytes, 0xA5))}},
  };
  for (const auto& notes : cases) {
    std::string text = RecoveryNotesText(notes);
    std::string reason;
    auto parsed = ParseRecoveryNotes(text, &reason);
    ASSERT_TRUE(parsed) << reason << "\n" << text;
    EXPECT_TRUE(SameNotes(*parsed, notes)) << text;
    EXPECT_EQ(RecoveryNotesText(*parsed), text);
  }
  // Notes say which program records; notes of versions before that are read as they were.
  RecoveryNotes owned = VideoAndAudio();
  owned.ownerProcess = 4242;
  owned.ownerStarted = 133000000000000000ULL;
  std::string ownedText = RecoveryNotesText(owned);
  EXPECT_NE(ownedText.find("\nowner=4242 started=133000000000000000\ninput=0 "), std::string::npos)
      << ownedText;
  auto parsedOwner = ParseRecoveryNotes(ownedText);
  ASSERT_TRUE(parsedOwner);
  EXPECT_TRUE(SameNotes(*parsedOwner, owned));
  EXPECT_EQ(parsedOwner->ownerProcess, 4242u);
  EXPECT_EQ(parsedOwner->ownerStarted, 133000000000000000ULL);
  EXPECT_EQ(RecoveryNotesText(VideoAndAudio()).find("owner="), std::string::npos);
  EXPECT_EQ(ParseRecoveryNotes(RecoveryNotesText(VideoAndAudio()))->ownerProcess, 0u);
  // Windows line breaks and a missing last line break are both read.
  std::string text = RecoveryNotesText(VideoAndAudio());
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ParseRecoveryNotes(crlf));
  text.pop_back();
  EXPECT_TRUE(ParseRecoveryNotes(text));
}

TEST(RecoveryNotesFormat, RejectsMalformedText) {
  const std::string good = RecoveryNotesText(VideoAndAudio());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
  };
  std::string line0 = good.substr(0, good.find('\n') + 1);
  std::string tooMany = good;
  for (size_t i = 2; i <= kNotesMaxInputs; ++i) {
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
    EXPECT_FALSE(ParseRecoveryNotes(c.text, &reason)) << c.name;
    EXPECT_FALSE(reason.empty()) << c.name;
  }
  EXPECT_TRUE(ParseRecoveryNotes(tooMany.substr(0, tooMany.rfind("input="))))
      << "the limit itself is allowed; only one more input is refused";
}

TEST(RecoveryNotesFormat, GivesTheStreamsTheMuxWrites) {
  Bytes bitmap = avitest::BitmapHeader(320, 240, 32, 0);
  Bytes wave = avitest::WaveFormat(44100, 16, 2);
  struct Case {
    const char* name;
    RecoveryNotes notes;
    std::vector<StreamFormat> want;
  };
  const Case cases[] = {
      {"VideoInfo with its own frame time",
       {"1", 500000, {VideoInput(48, 333333, bitmap), AudioInput(wave)}},
       {{StreamKind::Video, bitmap, 333333}, {StreamKind::Audio, wave, 0}}},
      {"VideoInfo2", {"1", 500000, {VideoInput(72, 400000, bitmap)}}, {{StreamKind::Video, bitmap, 400000}}},
      {"no frame time in the block: the notes'",
       {"1", 500000, {VideoInput(48, 0, bitmap)}},
       {{StreamKind::Video, bitmap, 500000}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto got = NotesStreams(c.notes);
    ASSERT_EQ(got.size(), c.want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].kind, c.want[i].kind);
      EXPECT_EQ(got[i].format, c.want[i].format);
      EXPECT_EQ(got[i].avgTimePerFrame, c.want[i].avgTimePerFrame);
    }
  }

  const RecoveryNotes refused[] = {
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
  for (const auto& notes : refused) EXPECT_THROW(NotesStreams(notes), AviError) << notes.programVersion;
}

TEST(RecoveryNotesFormat, LivesBesideItsAvi) {
  EXPECT_EQ(RecordingPathForNotes(RecoveryNotesPath("C:\\Rec\\Screencast_2026-12-07-11-00-00.avi")),
            "C:\\Rec\\Screencast_2026-12-07-11-00-00.avi");
  EXPECT_EQ(RecordingPathForNotes("Screencast.avi"), "");
  // Windows does not tell the letter cases of file names apart, and neither do we.
  EXPECT_EQ(RecordingPathForNotes("C:\\Rec\\SCREENCAST.AVI.RECOVERY"), "C:\\Rec\\SCREENCAST.AVI");
  EXPECT_EQ(RecordingPathForNotes("C:\\Rec\\a.avi.Recovery"), "C:\\Rec\\a.avi");
  EXPECT_EQ(RecordingPathForNotes(kRecoveryNotesSuffix), "");
}

}  // namespace
}  // namespace zelvio::avi
