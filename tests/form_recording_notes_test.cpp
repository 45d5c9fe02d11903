// Recovery notes against the doubles: written beside a recording once it runs, removed at a
// clean stop, kept when the program never stops the recording; at start-up every notes file
// in the screencast folder leads to one repair and one box; and the repair after a failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form/form_main.h"
#include "capture/recovery/recovery_notes_format.h"
#include "capture/graph/graph_events.h"
#include "capture/recovery/recovery_notes.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"
#include "support/mux_inputs.h"

namespace zelvio {
namespace {

constexpr int32_t kDiskFull = static_cast<int32_t>(0x80070070u);
const std::string kFolder = "C:\\Users\\me\\Zelvio\\Output\\Screencasts";
const std::string kAvi = kFolder + "\\Screencast_2024-05-17-14-03-09.avi";
const std::string kNotes = kAvi + ".recovery";

avi::RepairResult Report(avi::RepairOutcome outcome, double seconds, const std::string& reason = "") {
  avi::RepairResult report;
  report.outcome = outcome;
  report.seconds = seconds;
  report.reason = reason;
  return report;
}

struct Notes : ::testing::Test {
  void SetUp() override {
    pipeline.compressors = {"Zelvio Test Codec (dialog)"};
    pipeline.muxInputs = {VideoInput()};
    form.FormCreate();
    form.Show();
    form.ComboBoxVideoCompressors.SetItemIndex(0);
    machine.log.clear();
    pipeline.log.clear();
  }

  FakePlatform machine;
  FakePipeline pipeline;
  TFormMain form{machine.Services(), pipeline};
};

TEST_F(Notes, ARunningRecordingHasNotesThatAStopRemoves) {
  form.JvImgBtnStartPause.Click();
  ASSERT_TRUE(machine.HasFile(kNotes));
  std::optional<avi::RecoveryNotes> notes = avi::ParseRecoveryNotes(machine.FileContents(kNotes));
  ASSERT_TRUE(notes.has_value());
  EXPECT_EQ(notes->programVersion, "1.1");
  EXPECT_EQ(notes->ownerProcess, machine.process.id) << "the notes name the program that records";
  EXPECT_EQ(notes->ownerStarted, machine.process.started);
  EXPECT_EQ(notes->avgTimePerFrame, 400000) << "25 frames a second, as announced at start-up";
  ASSERT_EQ(notes->inputs.size(), 1u);
  EXPECT_EQ(notes->inputs[0].format, VideoInput().format);
  EXPECT_EQ(notes->inputs[0].subType, VideoInput().subType);

  // Pausing and resuming keeps the file, so the notes stay as they are.
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.Count("replace: " + kNotes), 1u);

