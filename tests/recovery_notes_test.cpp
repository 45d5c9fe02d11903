// The recovery notes file itself: its name beside the recording, and notes that cannot lead
// to a repair.
#include <gtest/gtest.h>

#include <string>

#include "capture/recovery/recovery_notes.h"
#include "support/mux_inputs.h"

namespace zelvio {
namespace {

TEST(RecoveryNotesFile, NamesPairAndUnreadableNotesRefuseTheRepair) {
  EXPECT_EQ(avi::RecoveryNotesPath("D:\\v\\a.avi"), "D:\\v\\a.avi.recovery");
  EXPECT_EQ(avi::RecordingPathForNotes("D:\\v\\a.avi.recovery"), "D:\\v\\a.avi");
  EXPECT_TRUE(avi::RecoveryNotesPath("D:\\v\\a.avi").ends_with(avi::kRecordingNotesEnding));

  avi::RepairResult report = RepairRecordingFile("/nonexistent/file.avi", "not notes at all");
  EXPECT_EQ(report.outcome, avi::RepairOutcome::Refused);
  EXPECT_NE(report.reason.find("recovery notes"), std::string::npos) << report.reason;

  const avi::RecoveryNotes notes = NotesForRecording("1.1", {}, 25, {VideoInput()});
  EXPECT_EQ(notes.avgTimePerFrame, 400'000) << "one 25th of a second in 100 ns units";
  avi::RepairResult missing = RepairRecordingFile("/nonexistent/file.avi", avi::RecoveryNotesText(notes));
  EXPECT_EQ(missing.outcome, avi::RepairOutcome::NothingToRepair) << missing.reason;
  EXPECT_EQ(missing.reason, "the file is missing");
}

}  // namespace
}  // namespace zelvio
