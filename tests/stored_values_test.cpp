#include "settings/stored_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "settings/ini_document.h"
#include "settings/stored_props.h"
#include "ui/controls.h"

namespace zelvio {
namespace {

// ---- Boolean ---------------------------------------------------------------

TEST(StoredBoolean, WordsAndNumbersThatMeanTrue) {
  for (const char* text : {"TRUE", "true", "Yes", "YES", "y", "Y", "1", "2", "-1", "+3", "2147483647"}) {
    EXPECT_EQ(DecodeBoolean(text), std::optional<bool>(true)) << text;
  }
}

TEST(StoredBoolean, WordsNumbersAndEmptyThatMeanFalse) {
  for (const char* text : {"FALSE", "False", "NO", "no", "N", "n", "0", "-0", "000", ""}) {
    EXPECT_EQ(DecodeBoolean(text), std::optional<bool>(false)) << text;
  }
}

TEST(StoredBoolean, AnythingElseIsNotApplied) {
  for (const char* text : {"maybe", "T", "F", "ye", "TRUEX", "on", "1.0", "0x1", "2147483648", " 1", "-"}) {
    EXPECT_FALSE(DecodeBoolean(text).has_value()) << text;
  }
}

TEST(StoredBoolean, WrittenAsFirstWordOfEachList) {
  EXPECT_EQ(EncodeBoolean(true), "TRUE");
  EXPECT_EQ(EncodeBoolean(false), "FALSE");
}

// ---- Integer ---------------------------------------------------------------

TEST(StoredInteger, PlainDecimalWithOptionalSign) {
  EXPECT_EQ(DecodeInteger(""), std::optional<int32_t>(0));
  EXPECT_EQ(DecodeInteger("-5"), std::optional<int32_t>(-5));
  EXPECT_EQ(DecodeInteger("21"), std::optional<int32_t>(21));
  EXPECT_EQ(DecodeInteger("+7"), std::optional<int32_t>(7));
  EXPECT_EQ(DecodeInteger("007"), std::optional<int32_t>(7));
  EXPECT_EQ(DecodeInteger("2147483647"), std::optional<int32_t>(INT32_MAX));
  EXPECT_EQ(DecodeInteger("-2147483648"), std::optional<int32_t>(INT32_MIN));
}

TEST(StoredInteger, GarbageOverflowAndOtherSpellingsAreNotApplied) {
  for (const char* text : {"12a", "a12", "1 2", " 12", "12 ", "-", "+", "--1", "+-1", "0x10", "$10", "1e3",
                           "3.0", "2147483648", "-2147483649", "99999999999999999999999"}) {
    EXPECT_FALSE(DecodeInteger(text).has_value()) << text;
  }
}

TEST(StoredInteger, WrittenAsPlainDecimal) {
  EXPECT_EQ(EncodeInteger(0), "0");
  EXPECT_EQ(EncodeInteger(-1), "-1");
  EXPECT_EQ(EncodeInteger(1000), "1000");
  EXPECT_EQ(EncodeInteger(INT32_MIN), "-2147483648");
  for (int32_t value : {INT32_MIN, -1, 0, 5, INT32_MAX}) {
    EXPECT_EQ(DecodeInteger(EncodeInteger(value)), std::optional<int32_t>(value));
  }
}

// ---- Colour ----------------------------------------------------------------

TEST(StoredColour, NamesIgnoreCase) {
  EXPECT_EQ(DecodeColour("clred"), std::optional<uint32_t>(0x0000FF));
  EXPECT_EQ(DecodeColour("CLBLUE"), std::optional<uint32_t>(0xFF0000));
  EXPECT_EQ(DecodeColour("clBtnFace"), std::optional<uint32_t>(0xFF00000F));
  EXPECT_EQ(DecodeColour("clnone"), std::optional<uint32_t>(0x1FFFFFFF));
}

TEST(StoredColour, CustomColourIsReadAndWrittenAsDecimal) {
  // 33023 is 0x0080FF: full red, half green, an orange.
  EXPECT_EQ(DecodeColour("33023"), std::optional<uint32_t>(0x0080FF));
  EXPECT_EQ(EncodeColour(0x0080FF), "33023");
  EXPECT_EQ(DecodeColour(""), std::optional<uint32_t>(0));
  EXPECT_EQ(DecodeColour("255"), std::optional<uint32_t>(0x0000FF));
  EXPECT_EQ(EncodeColour(0x0000FF), "clRed");  // a standard colour is written by name, however it was read
}

TEST(StoredColour, HighBitValueWithoutNameIsWrittenNegativeAndReadBack) {
  // Index 25 has no system colour name.
  EXPECT_EQ(EncodeColour(0xFF000019), "-16777191");
  EXPECT_EQ(DecodeColour("-16777191"), std::optional<uint32_t>(0xFF000019));
  EXPECT_EQ(DecodeColour("-16777201"), std::optional<uint32_t>(0xFF00000F));
  EXPECT_EQ(EncodeColour(0xFF00000F), "clBtnFace");
}

TEST(StoredColour, UnknownNameAndGarbageAreNotApplied) {
  for (const char* text : {"clOrange", "cl", "red", "clRed ", "$FF", "0xFF", "4294967295", "12a"}) {
    EXPECT_FALSE(DecodeColour(text).has_value()) << text;
  }
}

// The background list offers "Custom..." and these sixteen colours, in this order. The
// values are written out here once, so a changed value in the program's tables cannot
// also change what the test expects.
TEST(ColorNames, EveryColourTheBackgroundListOffersByListNameFileNameAndValue) {
  struct Case {
    const char* shown;
    const char* stored;
    uint32_t value;
  };
  const Case cases[] = {
      {"Black", "clBlack", 0x000000}, {"Maroon", "clMaroon", 0x000080},   {"Green", "clGreen", 0x008000},
      {"Olive", "clOlive", 0x008080}, {"Navy", "clNavy", 0x800000},       {"Purple", "clPurple", 0x800080},
      {"Teal", "clTeal", 0x808000},   {"Gray", "clGray", 0x808080},       {"Silver", "clSilver", 0xC0C0C0},
      {"Red", "clRed", 0x0000FF},     {"Lime", "clLime", 0x00FF00},       {"Yellow", "clYellow", 0x00FFFF},
      {"Blue", "clBlue", 0xFF0000},   {"Fuchsia", "clFuchsia", 0xFF00FF}, {"Aqua", "clAqua", 0xFFFF00},
      {"White", "clWhite", 0xFFFFFF},
  };
  ColorBox box("ColorBoxBg", nullptr);
  ASSERT_EQ(box.Entries().size(), 17u);
  EXPECT_EQ(box.Entries()[0].name, "Custom...");
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(box.Entries()[i + 1].name, c.shown) << i + 1;
    EXPECT_EQ(box.Entries()[i + 1].colour, c.value) << c.shown;
    EXPECT_EQ(EncodeColour(c.value), c.stored) << c.shown;
    EXPECT_EQ(DecodeColour(c.stored), std::optional<uint32_t>(c.value)) << c.stored;
    EXPECT_EQ(DecodeColour(AsciiLower(c.stored)), std::optional<uint32_t>(c.value)) << c.stored;
  }
}

TEST(ColorNames, NoValueIsSharedAndNoNameRepeats) {
  std::set<uint32_t> values;
  std::set<std::string> lowerNames;
  for (const ColorName& entry : ColorNameTable) {
    values.insert(entry.value);
    lowerNames.insert(AsciiLower(entry.name));
  }
  EXPECT_EQ(values.size(), 52u);
  EXPECT_EQ(lowerNames.size(), 52u);
}

// The names the list does not offer, which a hand-edited file may still hold.
TEST(ColorNames, OtherNamesAsTheFileFormatDefinesThem) {
  struct Case {
    const char* name;
    uint32_t value;
  };
  for (Case c :
       {Case{"clMoneyGreen", 0xC0DCC0}, Case{"clSkyBlue", 0xF0CAA6}, Case{"clCream", 0xF0FBFF},
        Case{"clMedGray", 0xA4A0A0}, Case{"clNone", 0x1FFFFFFF}, Case{"clDefault", 0x20000000},
        Case{"clScrollBar", 0xFF000000}, Case{"clBtnFace", 0xFF00000F},
        Case{"clInactiveCaptionText", 0xFF000013}, Case{"cl3DDkShadow", 0xFF000015},
        Case{"clInfoBk", 0xFF000018}, Case{"clHotLight", 0xFF00001A}, Case{"clMenuBar", 0xFF00001E}}) {
    EXPECT_EQ(ColorFromName(c.name), std::optional<uint32_t>(c.value)) << c.name;
    EXPECT_EQ(EncodeColour(c.value), c.name);
  }
}

TEST(ColorNames, TwentyFixedTwoSpecialThirtySystemColoursWithoutIndex25) {
  int fixed = 0;
  std::set<uint32_t> systemIndexes;
  for (const ColorName& entry : ColorNameTable) {
    if ((entry.value >> 24) == 0) ++fixed;
    if ((entry.value >> 24) == 0xFF) systemIndexes.insert(entry.value & 0xFFFFFF);
  }
  EXPECT_EQ(fixed, 20);
  std::set<uint32_t> expected;
  for (uint32_t i = 0; i <= 30; ++i) {
    if (i != 25) expected.insert(i);
  }
  EXPECT_EQ(systemIndexes, expected);
}

// ---- The stored-property list ----------------------------------------------

std::ptrdiff_t PositionOf(std::string_view valueName) {
  auto it = std::find_if(StoredProps.begin(), StoredProps.end(),
                         [&](const StoredProp& p) { return StoredValueName(p) == valueName; });
  return it == StoredProps.end() ? -1 : it - StoredProps.begin();
}

TEST(StoredPropsList, FortyEightEntriesInFileOrder) {
  ASSERT_EQ(StoredProps.size(), 48u);
  struct Case {
    std::size_t index;  // file key number minus 9
    const char* name;
    StoredValueKind kind;
  };
  for (Case c : {Case{0, "RadioButtonDimFullscreen_Checked", StoredValueKind::Boolean},
                 Case{3, "ComboBoxDimension_ItemIndex", StoredValueKind::Integer},
                 Case{6, "LabelDimYValue_Caption", StoredValueKind::Text},
                 Case{7, "LabelDimXValue_Caption", StoredValueKind::Text},
                 Case{22, "ColorBoxBg_Selected", StoredValueKind::Colour},
                 Case{27, "LabelInputLinesIndex_Caption", StoredValueKind::Text},
                 Case{32, "ComboBoxVKPause_ItemIndex", StoredValueKind::Integer},
                 Case{41, "ComboBoxKeyToggleBg_ItemIndex", StoredValueKind::Integer},
                 Case{43, "EditOutputVideoPath_Text", StoredValueKind::Text},
                 Case{46, "SpinEditTransparencyClock_Enabled", StoredValueKind::Boolean},
                 Case{47, "SpinEditTransparencyClock_Value", StoredValueKind::Integer}}) {
    EXPECT_EQ(StoredValueName(StoredProps[c.index]), c.name) << c.index;
    EXPECT_EQ(StoredProps[c.index].kind, c.kind) << c.name;
  }
}

TEST(StoredPropsList, ValueNamesAreUniqueIgnoringCase) {
  std::set<std::string> names;
  for (const StoredProp& entry : StoredProps) names.insert(AsciiLower(StoredValueName(entry)));
  EXPECT_EQ(names.size(), StoredProps.size());
}

TEST(StoredPropsList, KindFollowsTheProperty) {
  for (const StoredProp& entry : StoredProps) {
    std::string_view p = entry.property;
    StoredValueKind expected = StoredValueKind::Text;
    if (p == "Checked" || p == "Enabled") expected = StoredValueKind::Boolean;
    if (p == "ItemIndex" || p == "Position" || p == "Value") expected = StoredValueKind::Integer;
    if (p == "Selected") expected = StoredValueKind::Colour;
    EXPECT_EQ(entry.kind, expected) << StoredValueName(entry);
  }
}

// Load order is behaviour: a checked "Custom" button must widen the track bars
// before their positions arrive, and the carrier labels need the device lists.
TEST(StoredPropsList, RadioButtonsPrecedeTrackBarsAndLabelsFollowTheirValues) {
  for (const char* radio : {"RadioButtonDimFullscreen_Checked", "RadioButtonDimPreDefined_Checked",
                            "RadioButtonDimCustom_Checked"}) {
    ASSERT_GE(PositionOf(radio), 0) << radio;
    EXPECT_LT(PositionOf(radio), PositionOf("TrackBarDimX_Position")) << radio;
  }
  EXPECT_LT(PositionOf("RadioButtonPosCustom_Checked"), PositionOf("TrackBarPosX_Position"));
  EXPECT_LT(PositionOf("TrackBarDimY_Position"), PositionOf("LabelDimYValue_Caption"));
  EXPECT_LT(PositionOf("TrackBarPosY_Position"), PositionOf("LabelPosXValue_Caption"));
  EXPECT_LT(PositionOf("ComboBoxAudioDevices_ItemIndex"), PositionOf("LabelInputLinesIndex_Caption"));
  EXPECT_LT(PositionOf("CheckBoxEnableCaptureTransparency_Checked"),
            PositionOf("SpinEditTransparencyClock_Value"));
}

TEST(StoredPropEntry, ParsesComponentDotPropertyIgnoringBlanks) {
  std::optional<StoredPropName> parsed = ParseStoredPropEntry("  RadioButtonDimFullscreen \t. Checked ");
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->component, "RadioButtonDimFullscreen");
  EXPECT_EQ(parsed->property, "Checked");

  for (const StoredProp& entry : StoredProps) {
    std::string text = std::string(entry.component) + "." + std::string(entry.property);
    std::optional<StoredPropName> back = ParseStoredPropEntry(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(back->component + "_" + back->property, StoredValueName(entry));
  }
}

TEST(StoredPropEntry, RefusesEntriesWithoutBothParts) {
  for (const char* text : {"", "NoDot", ".Checked", "Component.", " . ", "  "}) {
    EXPECT_FALSE(ParseStoredPropEntry(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace zelvio
