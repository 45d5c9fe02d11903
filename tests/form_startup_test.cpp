// The main window headless at start-up: the creation and show steps in their order, the
// window's design state, what a missing overlay or a failing graph build does to the steps,
// and the two handlers that act at once on the start-up options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {
namespace {

const char kDefaultRegion[] = "copydata: Create$864$480$528$300$0$0000FF";

TEST(StartUp, FirstStartRunsTheCreationAndShowStepsInOrder) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.compressors = {"Codec"};
  run.Start();

  EXPECT_EQ(machine.Entries({"start: ", "sleep: ", "register: ", "copydata: "}),
            (std::vector<std::string>{
                "start: Programs\\ZelvioCapturer.exe flags=0x0 wait",
                "sleep: 500",
                "register: 1 mods=0 vk=0x70",
                "register: 2 mods=0 vk=0x72",
                "register: 3 mods=0 vk=0x74",
                "register: 4 mods=0 vk=0x76",
                "register: 5 mods=0 vk=0x78",
                "copydata: ChangeFormCaption$FormMainCapturer@25",
                "start: Programs\\HookCursor.exe flags=0x20",
                kDefaultRegion,
            }));
  ASSERT_GE(run.pipeline.log.size(), 3u);
  EXPECT_EQ(
      std::vector<std::string>(run.pipeline.log.begin(), run.pipeline.log.begin() + 3),
      (std::vector<std::string>{"prepare catalogs", "enumerate audio devices", "enumerate compressors"}))
      << "the catalogs are read during the launch wait, the lists filled after it";
  ASSERT_EQ(run.pipeline.builds.size(), 1u) << "show step 7 builds the graph once";
  EXPECT_EQ(run.form.EditOutputVideoPath.Text(), "C:\\Users\\me\\Zelvio\\Output\\Screencasts");
  EXPECT_EQ(run.form.EditOutputScreenshotsPath.Text(), "C:\\Users\\me\\Zelvio\\Output\\Screenshots");
  EXPECT_EQ(run.form.EditOutputVideoPath.CaretPosition(), run.form.EditOutputVideoPath.Text().size());
  EXPECT_FALSE(run.form.CheckBoxEnableAudio.Checked());
  EXPECT_EQ(run.form.LabelDimXValue.Caption(), "864");
  EXPECT_EQ(run.form.LabelPosYValue.Caption(), "300");
  EXPECT_EQ(machine.Count("message: "), 0u);
}

TEST(StartUp, DesignStateOfTheWindow) {
  FakePlatform machine;
  FormRun run(machine);
  TFormMain& f = run.form;
  EXPECT_FALSE(f.JvImgBtnStop.Enabled());
  EXPECT_FALSE(f.TrackBarCursorPriority.Enabled());
  EXPECT_EQ(f.LabelDuration.Caption(), "00:00:00.000");
  EXPECT_FALSE(f.LabelInputLinesIndex.Visible());
  EXPECT_FALSE(f.LabelAudioFormatIndex.Visible());
  EXPECT_FALSE(f.LabelIsAudioEnabled.Visible());
  EXPECT_EQ(f.ComboBoxDimension.Text(), "864x480 (480p Youtube 16:9)");
  EXPECT_EQ(f.ComboBoxKeyToggleBg.Text(), "F9");
  EXPECT_EQ(f.FormMain.Caption(), "Zelvio - The Free Screen Recorder");
  EXPECT_EQ(f.FindComponent("Timer"), &f.TimerDuration);
  EXPECT_EQ(f.FindComponent("NoSuchControl"), nullptr);
}

TEST(StartUp, MissingOverlayIsReportedAtEachCommandAndStartAndCloseComplete) {
  FakePlatform machine;
  machine.overlayWindow = false;
  machine.failingPrograms.insert("Programs\\ZelvioCapturer.exe");
  FormRun run(machine);
  run.Start();
  EXPECT_EQ(machine.Count("message: Receiver application not found"), 2u) << "caption and region commands";
  EXPECT_EQ(machine.Entries("sleep: "), (std::vector<std::string>{"sleep: 500"}))
      << "the wait happens anyway";
  EXPECT_EQ(run.pipeline.builds.size(), 1u);
  run.Close();
  EXPECT_EQ(machine.Count("message: Receiver application not found"), 3u) << "and once more at close";
  EXPECT_EQ(machine.Count("unregister: "), 5u) << "the close went on to the end";
  EXPECT_TRUE(machine.HasFile(machine.SettingsPath()));
}

TEST(StartUp, FailingGraphBuildEndsTheShowStepsThere) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.failures["build"] = {"Error: Failed to open file: Filters/PushSource.ax", 0};
  run.Start();
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: Error: Failed to open file: Filters/PushSource.ax."}));
  EXPECT_EQ(run.form.EditOutputVideoPath.Text(), "") << "later show steps did not run";
  EXPECT_EQ(machine.Count("start: Programs\\HookCursor.exe"), 0u);
  EXPECT_EQ(machine.Count("copydata: Create"), 0u);
}

TEST(StartUp, ShowStepsRunOnce) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  run.form.Show();
  EXPECT_EQ(machine.Count("register: "), 5u);
  EXPECT_EQ(run.pipeline.builds.size(), 1u);
}

TEST(Lifecycle, SetCheckedWithoutClickSuppressesOnlyThatOneChange) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.audioDevices = {"Mic"};
  run.Start();
  TFormMain& f = run.form;
  f.ComboBoxAudioDevices.SetItemIndex(0);
  size_t builds = run.pipeline.builds.size();
  f.SetCheckedWithoutClick(f.CheckBoxEnableAudio, true);
  EXPECT_EQ(run.pipeline.builds.size(), builds);
  EXPECT_EQ(f.LabelIsAudioEnabled.Caption(), "0");
  f.CheckBoxEnableAudio.Click();
  EXPECT_EQ(run.pipeline.builds.size(), builds + 1) << "the handler is attached again";
  EXPECT_EQ(f.LabelIsAudioEnabled.Caption(), "0");
  EXPECT_FALSE(run.pipeline.builds.back().audioEnabled);
}

TEST(Lifecycle, FrameRateChangeOnlyTellsTheUser) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  machine.log.clear();
  run.form.ComboBoxFps.UserSelect(4);
  EXPECT_EQ(machine.log,
            (std::vector<std::string>{"message: FPS changed! Restart Zelvio in order to make the change"}));
}

}  // namespace
}  // namespace zelvio
