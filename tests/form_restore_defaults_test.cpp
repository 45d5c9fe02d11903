// "Restore defaults" and the two output-folder buttons of the General tab.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <optional>

#include "support/form_run.h"

namespace zelvio {
namespace {

TEST(RestoreDefaults, ResetsTheThirteenStepsAndNothingElse) {
  FakePlatform machine;
  machine.currentDirectory = "E:\\";
  machine.startOpensWindows = true;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  // The user changes everything.
  f.CheckBoxEnableCursor.SetChecked(false);
  f.TrackBarCursorPriority.SetPosition(3);
  f.CheckBoxHideToTray.SetChecked(true);
  f.SpinEditTransparencyClock.SetValue(250);
  f.CheckBoxEnableCaptureTransparency.SetChecked(true);
  for (ComboBox* box : {&f.ComboBoxVKStart, &f.ComboBoxVKPause, &f.ComboBoxVKStop, &f.ComboBoxVKSnapshot,
                        &f.ComboBoxVKToggleBg, &f.ComboBoxKeyStart, &f.ComboBoxKeyPause, &f.ComboBoxKeyStop,
                        &f.ComboBoxKeySnapshot, &f.ComboBoxKeyToggleBg}) {
    box->SetItemIndex(2);
  }
  f.EditOutputVideoPath.SetText("D:\\Videos");
  f.EditOutputScreenshotsPath.SetText("D:\\Pictures");
  f.RadioButtonDimFullscreen.Click();
  f.RadioButtonPosTopLeft.Click();
  f.ComboBoxFps.SetItemIndex(0);
  f.CheckBoxEnableBg.SetChecked(true);
  EXPECT_TRUE(f.TimerTransparencyCapture.Enabled());
  EXPECT_EQ(f.TimerTransparencyCapture.Interval(), 250u);
  machine.log.clear();

  f.BitBtnRestoreDefaults.Click();

  // The hook program starts at the priority the slider showed, then the slider goes to 1.
  EXPECT_EQ(machine.Entries("start: "),
            (std::vector<std::string>{"start: Programs\\HookCursor.exe flags=0x100"}));
  EXPECT_TRUE(f.CheckBoxEnableCursor.Checked());
  EXPECT_EQ(f.TrackBarCursorPriority.Position(), 1);
  EXPECT_FALSE(f.TrackBarCursorPriority.Enabled());
  EXPECT_FALSE(f.CheckBoxHideToTray.Checked());
  EXPECT_FALSE(f.CheckBoxEnableCaptureTransparency.Checked());
  EXPECT_FALSE(f.TimerTransparencyCapture.Enabled());
  EXPECT_TRUE(f.SpinEditTransparencyClock.Enabled());
  EXPECT_EQ(f.SpinEditTransparencyClock.Value(), 1000);
  EXPECT_EQ(f.ComboBoxVKSnapshot.Text(), "NONE");
  EXPECT_EQ(f.ComboBoxKeyStart.Text(), "F1");
  EXPECT_EQ(f.ComboBoxKeyPause.Text(), "F3");
  EXPECT_EQ(f.ComboBoxKeyStop.Text(), "F5");
  EXPECT_EQ(f.ComboBoxKeySnapshot.Text(), "F7");
  EXPECT_EQ(f.ComboBoxKeyToggleBg.Text(), "F9");
  // A drive root already ends in a backslash; the texts are joined as they are.
  EXPECT_EQ(f.EditOutputVideoPath.Text(), "E:\\\\Output\\Screencasts");
  EXPECT_EQ(f.EditOutputScreenshotsPath.Text(), "E:\\\\Output\\Screenshots");
  EXPECT_EQ(f.EditOutputScreenshotsPath.CaretPosition(), f.EditOutputScreenshotsPath.Text().size());
  // Hotkeys stay registered as they were; the region options keep the user's values.
  EXPECT_EQ(machine.Count("register: "), 0u);
  EXPECT_EQ(machine.Count("copydata: "), 0u);
  EXPECT_TRUE(f.RadioButtonDimFullscreen.Checked());
  EXPECT_TRUE(f.RadioButtonPosTopLeft.Checked());
  EXPECT_TRUE(f.CheckBoxEnableBg.Checked());
  EXPECT_EQ(f.ComboBoxFps.ItemIndex(), 0);
}

TEST(OutputFolders, PickerSetsTheChosenFolderAndCancelChangesNothing) {
  FakePlatform machine;
  machine.folderAnswers = {std::string("D:\\Videos"), std::nullopt, std::string("D:\\")};
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.BitBtnOutputVideoPath.Click();
  EXPECT_EQ(f.EditOutputVideoPath.Text(), "D:\\Videos");
  f.BitBtnOutputVideoPath.Click();
  EXPECT_EQ(f.EditOutputVideoPath.Text(), "D:\\Videos");
  f.BitBtnOutputScreenshotsPath.Click();
  EXPECT_EQ(f.EditOutputScreenshotsPath.Text(), "D:\\");
  EXPECT_EQ(machine.Entries("browse: "),
            (std::vector<std::string>{"browse: Set path for videos -> D:\\Videos",
                                      "browse: Set path for videos -> cancel",
                                      "browse: Set path for screenshots -> D:\\"}));
}

}  // namespace
}  // namespace zelvio
