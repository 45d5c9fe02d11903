// Duration read-out, dated file names and hotkey name mappings.
#include <gtest/gtest.h>

#include "app/form/text_numbers.h"
#include "app/form/time_texts.h"
#include "hotkeys/hotkey_names.h"
#include "platform/errors.h"

namespace zelvio {
namespace {

TEST(DurationTextTest, FormatsAndWrapsAtOneDay) {
  EXPECT_EQ(DurationText(0), "00:00:00.000");
  EXPECT_EQ(DurationText(1'234'567'890), "00:02:03.456");
  EXPECT_EQ(DurationText(9'999), "00:00:00.000") << "the remainder below a millisecond is dropped";
  const int64_t hour = 36'000'000'000;
  EXPECT_EQ(DurationText(23 * hour + 59 * 600'000'000LL), "23:59:00.000");
  EXPECT_EQ(DurationText(24 * hour), "00:00:00.000");
  EXPECT_EQ(DurationText(25 * hour + 10'000), "01:00:00.001");
}

TEST(DatedFilePathTest, NamesFromTheLocalTime) {
  LocalTime t{2026, 12, 6, 15, 16, 29};
  EXPECT_EQ(FileTimeText(t), "2026-12-06-15-16-29");
  EXPECT_EQ(DatedFilePath("C:\\Zelvio\\Output\\Screencasts", "Screencast_", t, "avi"),
            "C:\\Zelvio\\Output\\Screencasts\\Screencast_2026-12-06-15-16-29.avi");
  // A folder ending in a backslash is used as it is.
  EXPECT_EQ(DatedFilePath("D:\\", "Screenshot_", LocalTime{2024, 3, 5, 14, 7, 9}, "bmp"),
            "D:\\\\Screenshot_2024-03-05-14-07-09.bmp");
}

TEST(HotkeyNamesTest, ModifiersAndKeys) {
  EXPECT_EQ(ModifierFlagsFromName("NONE"), 0u);
  EXPECT_EQ(ModifierFlagsFromName("ALT"), 1u);
  EXPECT_EQ(ModifierFlagsFromName("CTRL"), 2u);
  EXPECT_EQ(ModifierFlagsFromName("SHIFT"), 4u);
  EXPECT_EQ(ModifierFlagsFromName("WIN"), 8u);
  EXPECT_EQ(ModifierFlagsFromName("alt"), 8u) << "the comparison is exact";
  EXPECT_EQ(ModifierFlagsFromName(""), 8u);
  EXPECT_EQ(VirtualKeyFromName("A"), 0x41u);
  EXPECT_EQ(VirtualKeyFromName("Z"), 0x5Au);
  EXPECT_EQ(VirtualKeyFromName("F1"), 0x70u);
  EXPECT_EQ(VirtualKeyFromName("F9"), 0x78u);
  EXPECT_EQ(VirtualKeyFromName("F10"), 0x79u);
  EXPECT_EQ(VirtualKeyFromName(""), 0u);
}

TEST(ErrorBoxTextTest, PeriodOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("Error: Failed to open file: Filters/PushSource.ax"),
            "Error: Failed to open file: Filters/PushSource.ax.");
  EXPECT_EQ(ErrorBoxText("Unspecified error ($80004005)."), "Unspecified error ($80004005).");
  EXPECT_EQ(ErrorBoxText("ends in a blank "), "ends in a blank ");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(IntegerOrTest, OnlyPlainDecimals) {
  EXPECT_EQ(IntegerOr("-1", 5), -1);
  EXPECT_EQ(IntegerOr("12", 5), 12);
  EXPECT_EQ(IntegerOr("", 5), 5);
  EXPECT_EQ(IntegerOr("1x", 5), 5);
  EXPECT_EQ(IntegerOr("99999999999", 5), 5);
}

}  // namespace
}  // namespace zelvio
