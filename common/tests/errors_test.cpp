// The text of the error box: the full stop after the failure's own words.
#include <gtest/gtest.h>

#include "common/errors.h"

namespace zelvio {
namespace {

TEST(ErrorBoxTextTest, PeriodOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("Error: Failed to open file: Filters/PushSource.ax"),
            "Error: Failed to open file: Filters/PushSource.ax.");
  EXPECT_EQ(ErrorBoxText("Unspecified error ($80004005)."), "Unspecified error ($80004005).");
  EXPECT_EQ(ErrorBoxText("ends in a blank "), "ends in a blank ");
  EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace zelvio