  form.JvImgBtnStop.Click();
  EXPECT_FALSE(machine.HasFile(kNotes));
  EXPECT_EQ(machine.Entries("remove: "), (std::vector<std::string>{"remove: " + kNotes}));
}

TEST_F(Notes, TheNotesFollowTheAnnouncedFrameRate) {
  FakePlatform other;
  FakePipeline otherPipeline;
  otherPipeline.compressors = {"codec"};
  otherPipeline.muxInputs = {VideoInput()};
  other.PutFile(other.SettingsPath(), "[FormMain]\r\nComboBoxFps_ItemIndex=1\r\n");
  TFormMain second{other.Services(), otherPipeline};
  second.FormCreate();
  second.Show();
  ASSERT_EQ(second.ComboBoxFps.Text(), "10");
  second.ComboBoxVideoCompressors.SetItemIndex(0);
  // Changing the list afterwards changes nothing until the next start.
  second.ComboBoxFps.SetItemIndex(4);
  second.JvImgBtnStartPause.Click();
  std::optional<avi::RecoveryNotes> notes = avi::ParseRecoveryNotes(other.FileContents(kNotes));
  ASSERT_TRUE(notes.has_value());
  EXPECT_EQ(notes->avgTimePerFrame, 1000000);

  // A stored position outside the list announces no rate: the source keeps its 25.
  FakePlatform third;
  FakePipeline thirdPipeline;
  thirdPipeline.compressors = {"codec"};
  thirdPipeline.muxInputs = {VideoInput()};
  third.PutFile(third.SettingsPath(), "[FormMain]\r\nComboBoxFps_ItemIndex=9\r\n");
  TFormMain unset{third.Services(), thirdPipeline};
  unset.FormCreate();
  unset.Show();
  ASSERT_EQ(unset.ComboBoxFps.Text(), "");
  unset.ComboBoxVideoCompressors.SetItemIndex(0);
  unset.JvImgBtnStartPause.Click();
  notes = avi::ParseRecoveryNotes(third.FileContents(kNotes));
  ASSERT_TRUE(notes.has_value()) << third.FileContents(kNotes);
  EXPECT_EQ(notes->avgTimePerFrame, 400000);
}

TEST_F(Notes, NoNotesLeftWhenTheRunFailsTheFolderIsMissingOrNothingReachedTheMux) {
  const std::string list = "D:\\Apps\\Zelvio\\recovery-list.txt";
  pipeline.failures["run"] = {"The system cannot find the path specified ($80070003).",
                              static_cast<int32_t>(0x80070003u)};
  form.Guarded([&] { form.JvImgBtnStartPauseClick(); });
  // Written before the graph runs (their time on the disk is not recorded), and taken back
  // with their line in the list when it does not run.
  EXPECT_EQ(machine.Entries({"replace: ", "remove: "}),
            (std::vector<std::string>{"replace: " + kNotes, "replace: " + list, "remove: " + kNotes,
                                      "remove: " + list}));
  EXPECT_FALSE(machine.HasFile(kNotes));
  EXPECT_FALSE(machine.HasFile(list));
  EXPECT_EQ(machine.Count("error: "), 1u);
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  pipeline.failures.clear();
  machine.log.clear();

  // The notes would create the folder that the graph is meant to find missing.
  machine.missingFolders.insert(kFolder);
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.Count("replace: "), 0u);
  form.JvImgBtnStop.Click();
  machine.missingFolders.clear();

  pipeline.failures.clear();
  pipeline.muxInputs.clear();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.Count("replace: "), 0u);
}

TEST_F(Notes, AFolderThatRefusesTheNotesDoesNotStopTheRecording) {
  machine.failingWrites.insert(kNotes);
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  EXPECT_EQ(machine.Count("error: "), 0u);
  EXPECT_EQ(machine.Count("message: "), 0u);
}

