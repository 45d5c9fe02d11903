// A recording that the graph stops writing, and a Record whose graph does not run at all:
// what the user is told, and that the form ends up exactly where Stop leaves it, with one
// box only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/graph/graph_events.h"
#include "support/mux_inputs.h"
#include "support/recorder.h"

namespace zelvio {
namespace {

constexpr int32_t kDiskFull = static_cast<int32_t>(0x80070070u);
constexpr int32_t kUnspecified = static_cast<int32_t>(0x80004005u);
constexpr const char* kPath =
    "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2024-05-17-14-03-09.avi";
constexpr const char* kDiskFullText = "There is not enough space on the disk.";

// A recording running when the graph reports.
struct Failure : Recorder {
  void SetUp() override {
    pipeline.resultTexts[kDiskFull] = kDiskFullText;
    Recorder::SetUp();
    form.JvImgBtnStartPause.Click();
    ClearLogs();
  }

  static std::string DiskFullBox(const std::string& path) {
    return "error: The recording stopped because of an error.\nFile: " + path +
           "\nReason: There is not enough space on the disk ($80070070).";
  }
};

TEST_F(Failure, AbortWhileRecordingStopsAsStopDoesAndShowsOneBox) {
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  ExpectStoppedAsStopLeavesIt();
  EXPECT_EQ(pipeline.log, (std::vector<std::string>{"stop"}));
  // The colour goes to the overlay before the box, as Stop would send it.
  EXPECT_EQ(machine.Entries({"copydata: ", "error: ", "message: "}),
            (std::vector<std::string>{"copydata: ChangeFormColor$00FF00$0", DiskFullBox(kPath)}));
}

TEST_F(Failure, AbortWhilePausedStopsToo) {
  form.JvImgBtnStartPause.Click();  // paused
  machine.log.clear();
  pipeline.SendEvent({graph_event::kStreamErrorStopped, kDiskFull, 0, ""});
  ExpectStoppedAsStopLeavesIt();
  EXPECT_EQ(machine.Entries("error: "), (std::vector<std::string>{DiskFullBox(kPath)}));
}

TEST_F(Failure, EveryFilterReportingTheSameFailureStillGivesOneBox) {
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  pipeline.SendEvent({graph_event::kStreamErrorStopped, kDiskFull, 0, ""});
  pipeline.SendEvent({graph_event::kErrorAbort, kUnspecified, 0, ""});
  EXPECT_EQ(machine.Count("error: "), 1u);
  EXPECT_EQ(pipeline.Count("stop"), 1u);
}

TEST_F(Failure, EventsThatLeaveTheFileBeingWrittenChangeNothing) {
  for (GraphEvent event : {GraphEvent{graph_event::kComplete, 0, 0, ""},
                           GraphEvent{graph_event::kStreamErrorStillPlaying, kUnspecified, 0, ""},
                           GraphEvent{graph_event::kDeviceLost, 1, 1, ""}, GraphEvent{0x0D, 0, 0, ""}}) {
    pipeline.SendEvent(event);
  }
  EXPECT_EQ(form.State(), RecordingState::Recording);
  EXPECT_TRUE(form.JvImgBtnStop.Enabled());
  EXPECT_TRUE(machine.log.empty());
  EXPECT_TRUE(pipeline.log.empty());
}

TEST_F(Failure, AbortAfterStopIsIgnored) {
  form.JvImgBtnStop.Click();
  machine.log.clear();
  pipeline.log.clear();
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  EXPECT_TRUE(machine.log.empty());
  EXPECT_TRUE(pipeline.log.empty());
}

TEST_F(Failure, AStopThatFailsAgainIsNotASecondBoxAndTheControlsStillStop) {
  pipeline.failures["stop"] = {"Error: 0x80070070 ($80070070).", kDiskFull};
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  ExpectStoppedAsStopLeavesIt();
  EXPECT_EQ(machine.Entries("error: "), (std::vector<std::string>{DiskFullBox(kPath)}));
}

TEST_F(Failure, EventsWithoutACodeExplainThemselves) {
  pipeline.SendEvent({graph_event::kDeviceLost, 0x55, 0, ""});
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: The recording stopped because of an error.\nFile: " +
                                      std::string(kPath) + "\nReason: A capture device was removed."}));
}

