#include "common/overlay_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zelvio {
namespace {

// The bytes exactly as a sender puts them into WM_COPYDATA: text, then one zero byte.
std::optional<OverlayCommand> Parse(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return ParseOverlayCommand(bytes.data(), bytes.size());
}

std::optional<OverlayCommand> ParseRaw(const std::vector<uint8_t>& bytes) {
  return ParseOverlayCommand(bytes.data(), bytes.size());
}

// ---- Create ---------------------------------------------------------------------------

TEST(OverlayCreateCommand, DefaultRegionGivesEveryField) {
  auto command = Parse("Create$864$480$528$300$0$0000FF");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, OverlayCommandKind::Create);
  EXPECT_EQ(command->width, 864);
  EXPECT_EQ(command->height, 480);
  EXPECT_EQ(command->left, 528);
  EXPECT_EQ(command->top, 300);
  EXPECT_FALSE(command->background);
  EXPECT_EQ(command->color.r, 0x00);
  EXPECT_EQ(command->color.g, 0x00);
  EXPECT_EQ(command->color.b, 0xFF);
}

TEST(OverlayCreateCommand, BackgroundFlagAndNegativePosition) {
  // A region larger than the screen is centred at negative coordinates.
  auto command = Parse("Create$2560$1440$-320$-180$-1$12AB9c");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->width, 2560);
  EXPECT_EQ(command->height, 1440);
  EXPECT_EQ(command->left, -320);
  EXPECT_EQ(command->top, -180);
  EXPECT_TRUE(command->background);
  EXPECT_EQ(command->color.r, 0x12);
  EXPECT_EQ(command->color.g, 0xAB);
  EXPECT_EQ(command->color.b, 0x9C);
}

TEST(OverlayCreateCommand, SizeAndPositionLimitsAreInclusive) {
  auto largest = Parse("Create$100000$100000$100000$-100000$0$000000");
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->width, 100000);
  EXPECT_EQ(largest->height, 100000);
  EXPECT_EQ(largest->left, 100000);
  EXPECT_EQ(largest->top, -100000);

  // No preset selected gives a region without area; the frame must still move to it.
  for (const char* text :
       {"Create$0$0$960$540$0$0000FF", "Create$0$480$528$300$0$0000FF", "Create$864$0$528$300$0$0000FF"}) {
    auto empty = Parse(text);
    ASSERT_TRUE(empty) << text;
    EXPECT_EQ(empty->width * empty->height, 0) << text;
    EXPECT_EQ(empty->kind, OverlayCommandKind::Create) << text;
  }
  auto centre = Parse("Create$0$0$960$540$0$0000FF");
  ASSERT_TRUE(centre);
  EXPECT_EQ(centre->left, 960);
  EXPECT_EQ(centre->top, 540);
}

TEST(OverlayCreateCommand, RejectsSizesAndPositionsOutOfRange) {
  EXPECT_FALSE(Parse("Create$-864$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$-1$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$100001$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$100001$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$2000000000$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$100001$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$528$-100001$0$0000FF"));
}

TEST(OverlayCreateCommand, RejectsNumbersThatAreNotPlainDecimal) {
  EXPECT_FALSE(Parse("Create$+864$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$ 864$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864 $480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$86a4$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$0x10$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864.0$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$-$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$--5$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$$480$528$300$0$0000FF"));
}

TEST(OverlayCreateCommand, RejectsIntegerOverflowRatherThanWrapping) {
  // 4294967297 would wrap to 1 in 32 bits; 2147483648 to a negative number.
  EXPECT_FALSE(Parse("Create$4294967297$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$2147483648$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$-2147483649$300$0$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$99999999999999999999999$300$0$0000FF"));
}

TEST(OverlayCreateCommand, BackgroundFlagIsMinusOneOrZero) {
  EXPECT_FALSE(Parse("Create$864$480$528$300$1$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$2$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$true$0000FF"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$$0000FF"));
}

TEST(OverlayCreateCommand, RejectsWrongFieldCount) {
  EXPECT_FALSE(Parse("Create"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$0000FF$"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$0000FF$7"));
}

TEST(OverlayCreateCommand, ColourIsExactlySixHexDigits) {
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$0000F"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$0000FFF"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$0000FG"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$-000FF"));
  EXPECT_FALSE(Parse("Create$864$480$528$300$0$"));
}

// ---- ChangeFormColor ------------------------------------------------------------------

TEST(OverlayColorCommand, StateColoursReadRedFirst) {
  auto red = Parse("ChangeFormColor$FF0000$0");
  ASSERT_TRUE(red);
  EXPECT_EQ(red->kind, OverlayCommandKind::ChangeFormColor);
  EXPECT_EQ(red->color.r, 0xFF);
  EXPECT_EQ(red->color.g, 0x00);
  EXPECT_EQ(red->color.b, 0x00);
  EXPECT_EQ(red->durationMs, 0);

  auto grey = Parse("ChangeFormColor$C0C0C0$0");
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->color.r, 0xC0);
  EXPECT_EQ(grey->color.g, 0xC0);
  EXPECT_EQ(grey->color.b, 0xC0);

  auto green = Parse("ChangeFormColor$00FF00$0");
  ASSERT_TRUE(green);
  EXPECT_EQ(green->color.r, 0x00);
  EXPECT_EQ(green->color.g, 0xFF);
  EXPECT_EQ(green->color.b, 0x00);
}