// The mux writes the index and the header during the stop, so the file is checked after
// every stop with the repair's own scan: a complete file loses its notes without a word;
// a file the stop did not finish (whether or not the stop said so) is repaired and told in
// the one box of a failed recording.
TEST_F(Notes, EveryStopChecksTheFileAndAnUnfinishedOneIsRepairedWithOneBox) {
  const std::string head = "error: The recording stopped because of an error.\nFile: " + kAvi + "\nReason: ";
  pipeline.resultTexts[kDiskFull] = "There is not enough space on the disk.";
  const struct {
    const char* name;
    bool stopFails;
    avi::RepairResult outcome;
    bool notesStay;
    std::vector<std::string> boxes;
  } cases[] = {
      {"clean stop, complete file", false, Report(avi::RepairOutcome::AlreadyComplete, 0), false, {}},
      {"clean stop, file held open by another program",
       false,
       Report(avi::RepairOutcome::InUse, 0, "in use"),
       true,
       {}},
      {"clean stop, file left unfinished",
       false,
       Report(avi::RepairOutcome::Repaired, 6.0),
       false,
       {head + "The file was not finished when the recording stopped.\nThe file was repaired and holds 6.0 "
               "seconds."}},
      {"stop fails on a full disk",
       true,
       Report(avi::RepairOutcome::Repaired, 3.0),
       false,
       {head +
        "There is not enough space on the disk ($80070070).\nThe file was repaired and holds 3.0 seconds."}},
      {"stop fails, the repair refuses",
       true,
       Report(avi::RepairOutcome::Refused, 0, "foreign chunks"),
       true,
       {head +
        "There is not enough space on the disk ($80070070).\nThe file could not be repaired and was left as "
        "it is: foreign chunks."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    pipeline.repairOutcomes[kAvi] = c.outcome;
    pipeline.failures.clear();
    form.JvImgBtnStartPause.Click();
    machine.log.clear();
    pipeline.log.clear();
    if (c.stopFails) pipeline.failures["stop"] = {"Error: 0x80070070 ($80070070).", kDiskFull};
    form.Guarded([&] { form.JvImgBtnStopClick(); });
    EXPECT_EQ(pipeline.log, (std::vector<std::string>{"stop", "repair: " + kAvi}));
    EXPECT_EQ(machine.HasFile(kNotes), c.notesStay);
    EXPECT_EQ(machine.Entries({"error: ", "message: "}), c.boxes);
    EXPECT_EQ(form.State(), RecordingState::Stopped);
    machine.files.erase(kNotes);
  }
}

TEST_F(Notes, ClosingWhileRecordingStopsAndRemovesTheNotes) {
  form.JvImgBtnStartPause.Click();
  form.CloseQuery();
  EXPECT_FALSE(machine.HasFile(kNotes));
}

// ---- Repair after a failure -----------------------------------------------------------------

TEST_F(Notes, AFailureRepairsTheFileBeforeTheBoxAndRemovesTheNotes) {
  pipeline.resultTexts[kDiskFull] = "There is not enough space on the disk.";
  pipeline.repairOutcomes[kAvi] = Report(avi::RepairOutcome::Repaired, 7.96);
  form.JvImgBtnStartPause.Click();
  const std::string written = machine.FileContents(kNotes);
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  ASSERT_EQ(pipeline.repairs.size(), 1u);
  EXPECT_EQ(pipeline.repairs[0].aviPath, kAvi);
  EXPECT_EQ(pipeline.repairs[0].notes, written);
  // Stop first (the mux lets go of the file), then the repair.
  std::vector<std::string> tail(pipeline.log.end() - 2, pipeline.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "repair: " + kAvi}));
  EXPECT_FALSE(machine.HasFile(kNotes));
  EXPECT_EQ(
      machine.Entries("error: "),
      (std::vector<std::string>{"error: The recording stopped because of an error.\nFile: " + kAvi +
                                "\nReason: There is not enough space on the disk ($80070070).\nThe file was "
                                "repaired and holds 8.0 seconds."}));
}

TEST_F(Notes, ARefusedRepairAfterAFailureKeepsTheNotesAndSaysSo) {
  pipeline.repairOutcomes[kAvi] = Report(avi::RepairOutcome::Refused, 0, "foreign chunks in the file");
  form.JvImgBtnStartPause.Click();
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  EXPECT_TRUE(machine.HasFile(kNotes));
  ASSERT_EQ(machine.Count("error: "), 1u);
  const std::string box = machine.Entries("error: ")[0];
  EXPECT_NE(box.find("The file could not be repaired and was left as it is: foreign chunks in the file."),
            std::string::npos)
      << box;
}

// ---- Start-up -------------------------------------------------------------------------------

struct UnfinishedAtStart : ::testing::Test {
  void SetUp() override {
    pipeline.compressors = {"Zelvio Test Codec (dialog)"};
    form.FormCreate();
    form.Show();
    machine.log.clear();
    pipeline.log.clear();
  }

  FakePlatform machine;
  FakePipeline pipeline;
  TFormMain form{machine.Services(), pipeline};
};