TEST_F(Failure, TheBoxNamesTheFileOfTheRecordingThatFailed) {
  form.JvImgBtnStop.Click();
  // An option change rebuilds with a new name but records nothing; the next Record does.
  machine.now = LocalTime{2026, 12, 7, 9, 0, 1};
  form.ComboBoxVideoCompressors.SetItemIndex(0);
  form.BuildCaptureGraph();
  machine.now = LocalTime{2026, 12, 7, 9, 30, 5};
  form.JvImgBtnStartPause.Click();
  machine.now = LocalTime{2026, 12, 7, 9, 45, 0};
  form.BuildCaptureGraph();  // not possible from the panel while recording; the name must not follow it
  machine.log.clear();
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{DiskFullBox(
                "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2026-12-07-09-30-05.avi")}));
}

TEST_F(Failure, RecordAfterAFailureStartsAFreshRecording) {
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  pipeline.log.clear();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  ASSERT_EQ(pipeline.log.size(), 2u);
  EXPECT_EQ(pipeline.log[0].rfind("build: ", 0), 0u);
  EXPECT_EQ(pipeline.log[1], "run");
}

TEST_F(Failure, MissingOverlayIsReportedAndTheStopGoesOn) {
  machine.overlayWindow = false;
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});
  ExpectStoppedAsStopLeavesIt();
  EXPECT_EQ(machine.Entries({"error: ", "message: "}),
            (std::vector<std::string>{"message: Receiver application not found", DiskFullBox(kPath)}));
}

// Record pressed, and the graph does not run (a folder that is missing or cannot be
// written, a compressor that refuses the picture, a device that is gone).
struct NotStarted : Recorder {
  void SetUp() override {
    pipeline.muxInputs = {VideoInput()};
    pipeline.resultTexts[kPathNotFound] = "The system cannot find the path specified.";
    Recorder::SetUp();
  }

  void PressRecord() {
    form.Guarded([&] { form.JvImgBtnStartPauseClick(); });
  }

  static constexpr int32_t kPathNotFound = static_cast<int32_t>(0x80070003u);
  const std::string list = "D:\\Apps\\Zelvio\\recovery-list.txt";
};

