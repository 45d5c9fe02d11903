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
  TFormMain form{machine.Services(), pipeline};
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

// The menu's items come back to the window as command identifiers: each must reach its own
// item's handler, and any other identifier must do nothing at all.
TEST_F(Tray, MenuCommandsRunTheirOwnItemsAndNothingElse) {
  EXPECT_TRUE(form.RunTrayCommand(kTrayRecord));
  EXPECT_EQ(form.State(), RecordingState::Recording);
  EXPECT_TRUE(form.RunTrayCommand(kTrayPause));
  EXPECT_EQ(form.State(), RecordingState::Paused);
  EXPECT_TRUE(form.RunTrayCommand(kTrayStop));
  EXPECT_EQ(form.State(), RecordingState::Stopped);
  EXPECT_TRUE(form.RunTrayCommand(kTrayToggleBg));
  EXPECT_TRUE(form.CheckBoxEnableBg.Checked());
  EXPECT_TRUE(form.RunTrayCommand(kTraySnapshot));
  EXPECT_EQ(machine.Count("save bitmap: "), 1u);

  form.CheckBoxHideToTray.SetChecked(true);
  form.ApplicationOnMinimize();
  machine.log.clear();
  EXPECT_TRUE(form.RunTrayCommand(kTrayRestore));
  EXPECT_EQ(TrayLog(),
            (std::vector<std::string>{"bring to front", "tray icon: remove", "taskbar button: show"}));
  EXPECT_TRUE(form.RunTrayCommand(kTrayExit));
  EXPECT_EQ(machine.log.back(), "close main window");

  machine.log.clear();
  for (unsigned other : {0u, static_cast<unsigned>(kTrayRestore) - 1, static_cast<unsigned>(kTrayExit) + 1}) {
    EXPECT_FALSE(form.RunTrayCommand(other)) << other;
  }
  EXPECT_TRUE(machine.log.empty());
  EXPECT_EQ(form.State(), RecordingState::Stopped);
}

// A menu command runs as a handler runs: its error ends in the error box, not in the window
// procedure that received the command.
TEST_F(Tray, AFailingMenuCommandEndsInTheErrorBox) {
  machine.bitmapError = "The system cannot find the path specified";
  EXPECT_TRUE(form.RunTrayCommand(kTraySnapshot));
  EXPECT_EQ(machine.Entries("error: "),
            (std::vector<std::string>{"error: The system cannot find the path specified."}));
  EXPECT_EQ(form.JvImgBtnSnapshot.ImageIndex(), kPictureSnapshot);
}

}  // namespace
}  // namespace zelvio
