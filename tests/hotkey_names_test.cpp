// The names the hotkey lists show, as modifier flags and virtual-key codes.
#include <gtest/gtest.h>

#include "hotkeys/hotkey_names.h"

namespace zelvio {
namespace {

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

}  // namespace
}  // namespace zelvio