TEST(OverlayColorCommand, FlashCarriesItsDuration) {
  auto yellow = Parse("ChangeFormColor$FFFF00$100");
  ASSERT_TRUE(yellow);
  EXPECT_EQ(yellow->color.r, 0xFF);
  EXPECT_EQ(yellow->color.g, 0xFF);
  EXPECT_EQ(yellow->color.b, 0x00);
  EXPECT_EQ(yellow->durationMs, 100);

  auto longest = Parse("ChangeFormColor$010203$2147483647");
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->durationMs, 2147483647);
}

TEST(OverlayColorCommand, RejectsMalformedFields) {
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000$"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000$-1"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000$2147483648"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000$1e3"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF0000$0$0"));
  EXPECT_FALSE(Parse("ChangeFormColor$FF00$0"));
  EXPECT_FALSE(Parse("ChangeFormColor$red$0"));
  EXPECT_FALSE(Parse("ChangeFormColor$$0"));
}

// ---- ChangeFormCaption and Close ------------------------------------------------------

TEST(OverlayCaptionCommand, CaptionIsEverythingAfterTheKeyword) {
  auto fps = Parse("ChangeFormCaption$FormMainCapturer@25");
  ASSERT_TRUE(fps);
  EXPECT_EQ(fps->kind, OverlayCommandKind::ChangeFormCaption);
  EXPECT_EQ(fps->caption, "FormMainCapturer@25");

  // The caption is free text: a '$' inside it belongs to it.
  auto dollars = Parse("ChangeFormCaption$a$b$");
  ASSERT_TRUE(dollars);
  EXPECT_EQ(dollars->caption, "a$b$");

  auto empty = Parse("ChangeFormCaption$");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->caption, "");
}

TEST(OverlayCaptionCommand, Keeps8BitCharactersAsTheyCame) {
  auto command = Parse("ChangeFormCaption$\xE9t\xE9");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->caption, "\xE9t\xE9");
}

TEST(OverlayCaptionCommand, NeedsItsSeparator) {
  EXPECT_FALSE(Parse("ChangeFormCaption"));
  EXPECT_FALSE(Parse("ChangeFormCaptionX"));
}

TEST(OverlayCloseCommand, IsTheBareKeyword) {
  auto command = Parse("Close");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, OverlayCommandKind::Close);

  EXPECT_FALSE(Parse("Close$"));
  EXPECT_FALSE(Parse("Close$now"));
  EXPECT_FALSE(Parse("close"));
  EXPECT_FALSE(Parse(" Close"));
}

TEST(OverlayCommandKeyword, UnknownOrMisspelledKeywordsAreRejected) {
  EXPECT_FALSE(Parse(""));
  EXPECT_FALSE(Parse("$"));
  EXPECT_FALSE(Parse("Destroy$1"));
  EXPECT_FALSE(Parse("create$864$480$528$300$0$0000FF"));
  EXPECT_FALSE(Parse("changeformcolor$FF0000$0"));
  EXPECT_FALSE(Parse("Create 864$480$528$300$0$0000FF"));
}

// ---- Formatting ------------------------------------------------------------------------

bool SameCommand(const OverlayCommand& a, const OverlayCommand& b) {
  return a.kind == b.kind && a.caption == b.caption && a.width == b.width && a.height == b.height &&
         a.left == b.left && a.top == b.top && a.background == b.background && a.color.r == b.color.r &&
         a.color.g == b.color.g && a.color.b == b.color.b && a.durationMs == b.durationMs;
}

struct FormatCase {
  OverlayCommand command;
  const char* text;
};

// Every command the recorder sends, and the edges of each field, with the exact text the
// overlay expects on the wire.
const FormatCase kFormatCases[] = {
    {OverlayRegionCommand(864, 480, 528, 300, false, {0x00, 0x00, 0xFF}), "Create$864$480$528$300$0$0000FF"},
    {OverlayRegionCommand(1920, 1080, -277, -156, true, {0xFF, 0x00, 0x00}),
     "Create$1920$1080$-277$-156$-1$FF0000"},
    {OverlayRegionCommand(1, 1, 0, 0, false, {0x0A, 0xBC, 0xDE}), "Create$1$1$0$0$0$0ABCDE"},
    {OverlayRegionCommand(100000, 100000, -100000, 100000, true, {0xFF, 0xFF, 0xFF}),
     "Create$100000$100000$-100000$100000$-1$FFFFFF"},
    {OverlayColorCommand(kFrameRecordingColor, 0), "ChangeFormColor$FF0000$0"},
    {OverlayColorCommand(kFramePausedColor, 0), "ChangeFormColor$C0C0C0$0"},
    {OverlayColorCommand(kFrameStoppedColor, 0), "ChangeFormColor$00FF00$0"},
    {OverlayColorCommand(kFrameSnapshotColor, kFrameSnapshotFlashMs), "ChangeFormColor$FFFF00$100"},
    {OverlayColorCommand({0x01, 0x02, 0x03}, 2147483647), "ChangeFormColor$010203$2147483647"},
    {OverlayCaptionCommand(OverlayRateCaption("25")), "ChangeFormCaption$FormMainCapturer@25"},
    {OverlayCaptionCommand(OverlayRateCaption("")), "ChangeFormCaption$FormMainCapturer@"},
    {OverlayCaptionCommand("a$b$"), "ChangeFormCaption$a$b$"},
    {OverlayCaptionCommand(""), "ChangeFormCaption$"},
    {OverlayCloseCommand(), "Close"},
};

