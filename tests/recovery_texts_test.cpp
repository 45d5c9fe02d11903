// What the program says when a recording stops on its own and when it finds a recording that
// was never finished: the reason, the repair's outcome and the boxes built from them.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/form/recovery_texts.h"

namespace zelvio {
namespace {

constexpr int32_t kDiskFull = static_cast<int32_t>(0x80070070u);
constexpr int32_t kUnspecified = static_cast<int32_t>(0x80004005u);

TEST(RecoveryTexts, ReasonPutsThePlatformsWordsBeforeTheCode) {
  struct Case {
    RecordingAbort abort;
    const char* platformText;
    const char* expected;
  };
  const Case cases[] = {
      {{kDiskFull, ""},
       "There is not enough space on the disk.\r\n",
       "There is not enough space on the disk ($80070070)"},
      {{kUnspecified, ""}, "Error: 0x80004005", "Error: 0x80004005 ($80004005)"},
      {{kUnspecified, "Disk quota exceeded."}, "ignored", "Disk quota exceeded ($80004005)"},
      {{0, "A capture device was removed"}, "", "A capture device was removed"},
      {{kDiskFull, ""}, "", "($80070070)"},
  };
  for (const Case& c : cases) EXPECT_EQ(AbortReasonText(c.abort, c.platformText), c.expected);
}

TEST(RecoveryTexts, OutcomesSayWhatBecameOfTheFile) {
  avi::RepairResult repaired{avi::RepairOutcome::Repaired, 308, 12.345, ""};
  avi::RepairResult complete{avi::RepairOutcome::AlreadyComplete, 0, 0, ""};
  avi::RepairResult refused{avi::RepairOutcome::Refused, 0, 0, "foreign chunks in the file."};
  avi::RepairResult ioError{avi::RepairOutcome::IoError, 0, 0, "the file could not be opened"};
  EXPECT_EQ(RepairOutcomeText(repaired), "The file was repaired and holds 12.3 seconds.");
  EXPECT_EQ(RepairOutcomeText(complete), "The file is complete.");
  EXPECT_EQ(RepairOutcomeText(refused),
            "The file could not be repaired and was left as it is: foreign chunks in the file.");
  EXPECT_EQ(RepairOutcomeText(ioError),
            "The file could not be repaired: the file could not be opened. The repair will be tried again at "
            "the next "
            "start.");

  EXPECT_EQ(
      RecordingStoppedText("D:\\a.avi", "There is not enough space on the disk ($80070070)", ""),
      "The recording stopped because of an error.\nFile: D:\\a.avi\nReason: There is not enough space on the "
      "disk ($80070070).");
  EXPECT_EQ(RecordingStoppedText("D:\\a.avi", "A capture device was removed.", RepairOutcomeText(repaired)),
            "The recording stopped because of an error.\nFile: D:\\a.avi\nReason: A capture device was "
            "removed.\nThe "
            "file was repaired and holds 12.3 seconds.");

  EXPECT_EQ(
      UnfinishedRecordingText("D:\\a.avi", repaired),
      "A recording was not finished when Zelvio last ended.\nFile: D:\\a.avi\nIt was repaired and now holds "
      "12.3 seconds.");
  EXPECT_EQ(UnfinishedRecordingText("D:\\a.avi", refused),
            "A recording was not finished when Zelvio last ended.\nFile: D:\\a.avi\nIt could not be "
            "repaired: foreign "
            "chunks in the file. The file was left as it is, with its recovery notes beside it.");
}

}  // namespace
}  // namespace zelvio
