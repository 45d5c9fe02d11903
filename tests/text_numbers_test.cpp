// Decimal texts of the controls read back as numbers.
#include <gtest/gtest.h>

#include "app/form/text_numbers.h"

namespace zelvio {
namespace {

TEST(IntegerOrTest, OnlyPlainDecimals) {
  EXPECT_EQ(IntegerOr("-1", 5), -1);
  EXPECT_EQ(IntegerOr("12", 5), 12);
  EXPECT_EQ(IntegerOr("", 5), 5);
  EXPECT_EQ(IntegerOr("1x", 5), 5);
  EXPECT_EQ(IntegerOr("99999999999", 5), 5);
}

}  // namespace
}  // namespace zelvio