TEST(OverlayCommandFormat, WritesTheExactTextAndParsesBackToTheSameCommand) {
  for (const FormatCase& c : kFormatCases) {
    SCOPED_TRACE(c.text);
    std::string text = FormatOverlayCommand(c.command);
    EXPECT_EQ(text, c.text);
    auto back = Parse(text);
    ASSERT_TRUE(back);
    EXPECT_TRUE(SameCommand(*back, c.command));
  }
}

TEST(OverlayCommandFormat, ToolkitColourIsWrittenRedFirstWithoutItsHighByte) {
  struct Case {
    uint32_t colour;
    const char* text;
  };
  const Case cases[] = {
      {0xFF0000, "ChangeFormColor$0000FF$0"},   {0x0000FF, "ChangeFormColor$FF0000$0"},
      {0x0A0B0C, "ChangeFormColor$0C0B0A$0"},   {0xABCDEF, "ChangeFormColor$EFCDAB$0"},
      {0xFF00000F, "ChangeFormColor$0F0000$0"}, {0, "ChangeFormColor$000000$0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatOverlayCommand(OverlayColorCommand(OverlayColorFromColour(c.colour), 0)), c.text);
  }
}

// ---- The bytes of the channel ---------------------------------------------------------

TEST(OverlayCommandBytes, EncodingAppendsExactlyOneZero) {
  std::string text = "ChangeFormColor$FF0000$0";
  std::vector<uint8_t> bytes = EncodeCommandBytes(text);
  ASSERT_EQ(bytes.size(), text.size() + 1);
  EXPECT_EQ(std::memcmp(bytes.data(), text.data(), text.size()), 0);
  EXPECT_EQ(bytes.back(), 0);

  std::vector<uint8_t> empty = EncodeCommandBytes("");
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0], 0);
}

TEST(OverlayCommandBytes, EncodedCommandsParseBack) {
  auto bytes = EncodeCommandBytes("Create$864$480$528$300$-1$FF8000");
  auto command = ParseOverlayCommand(bytes.data(), bytes.size());
  ASSERT_TRUE(command);
  EXPECT_EQ(command->left, 528);
  EXPECT_TRUE(command->background);
  EXPECT_EQ(command->color.g, 0x80);
}

TEST(OverlayCommandBytes, TextMustEndWithAZeroInsideTheBuffer) {
  std::string text = "Close";
  std::vector<uint8_t> unterminated(text.begin(), text.end());
  EXPECT_FALSE(ParseRaw(unterminated));

  // A buffer that is one byte short of its terminator.
  std::vector<uint8_t> bytes = EncodeCommandBytes(text);
  EXPECT_FALSE(ParseOverlayCommand(bytes.data(), bytes.size() - 1));
}

TEST(OverlayCommandBytes, TextStopsAtTheFirstZero) {
  std::vector<uint8_t> bytes = EncodeCommandBytes("Close");
  bytes.push_back('$');
  bytes.push_back('x');
  bytes.push_back(0);
  auto command = ParseRaw(bytes);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, OverlayCommandKind::Close);

  // A zero in the middle cuts a Create short, so it no longer has its fields.
  std::vector<uint8_t> cut = EncodeCommandBytes("Create$864$480");
  std::string rest = "$528$300$0$0000FF";
  cut.insert(cut.end(), rest.begin(), rest.end());
  cut.push_back(0);
  EXPECT_FALSE(ParseRaw(cut));
}

TEST(OverlayCommandBytes, RejectsEmptyNullAndOversizedBuffers) {
  uint8_t zero = 0;
  EXPECT_FALSE(ParseOverlayCommand(&zero, 0));
  EXPECT_FALSE(ParseOverlayCommand(nullptr, 6));

  std::string caption(kMaxOverlayCommandBytes, 'x');
  std::string text = "ChangeFormCaption$" + caption;
  EXPECT_FALSE(Parse(text));

  // The largest buffer still accepted: text plus zero exactly at the limit.
  std::string fits = "ChangeFormCaption$";
  fits.resize(kMaxOverlayCommandBytes - 1, 'y');
  auto command = Parse(fits);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->caption.size(), kMaxOverlayCommandBytes - 1 - 18);
  EXPECT_FALSE(Parse(fits + "y"));
}

}  // namespace
}  // namespace zelvio
