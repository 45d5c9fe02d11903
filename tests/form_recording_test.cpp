// Record, Pause and Stop against the doubles: the three states, what each transition sends
// and shows, the failure rules and the duration read-out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form/time_texts.h"
#include "support/recorder.h"

namespace zelvio {
namespace {

TEST_F(Recorder, RecordPauseResumeStopWalkThroughTheThreeStates) {
  ExpectTray(true, false, false);

  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  ExpectShows(1, true, false, true);
  ExpectTray(false, true, true);

  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Paused);
  ExpectShows(0, true, false, true);
  ExpectTray(true, false, true);

  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Recording);

  form.JvImgBtnStop.Click();
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  ExpectShows(0, false, true, false);
  ExpectTray(true, false, false);

  EXPECT_EQ(Commands(), (std::vector<std::string>{
                            "copydata: ChangeFormColor$FF0000$0", "copydata: ChangeFormColor$C0C0C0$0",
                            "copydata: ChangeFormColor$FF0000$0", "copydata: ChangeFormColor$00FF00$0"}));
  // Resuming from Paused keeps the graph and so the file; only the first Record built.
  ASSERT_EQ(pipeline.builds.size(), 1u);
  EXPECT_EQ(pipeline.builds[0].compressor, 0);
  EXPECT_EQ(pipeline.builds[0].compressorName, "Zelvio Test Codec (dialog)");
  EXPECT_EQ(pipeline.builds[0].screencastPath,
            "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2024-05-17-14-03-09.avi");
  EXPECT_EQ(pipeline.log,
            (std::vector<std::string>{
                "build: audio=off device=-1 compressor=0 'Zelvio Test Codec (dialog)' format=-1 "
                "line=-1 path=C:\\Users\\me\\Zelvio\\Output\\Screencasts\\"
                "Screencast_2024-05-17-14-03-09.avi",
                "run", "pause", "run", "stop"}));
}

TEST_F(Recorder, RecordAfterStopBuildsAFreshGraphNamedByTheSecondPress) {
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnStop.Click();
  machine.now = LocalTime{2026, 12, 6, 15, 16, 29};
  form.JvImgBtnStartPause.Click();
  ASSERT_EQ(pipeline.builds.size(), 2u);
  EXPECT_EQ(pipeline.builds[1].screencastPath,
            "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2026-12-06-15-16-29.avi");
}

// Names go to the second; a file (or an unfinished recording's notes) already under the
// dated name moves the next recording to "_2", "_3", never over it.
TEST_F(Recorder, TwoRecordingsInOneSecondGetTwoFiles) {
  const std::string dated = "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2024-05-17-14-03-09";
  form.JvImgBtnStartPause.Click();
  machine.PutFile(dated + ".avi", "first recording");  // what the file writer made of it
  form.JvImgBtnStop.Click();
  form.JvImgBtnStartPause.Click();
  machine.PutFile(dated + "_2.avi", "second recording");
  form.JvImgBtnStop.Click();
  machine.PutFile(dated + "_3.avi.recovery", "notes of a recording whose file is not there");
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnStop.Click();
  ASSERT_EQ(pipeline.builds.size(), 3u);
  EXPECT_EQ(pipeline.builds[0].screencastPath, dated + ".avi");
  EXPECT_EQ(pipeline.builds[1].screencastPath, dated + "_2.avi");
  EXPECT_EQ(pipeline.builds[2].screencastPath, dated + "_4.avi");
  EXPECT_EQ(machine.FileContents(dated + ".avi"), "first recording");

  // The next second starts again without a number.
  machine.now.second = 10;
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(pipeline.builds.back().screencastPath,
            "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2024-05-17-14-03-10.avi");
  EXPECT_EQ(NumberedFilePath("D:\\v.x\\Screencast_a", 2), "D:\\v.x\\Screencast_a_2");
}

