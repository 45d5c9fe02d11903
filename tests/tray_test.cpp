// Minimising into the notification area and back, and the tray menu's commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form/form_main.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"

namespace zelvio {
namespace {

struct Tray : ::testing::Test {
  void SetUp() override {
    pipeline.compressors = {"Codec"};
    form.FormCreate();
    form.Show();
    form.ComboBoxVideoCompressors.SetItemIndex(0);
    machine.log.clear();
  }
  std::vector<std::string> TrayLog() const {
    return machine.Entries({"tray icon: ", "taskbar button: ", "restore main window", "bring to front"});
  }
  FakePlatform machine;
  FakePipeline pipeline;
  TFormMain form{machine, pipeline};
};

TEST_F(Tray, MinimisingWithoutTheOptionLeavesTheTaskbarButton) {
  form.ApplicationOnMinimize();
  EXPECT_TRUE(TrayLog().empty());
  EXPECT_FALSE(machine.trayIcon);
}

TEST_F(Tray, MinimiseToTrayAndClickBack) {
  form.CheckBoxHideToTray.SetChecked(true);
  machine.minimized = true;
  form.ApplicationOnMinimize();
  EXPECT_TRUE(machine.trayIcon);
  EXPECT_FALSE(machine.taskbarButton);
  form.TrayIconClick();
  EXPECT_EQ(TrayLog(),
            (std::vector<std::string>{"tray icon: add", "taskbar button: hide", "restore main window",
                                      "bring to front", "tray icon: remove", "taskbar button: show"}));
  EXPECT_FALSE(machine.trayIcon);
  EXPECT_TRUE(machine.taskbarButton);
}

TEST_F(Tray, RefusedIconKeepsTheTaskbarButton) {
  form.CheckBoxHideToTray.SetChecked(true);
  machine.trayRefused = true;
  form.Guarded([&] { form.ApplicationOnMinimize(); });
  EXPECT_TRUE(machine.taskbarButton);
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: Cannot create shell notification icon."}));
}

TEST_F(Tray, FailedRemovalStopsTheRestoreAfterBringingItForward) {
  form.CheckBoxHideToTray.SetChecked(true);
  form.ApplicationOnMinimize();
  machine.trayRemovalFails = true;
  form.Guarded([&] { form.TrayRestoreClick(); });
  EXPECT_EQ(machine.Count("bring to front"), 1u);
  EXPECT_FALSE(machine.taskbarButton);
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: Cannot remove shell notification icon."}));
}

TEST_F(Tray, RecordAndPauseItemsAreOneToggle) {
  form.TrayRecordClick();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  form.TrayRecordClick();  // the item is disabled in this state, the command is still a toggle
  EXPECT_EQ(form.State(), RecordingState::Paused);
  form.TrayRecordClick();
  EXPECT_EQ(form.State(), RecordingState::Recording);
  form.TrayPauseClick();
  EXPECT_EQ(form.State(), RecordingState::Paused);
  form.TrayStopClick();
  EXPECT_EQ(form.State(), RecordingState::Stopped);
}

TEST_F(Tray, ToggleBgActsLikeTheCheckBoxAndExitClosesNormally) {
  form.TrayToggleBgClick();
  EXPECT_TRUE(form.CheckBoxEnableBg.Checked());
  EXPECT_TRUE(form.ColorBoxBg.Visible());
  EXPECT_EQ(machine.Entries("copydata: "),
            (std::vector<std::string>{"copydata: Create$864$480$528$300$-1$0000FF"}));
  form.TraySnapshotClick();
  EXPECT_EQ(machine.Count("save bitmap: "), 1u);
  form.TrayExitClick();
  EXPECT_EQ(machine.log.back(), "close main window");
}

}  // namespace
}  // namespace zelvio

namespace zelvio {
namespace {

TEST(TransparencyAtStart, StoredOnRunsTheTimerWithTheStoredPeriod) {
  FakePlatform machine;
  machine.PutFile(machine.SettingsPath(),
                  "[FormMain]\r\nCheckBoxEnableCaptureTransparency_Checked=TRUE\r\n"
                  "SpinEditTransparencyClock_Enabled=FALSE\r\nSpinEditTransparencyClock_Value=250\r\n\r\n");
  FakePipeline pipeline;
  TFormMain form(machine, pipeline);
  form.FormCreate();
  form.Show();
  EXPECT_TRUE(form.TimerTransparencyCapture.Enabled());
  EXPECT_EQ(form.TimerTransparencyCapture.Interval(), 250u);
  EXPECT_FALSE(form.SpinEditTransparencyClock.Enabled());
}

}  // namespace
}  // namespace zelvio