TEST_F(UnfinishedAtStart, EveryNotesFileLeadsToOneRepairAndOneBox) {
  const std::string a = kFolder + "\\Screencast_2026-12-01-10-00-00.avi";
  const std::string b = kFolder + "\\Screencast_2026-12-02-10-00-00.avi";
  const std::string c = kFolder + "\\Screencast_2026-12-03-10-00-00.avi";
  const std::string d = kFolder + "\\Screencast_2026-12-04-10-00-00.avi";
  const std::string e = kFolder + "\\Screencast_2026-12-05-10-00-00.avi";
  for (const std::string& avi : {a, b, c, d, e}) machine.PutFile(avi + ".recovery", "notes of " + avi);
  // Not ours: another folder, another suffix, a finished recording without notes.
  machine.PutFile(kFolder + "\\Other\\Screencast_x.avi.recovery", "elsewhere");
  machine.PutFile(kFolder + "\\Screencast_y.avi", "finished");
  machine.PutFile(kFolder + "\\Screencast_y.avi.bak", "a copy");
  pipeline.repairOutcomes[a] = Report(avi::RepairOutcome::Repaired, 4.0);
  pipeline.repairOutcomes[b] = Report(avi::RepairOutcome::AlreadyComplete, 0);
  pipeline.repairOutcomes[c] = Report(avi::RepairOutcome::Refused, 0, "the file does not match its notes");
  pipeline.repairOutcomes[d] = Report(avi::RepairOutcome::IoError, 0, "Access is denied.");
  pipeline.repairOutcomes[e] = Report(avi::RepairOutcome::Repaired, 0.04);

  form.RecoverUnfinishedRecordings();

  ASSERT_EQ(pipeline.repairs.size(), 5u);
  EXPECT_EQ(pipeline.repairs[2].aviPath, c);
  EXPECT_EQ(pipeline.repairs[2].notes, "notes of " + c);
  // Repaired and complete files lose their notes; the others keep them for another try.
  EXPECT_FALSE(machine.HasFile(a + ".recovery"));
  EXPECT_FALSE(machine.HasFile(b + ".recovery"));
  EXPECT_TRUE(machine.HasFile(c + ".recovery"));
  EXPECT_TRUE(machine.HasFile(d + ".recovery"));
  EXPECT_FALSE(machine.HasFile(e + ".recovery"));
  const std::string head = "A recording was not finished when Zelvio last ended.\nFile: ";
  EXPECT_EQ(machine.Entries({"message: ", "error: "}),
            (std::vector<std::string>{
                "message: " + head + a + "\nIt was repaired and now holds 4.0 seconds.",
                "error: " + head + c +
                    "\nIt could not be repaired: the file does not match its notes. The file was left as it "
                    "is, with "
                    "its recovery notes beside it.",
                "error: " + head + d +
                    "\nIt could not be repaired: Access is denied. The repair will be tried again at the "
                    "next start.",
                "message: " + head + e + "\nIt was repaired and now holds 0.0 seconds.",
            }));
}

TEST_F(UnfinishedAtStart, LooksInTheChosenFolderAndSaysNothingWhenThereIsNothing) {
  form.EditOutputVideoPath.SetText("D:\\Videos");
  machine.PutFile(kNotes, "in the default folder, which is not the chosen one");
  machine.logQueries = true;
  form.RecoverUnfinishedRecordings();
  EXPECT_EQ(machine.Entries("list: "), (std::vector<std::string>{"list: D:\\Videos\\*.avi.recovery"}));
  EXPECT_TRUE(pipeline.repairs.empty());
  EXPECT_EQ(machine.Count("message: ") + machine.Count("error: "), 0u);
}

TEST_F(UnfinishedAtStart, AnEmptyFolderOptionMeansTheDefaultFolder) {
  form.EditOutputVideoPath.SetText("");
  machine.PutFile(kNotes, "notes");
  pipeline.repairOutcomes[kAvi] = Report(avi::RepairOutcome::Repaired, 2.5);
  form.RecoverUnfinishedRecordings();
  ASSERT_EQ(pipeline.repairs.size(), 1u);
  EXPECT_EQ(pipeline.repairs[0].aviPath, kAvi);
}

