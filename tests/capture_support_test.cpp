// The portable decisions of the capture graph: GUID text, error texts, the running
// object table name, the compressor position table and stored device monikers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/catalog/compressor_table.h"
#include "capture/catalog/device_moniker.h"
#include "capture/graph/graph_texts.h"
#include "capture/media/guid.h"

namespace zelvio {
namespace {

TEST(Guid, TextRoundTripAndRejects) {
  Guid g;
  ASSERT_TRUE(ParseGuid("{570757c1-d2d8-42d1-ba0c-24e1bed3f62f}", g));
  EXPECT_EQ(g.Data1, 0x570757C1u);
  EXPECT_EQ(g.Data2, 0xD2D8);
  EXPECT_EQ(g.Data3, 0x42D1);
  EXPECT_EQ(g.Data4[0], 0xBA);
  EXPECT_EQ(g.Data4[7], 0x2F);
  EXPECT_EQ(GuidText(g), "{570757C1-D2D8-42D1-BA0C-24E1BED3F62F}");
  EXPECT_TRUE(g == GuidLiteral("{570757C1-D2D8-42D1-BA0C-24E1BED3F62F}"));

  Guid untouched = g;
  EXPECT_FALSE(ParseGuid("570757C1-D2D8-42D1-BA0C-24E1BED3F62F", untouched));
  EXPECT_FALSE(ParseGuid("{570757C1-D2D8-42D1-BA0C-24E1BED3F62}", untouched));
  EXPECT_FALSE(ParseGuid("{570757C1-D2D8-42D1-BA0C+24E1BED3F62F}", untouched));
  EXPECT_FALSE(ParseGuid("{570757G1-D2D8-42D1-BA0C-24E1BED3F62F}", untouched));
  EXPECT_FALSE(ParseGuid("", untouched));
  EXPECT_TRUE(untouched == g);
}

TEST(GraphErrorText, PlatformTextThenUpperCaseCode) {
  EXPECT_EQ(GraphErrorText("Error: 0x80004005", static_cast<int32_t>(0x80004005)),
            "Error: 0x80004005 ($80004005).");
  EXPECT_EQ(GraphErrorText("Catastrophic failure\r\n", static_cast<int32_t>(0x8000FFFF)),
            "Catastrophic failure ($8000FFFF).");
  EXPECT_EQ(GraphErrorText("", static_cast<int32_t>(0x8004022A)), " ($8004022A).");
  std::string longText(300, 'x');
  EXPECT_EQ(GraphErrorText(longText, -1), std::string(255, 'x') + " ($FFFFFFFF).");
}

// DirectShow has words for its own codes only; for a code of the system it spells the
// number, and the system's words take its place. Words of DirectShow's own are kept, and
// where the system has none either the number stays.
TEST(GraphResultWords, TheSystemsWordsReplaceOnlyABareCode) {
  const std::string path = "The system cannot find the path specified";
  EXPECT_EQ(GraphResultWords("Error: 0x80070003", path), path);
  EXPECT_EQ(GraphResultWords("Error: 0x80070003.\r\n", path), path);
  EXPECT_EQ(GraphResultWords("0x80070003", path), path);
  EXPECT_EQ(GraphResultWords("", path), path);
  EXPECT_EQ(GraphResultWords("Error: 0x8004025f", ""), "Error: 0x8004025f");
  EXPECT_EQ(GraphResultWords("Error: 0x80070003", "Error: 0x80070003"), "Error: 0x80070003");
  EXPECT_EQ(GraphResultWords("The graph could not be run", path), "The graph could not be run");
  EXPECT_EQ(GraphResultWords("Error: 0x8007000Z", path), "Error: 0x8007000Z");
  EXPECT_EQ(GraphResultWords("Error: file 0x1 missing", path), "Error: file 0x1 missing");
  EXPECT_EQ(GraphErrorText(GraphResultWords("Error: 0x80070003", path), static_cast<int32_t>(0x80070003u)),
            "The system cannot find the path specified ($80070003).");
}

TEST(RunningObjectName, PointerWidthAndLowerCasePid) {
  EXPECT_EQ(RunningObjectName(0xABC0, 0x1F4, 8), "FilterGraph 000000000000ABC0 pid 1f4");
  EXPECT_EQ(RunningObjectName(0x12345678, 0x20, 4), "FilterGraph 12345678 pid 20");
}

TEST(CompressorPositionTable, MapsListedPositionsOnly) {
  CompressorPositionTable table;
  EXPECT_EQ(table.CategoryIndexAt(0), -1);
  ASSERT_TRUE(table.Append(3));
  ASSERT_TRUE(table.Append(5));
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.CategoryIndexAt(0), 3);
  EXPECT_EQ(table.CategoryIndexAt(1), 5);
  EXPECT_EQ(table.CategoryIndexAt(2), -1);
  EXPECT_EQ(table.CategoryIndexAt(-1), -1);
}

TEST(CompressorPositionTable, HundredSlotsThenFull) {
  CompressorPositionTable table;
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(table.Append(i * 2));
  EXPECT_FALSE(table.Append(999));
  EXPECT_EQ(table.Count(), 100);
  EXPECT_EQ(table.CategoryIndexAt(99), 198);
  EXPECT_EQ(table.CategoryIndexAt(100), -1);
}

TEST(StoredDeviceMoniker, FixedFilterFormIs198Bytes) {
  std::u16string name = FilterEntryDisplayName(GuidLiteral("{E2510970-F137-11CE-8B67-00AA00A3F1A6}"));
  EXPECT_EQ(name,
            u"@device:sw:{083863F1-70DE-11D0-BD40-00A0C911CE86}\\{E2510970-F137-11CE-8B67-00AA00A3F1A6}");
  std::vector<uint8_t> stored = StoredDeviceMoniker(name);
  ASSERT_EQ(stored.size(), 198u);
  // Moniker class {4315D437-5B8C-11D0-BD3B-00A0C911CE86} in its in-memory byte order.
  const std::vector<uint8_t> monikerClass = {0x37, 0xD4, 0x15, 0x43, 0x8C, 0x5B, 0xD0, 0x11,
                                             0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86};
  EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.begin() + 16), monikerClass);
  EXPECT_EQ(std::vector<uint8_t>(stored.begin() + 16, stored.begin() + 20),
            (std::vector<uint8_t>{178, 0, 0, 0}));
  EXPECT_EQ(stored[20], '@');
  EXPECT_EQ(stored[21], 0);
  EXPECT_EQ(stored[196], 0);
  EXPECT_EQ(stored[197], 0);
  EXPECT_EQ(stored[194], '}');

  std::u16string back;
  ASSERT_TRUE(StoredDeviceMonikerName(stored, back));
  EXPECT_EQ(back, name);
}

TEST(StoredDeviceMoniker, RejectsOtherBytes) {
  std::vector<uint8_t> stored =
      StoredDeviceMoniker(u"@device:cm:{33D9A762-90C8-11D0-BD43-00A0C911CE86}\\Mic");
  std::u16string name = u"unchanged";
  std::vector<uint8_t> wrongClass = stored;
  wrongClass[0] ^= 1;
  EXPECT_FALSE(StoredDeviceMonikerName(wrongClass, name));
  std::vector<uint8_t> truncated(stored.begin(), stored.end() - 2);
  EXPECT_FALSE(StoredDeviceMonikerName(truncated, name));
  std::vector<uint8_t> unterminated = stored;
  unterminated[unterminated.size() - 2] = 'x';
  EXPECT_FALSE(StoredDeviceMonikerName(unterminated, name));
  EXPECT_FALSE(StoredDeviceMonikerName({}, name));
  EXPECT_EQ(name, u"unchanged");
}

}  // namespace
}  // namespace zelvio
