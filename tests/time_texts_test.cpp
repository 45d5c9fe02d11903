// The duration read-out and the dated file names.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/form/time_texts.h"

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

}  // namespace
}  // namespace zelvio