// Notes whose file is gone or holds nothing can never lead to a repair: one box says so,
// once, and the notes go. Names are compared as Windows compares them, without regard to
// letter case, so notes written in capitals find their file too.
TEST_F(UnfinishedAtStart, NotesThatCanNeverSucceedAreToldOnceAndRemoved) {
  const std::string gone = kFolder + "\\Screencast_2026-12-01-10-00-00.avi";
  const std::string upper = kFolder + "\\SCREENCAST_2026-12-02-10-00-00.AVI";
  machine.PutFile(gone + ".recovery", "notes");
  machine.PutFile(upper + ".RECOVERY", "notes in capitals");
  pipeline.repairOutcomes[gone] = Report(avi::RepairOutcome::NothingToRepair, 0, "the file is missing");
  pipeline.repairOutcomes[upper] = Report(avi::RepairOutcome::Repaired, 2.0);

  form.RecoverUnfinishedRecordings();
  const std::string head = "message: A recording was not finished when Zelvio last ended.\nFile: ";
  EXPECT_EQ(
      machine.Entries({"message: ", "error: "}),
      (std::vector<std::string>{
          head + upper + "\nIt was repaired and now holds 2.0 seconds.",
          head + gone + "\nThere is nothing to repair: the file is missing. Its recovery notes were removed.",
      }));
  ASSERT_EQ(pipeline.repairs.size(), 2u);
  EXPECT_EQ(pipeline.repairs[0].aviPath, upper);
  EXPECT_FALSE(machine.HasFile(gone + ".recovery"));
  EXPECT_FALSE(machine.HasFile(upper + ".RECOVERY"));

  machine.log.clear();
  form.RecoverUnfinishedRecordings();
  EXPECT_EQ(machine.Count("message: ") + machine.Count("error: "), 0u) << "said once only";
}

// A second copy of the program must not take a live recording for an unfinished one: the
// notes name their program, and while it runs (the same id and the same start) they are
// left alone without a word. A file that another handle holds is skipped the same way.
TEST_F(UnfinishedAtStart, ALiveRecordingOfAnotherCopyIsLeftAlone) {
  auto notesOf = [](uint32_t id, uint64_t started) {
    return avi::RecoveryNotesText(NotesForRecording("1.1", {id, started}, 25, {VideoInput()}));
  };
  const std::string live = kFolder + "\\Screencast_2026-12-01-10-00-00.avi";
  const std::string reused = kFolder + "\\Screencast_2026-12-02-10-00-00.avi";
  const std::string ended = kFolder + "\\Screencast_2026-12-03-10-00-00.avi";
  const std::string older = kFolder + "\\Screencast_2026-12-04-10-00-00.avi";
  const std::string held = kFolder + "\\Screencast_2026-12-05-10-00-00.avi";
  machine.runningProcesses = {{77, 1000}};
  machine.PutFile(live + ".recovery", notesOf(77, 1000));
  machine.PutFile(reused + ".recovery", notesOf(77, 999));  // the id now belongs to another program
  machine.PutFile(ended + ".recovery", notesOf(78, 1000));
  std::string withoutOwner = notesOf(1, 1);
  withoutOwner.erase(withoutOwner.find("owner="), withoutOwner.find("input=") - withoutOwner.find("owner="));
  machine.PutFile(older + ".recovery", withoutOwner);
  machine.PutFile(held + ".recovery", notesOf(79, 1000));
  for (const std::string& avi : {reused, ended, older})
    pipeline.repairOutcomes[avi] = Report(avi::RepairOutcome::Repaired, 1.0);
  pipeline.repairOutcomes[held] = Report(avi::RepairOutcome::InUse, 0, "The process cannot access the file");

  form.RecoverUnfinishedRecordings();
  std::vector<std::string> repaired;
  for (const auto& repair : pipeline.repairs) repaired.push_back(repair.aviPath);
  EXPECT_EQ(repaired, (std::vector<std::string>{reused, ended, older, held}));
  EXPECT_TRUE(machine.HasFile(live + ".recovery"));
  EXPECT_TRUE(machine.HasFile(held + ".recovery"));
  EXPECT_EQ(machine.Count("message: "), 3u);
  EXPECT_EQ(machine.Count("error: "), 0u);
}