TEST_F(Recorder, NoCompressorRefusesFromStoppedAndFromPaused) {
  form.ComboBoxVideoCompressors.SetItemIndex(-1);
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.log, (std::vector<std::string>{"message: Please select a video compressor."}));
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  EXPECT_FALSE(form.JvImgBtnStop.Enabled());
  EXPECT_TRUE(pipeline.builds.empty());

  form.ComboBoxVideoCompressors.SetItemIndex(0);
  form.JvImgBtnStartPause.Click();
  form.JvImgBtnStartPause.Click();  // paused
  form.ComboBoxVideoCompressors.SetItemIndex(-1);
  machine.log.clear();
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(form.State(), RecordingState::Paused);
  EXPECT_EQ(machine.log, (std::vector<std::string>{"message: Please select a video compressor."}));
}

TEST_F(Recorder, StopWhileStoppedDoesNothing) {
  form.JvImgBtnStopClick();  // the hotkey path: the button itself is disabled
  EXPECT_TRUE(machine.log.empty());
  EXPECT_TRUE(pipeline.log.empty());
}

TEST_F(Recorder, FailedRebuildLeavesEverythingAsItWas) {
  pipeline.failures["build"] = {"Error: Failed to open file: Filters/PushSource.ax", 0};
  form.Guarded([&] { form.JvImgBtnStartPauseClick(); });
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  EXPECT_EQ(machine.log,
            (std::vector<std::string>{"error: Error: Failed to open file: Filters/PushSource.ax."}));
  ExpectShows(0, false, true, false);
}

// A graph that does not run has recorded nothing: the press is taken back, the frame turns
// green again after its red, and the one box names the file and the reason in words.
TEST_F(Recorder, FailedRunGoesBackToStoppedWithOneBox) {
  const std::string avi = "C:\\Users\\me\\Zelvio\\Output\\Screencasts\\Screencast_2024-05-17-14-03-09.avi";
  constexpr int32_t kPathNotFound = static_cast<int32_t>(0x80070003u);
  pipeline.resultTexts[kPathNotFound] = "The system cannot find the path specified.";
  pipeline.failures["run"] = {"The system cannot find the path specified ($80070003).", kPathNotFound};
  form.Guarded([&] { form.JvImgBtnStartPauseClick(); });
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"copydata: ChangeFormColor$FF0000$0",
                                                  "copydata: ChangeFormColor$00FF00$0"}));
  EXPECT_EQ(machine.Entries({"error: ", "message: "}),
            (std::vector<std::string>{"error: The recording could not start.\nFile: " + avi +
                                      "\nReason: The system cannot find the path specified ($80070003)."}));
  ExpectShows(0, false, true, false);
  ExpectTray(true, false, false);
  // Filters that did start are stopped, and the writer lets go of the file.
  EXPECT_EQ(std::vector<std::string>(pipeline.log.begin() + 1, pipeline.log.end()),
            (std::vector<std::string>{"run", "stop", "release: " + avi}));
}

TEST_F(Recorder, FailedPauseKeepsPausedButSkipsTheLaterSteps) {
  form.JvImgBtnStartPause.Click();
  machine.log.clear();
  pipeline.failures["pause"] = {"Pause failed ($80004005).", static_cast<int32_t>(0x80004005)};
  form.Guarded([&] { form.JvImgBtnStartPauseClick(); });
  EXPECT_EQ(form.State(), RecordingState::Paused);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"copydata: ChangeFormColor$C0C0C0$0"}));
  EXPECT_EQ(machine.Entries("error: "), (std::vector<std::string>{"error: Pause failed ($80004005)."}));
  // Still what Recording showed: pause image, Stop enabled, panel off, timer on.
  ExpectShows(1, true, false, true);
  ExpectTray(true, false, true);
}

TEST_F(Recorder, FailedStopLeavesTheTimerOffAndTheRestAsItWas) {
  form.JvImgBtnStartPause.Click();
  pipeline.failures["stop"] = {"Stop failed ($80004005).", static_cast<int32_t>(0x80004005)};
  form.Guarded([&] { form.JvImgBtnStopClick(); });
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  ExpectShows(1, true, false, false);
}