TEST_F(NotStarted, EveryWayOfFailingEndsStoppedWithOneBoxNamingFileAndReason) {
  const std::string head =
      "error: The recording could not start.\nFile: " + std::string(kPath) + "\nReason: ";
  const struct {
    const char* name;
    FakePipeline::Failure run;
    bool stopFailsToo;
    std::string box;
  } cases[] = {
      {"missing folder, the system's words for the code",
       {"Error: 0x80070003 ($80070003).", kPathNotFound},
       false,
       head + "The system cannot find the path specified ($80070003)."},
      {"a code without words of the platform",
       {"Error: 0x8004025F ($8004025F).", static_cast<int32_t>(0x8004025Fu)},
       false,
       head + "Error: 0x8004025F ($8004025F)."},
      {"a failure of our own, without a code",
       {"The compressor refuses the picture.", 0},
       false,
       head + "The compressor refuses the picture."},
      {"the stop after it fails as well",
       {"Error: 0x80070003 ($80070003).", kPathNotFound},
       true,
       head + "The system cannot find the path specified ($80070003)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    machine.now.second += 1;  // a file name of its own for each press
    pipeline.failures.clear();
    pipeline.failures["run"] = c.run;
    if (c.stopFailsToo) pipeline.failures["stop"] = {"Error: 0x80070003 ($80070003).", kPathNotFound};
    machine.log.clear();
    PressRecord();
    ExpectStoppedAsStopLeavesIt();
    EXPECT_TRUE(form.JvImgBtnStartPause.Enabled());
    // Green after the red, before the box: the frame never stays red over a box.
    std::string file = pipeline.builds.back().screencastPath;
    std::string box = c.box;
    box.replace(box.find(kPath), std::string(kPath).size(), file);
    EXPECT_EQ(machine.Entries({"copydata: ", "error: ", "message: "}),
              (std::vector<std::string>{"copydata: ChangeFormColor$FF0000$0",
                                        "copydata: ChangeFormColor$00FF00$0", box}));
  }
}

// What the failed press wrote (the notes and their line in the list) and whatever the
// writer opened goes again; what was there before stays.
TEST_F(NotStarted, NothingIsLeftBehindButWhatWasThereBefore) {
  const std::string otherNotes = "E:\\Elsewhere\\Screencast_2024-01-01-00-00-00.avi.recovery";
  machine.PutFile(otherNotes, "notes of a recording that another start will repair");
  machine.PutFile(list, otherNotes + "\r\n");
  const std::string notes = std::string(kPath) + ".recovery";
  pipeline.whileRunning = [&] { machine.PutFile(kPath, "RIFF"); };
  pipeline.failures["run"] = {"Error: 0x80070005 ($80070005).", static_cast<int32_t>(0x80070005u)};
  PressRecord();
  EXPECT_FALSE(machine.HasFile(kPath));
  EXPECT_FALSE(machine.HasFile(notes));
  EXPECT_EQ(machine.FileContents(list), otherNotes + "\r\n");
  EXPECT_TRUE(machine.HasFile(otherNotes));
  // The writer lets go of the file before it is removed.
  EXPECT_EQ(pipeline.log,
            (std::vector<std::string>{"build: audio=off device=-1 compressor=0 'Zelvio Test Codec "
                                      "(dialog)' format=-1 line=-1 path=" +
                                          std::string(kPath),
                                      "run", "stop", "release: " + std::string(kPath)}));
  const std::vector<std::string> removals = machine.Entries("remove: ");
  ASSERT_FALSE(removals.empty());
  EXPECT_EQ(removals.back(), "remove: " + std::string(kPath));

  // Nothing for the next start to find: no box then.
  machine.log.clear();
  pipeline.log.clear();
  form.RecoverUnfinishedRecordings();
  EXPECT_EQ(pipeline.Count("repair: " + std::string(kPath)), 0u);

  // Once the cause is gone, the next press records under a name of its own.
  pipeline.failures.clear();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  EXPECT_EQ(pipeline.Count("run"), 1u);
  EXPECT_TRUE(form.JvImgBtnStop.Enabled());
}

// A resume runs a graph that has recorded already: that recording is Stop's to finish, so a
// failed resume is only reported and Stop stays at hand.
TEST_F(NotStarted, AFailedResumeKeepsTheRecordingForStop) {
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnStartPause.Click();  // paused
  pipeline.failures["run"] = {"Error: 0x80070003 ($80070003).", kPathNotFound};
  machine.log.clear();
  PressRecord();
  EXPECT_EQ(machine.Entries("error: "), (std::vector<std::string>{"error: Error: 0x80070003 ($80070003)."}));
  EXPECT_NE(form.State(), RecordingState::Stopped);
  EXPECT_TRUE(form.JvImgBtnStop.Enabled());
  EXPECT_TRUE(machine.HasFile(std::string(kPath) + ".recovery"));
}

TEST(FailureHandler, TheFormListensToTheGraphOnlyWhileItExists) {
  FakePlatform machine;
  FakePipeline pipeline;
  {
    TFormMain form{machine.Services(), pipeline};
    EXPECT_TRUE(pipeline.HasEventHandler());
  }
  EXPECT_FALSE(pipeline.HasEventHandler());
  pipeline.SendEvent({graph_event::kErrorAbort, kDiskFull, 0, ""});  // no form: must not reach one
}

}  // namespace
}  // namespace zelvio