// The screencast folder may change while the program runs, and the settings that name it
// are saved only at close: a recording started in a folder chosen meanwhile, then cut short,
// is still found at the next start, through the list beside the program.
TEST(UnfinishedElsewhere, ARecordingInAFolderChosenWhileRunningIsFoundAtTheNextStart) {
  FakePlatform machine;
  const std::string elsewhere = "E:\\Elsewhere";
  const std::string avi = elsewhere + "\\Screencast_2024-05-17-14-03-09.avi";
  const std::string list = machine.executableDirectory + "\\recovery-list.txt";
  {
    FakePipeline pipeline;
    pipeline.compressors = {"codec"};
    pipeline.muxInputs = {VideoInput()};
    TFormMain crashed{machine.Services(), pipeline};
    crashed.FormCreate();
    crashed.Show();
    crashed.ComboBoxVideoCompressors.SetItemIndex(0);
    crashed.EditOutputVideoPath.SetText(elsewhere);
    crashed.JvImgBtnStartPause.Click();
    ASSERT_TRUE(machine.HasFile(avi + ".recovery"));
    EXPECT_EQ(machine.FileContents(list), avi + ".recovery\r\n");
    // The program ends here without a stop and without saving its settings.
  }
  ASSERT_FALSE(machine.HasFile(machine.SettingsPath()));
  machine.PutFile(list, machine.FileContents(list) + "F:\\Unplugged\\Screencast_x.avi.recovery\r\n" +
                            "C:\\Gone\\Screencast_y.avi.recovery\r\n");
  machine.missingFolders.insert("F:\\Unplugged");
  machine.log.clear();
  machine.process = {5151, machine.process.started + 1};  // the next run is another process

  FakePipeline pipeline;
  pipeline.repairOutcomes[avi] = Report(avi::RepairOutcome::Repaired, 4.0);
  TFormMain next{machine.Services(), pipeline};
  next.FormCreate();
  next.Show();
  ASSERT_NE(next.EditOutputVideoPath.Text(), elsewhere);
  next.RecoverUnfinishedRecordings();
  ASSERT_EQ(pipeline.repairs.size(), 1u);
  EXPECT_EQ(pipeline.repairs[0].aviPath, avi);
  EXPECT_EQ(
      machine.Entries("message: "),
      (std::vector<std::string>{"message: A recording was not finished when Zelvio last ended.\nFile: " +
                                avi + "\nIt was repaired and now holds 4.0 seconds."}));
  EXPECT_FALSE(machine.HasFile(avi + ".recovery"));
  // What is done leaves the list; a drive that is not there keeps its entry for later.
  EXPECT_EQ(machine.FileContents(list), "F:\\Unplugged\\Screencast_x.avi.recovery\r\n");

  machine.missingFolders.clear();
  next.RecoverUnfinishedRecordings();
  EXPECT_EQ(pipeline.repairs.size(), 1u);
  EXPECT_FALSE(machine.HasFile(list)) << "an empty list is removed";
}

TEST_F(Notes, WithoutItsOwnFolderTheProgramKeepsNoListElsewhere) {
  machine.executableDirectory.clear();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.Entries("replace: "), (std::vector<std::string>{"replace: " + kNotes}));
  EXPECT_TRUE(machine.HasFile(kNotes));
}

TEST_F(UnfinishedAtStart, StartUpOrderRunsNoRepair) {
  FakePlatform fresh;
  FakePipeline freshPipeline;
  fresh.PutFile(kNotes, "notes");
  TFormMain other{fresh.Services(), freshPipeline};
  other.FormCreate();
  other.Show();
  EXPECT_TRUE(freshPipeline.repairs.empty())
      << "the repair comes after the window shows, not among the show steps";
}

}  // namespace
}  // namespace zelvio