TEST_F(Recorder, MissingOverlayIsReportedAndTheTransitionGoesOn) {
  machine.overlayWindow = false;
  form.JvImgBtnStartPause.Click();
  EXPECT_EQ(machine.Entries("message: "),
            (std::vector<std::string>{"message: Receiver application not found"}));
  EXPECT_EQ(form.State(), RecordingState::Recording);
  EXPECT_EQ(pipeline.log.back(), "run");
  ExpectShows(1, true, false, true);
}

TEST_F(Recorder, DurationFollowsTheGraphAndStaysAfterStop) {
  form.JvImgBtnStartPause.Click();
  pipeline.position = 1'234'567'890;
  form.TimerDuration.Tick();
  EXPECT_EQ(form.LabelDuration.Caption(), "00:02:03.456");
  form.JvImgBtnStartPause.Click();  // paused: the label keeps refreshing
  pipeline.position = 1'300'000'000;
  form.TimerDuration.Tick();
  EXPECT_EQ(form.LabelDuration.Caption(), "00:02:10.000");
  form.JvImgBtnStop.Click();
  ASSERT_TRUE(pipeline.graphActive) << "a stopped graph stays built";
  pipeline.position = 1'400'000'000;
  form.TimerDuration.Tick();  // disabled: no tick
  EXPECT_EQ(form.LabelDuration.Caption(), "00:02:10.000");
  form.TimerTimer();  // the handler would still read the built graph: only the stopped timer keeps the label
  EXPECT_EQ(form.LabelDuration.Caption(), "00:02:20.000");
}

// An unreadable position while a box is open: the box's message loop keeps delivering
// ticks (and maybe a hotkey). One box at a time; afterwards the timer runs again only if the
// recording still does.
TEST_F(Recorder, UnreadablePositionShowsOneBoxAtATimeWithTheTimerResting) {
  struct Case {
    const char* what;
    int hotkeyWhileOpen;  // 0: none, 2: Record/Pause, 3: Stop
    bool timerAfter;
    RecordingState stateAfter;
  };
  const Case cases[] = {
      {"ticks only", 0, true, RecordingState::Recording},
      {"paused meanwhile", 2, true, RecordingState::Paused},
      {"stopped meanwhile", 3, false, RecordingState::Stopped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform box;
    FakePipeline graph;
    graph.compressors = {"Codec"};
    TFormMain f(box.Services(), graph);
    f.FormCreate();
    f.Show();
    f.ComboBoxVideoCompressors.SetItemIndex(0);
    f.JvImgBtnStartPause.Click();
    graph.failures["position"] = {"Interface not supported", 0};
    // The host runs every tick guarded: what escapes becomes an error box.
    auto tick = [&f] { f.Guarded([&f] { f.TimerDuration.Tick(); }); };
    int depth = 0;
    int ticksWhileOpen = 0;
    box.whileBoxOpen = [&](const std::string&) {
      if (++depth > 4) return;  // enough to tell one box from a pile of them
      for (int i = 0; i < 3; ++i, ++ticksWhileOpen) tick();
      if (c.hotkeyWhileOpen != 0) f.HotkeyMessage(c.hotkeyWhileOpen);
      EXPECT_FALSE(f.TimerDuration.Enabled()) << "the timer rests while the box shows";
    };
    box.log.clear();
    tick();
    EXPECT_EQ(box.Entries("error: "), (std::vector<std::string>{"error: Interface not supported."}));
    EXPECT_EQ(ticksWhileOpen, 3);
    EXPECT_EQ(f.TimerDuration.Enabled(), c.timerAfter);
    EXPECT_EQ(f.State(), c.stateAfter);
    EXPECT_EQ(f.LabelDuration.Caption(), "00:00:00.000");
  }
}

TEST_F(Recorder, OptionsPanelDisablesEveryOptionWhileRecording) {
  form.JvImgBtnStartPause.Click();
  EXPECT_FALSE(form.ComboBoxDimension.EffectivelyEnabled());
  EXPECT_FALSE(form.BitBtnRestoreDefaults.EffectivelyEnabled());
  EXPECT_TRUE(form.JvImgBtnSnapshot.EffectivelyEnabled());
  form.BitBtnRestoreDefaults.Click();
  EXPECT_EQ(machine.Count("start: "), 0u);
}

}  // namespace
}  // namespace zelvio
