// The main window headless: start-up and shut-down order, companion programs, and the
// options that act at once (region, cursor, hotkeys, restore defaults).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/form_run.h"
#include "platform/layered_sweep.h"

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

TEST(ShutDown, OrderOfTheCloseSteps) {
  FakePlatform machine;
  machine.hookWindow = true;
  FormRun run(machine);
  run.Start();
  machine.log.clear();
  run.pipeline.log.clear();
  run.Close();
  EXPECT_EQ(machine.Entries({"copydata: ", "close: ", "unregister: ", "replace: "}),
            (std::vector<std::string>{"copydata: Close", "close: hook", "unregister: 1", "unregister: 2",
                                      "unregister: 3", "unregister: 4", "unregister: 5",
                                      "replace: D:\\Apps\\Zelvio\\settings.ini"}));
  EXPECT_EQ(run.pipeline.log, (std::vector<std::string>{"free catalogs"}));
}

TEST(ShutDown, WithTheCursorOptionOffTheHookWindowIsNotLookedFor) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  run.form.CheckBoxEnableCursor.SetChecked(false);
  machine.logQueries = true;
  machine.log.clear();
  run.Close();
  for (const std::string& line : machine.log)
    EXPECT_EQ(line.find("TFormHookCursor"), std::string::npos) << line;
}

TEST(ShutDown, ClosingWhileRecordingOrPausedStopsFirstSoTheFileIsFinished) {
  for (int presses : {1, 2}) {
    FakePlatform machine;
    FormRun run(machine);
    run.pipeline.compressors = {"Codec"};
    run.Start();
    run.form.ComboBoxVideoCompressors.SetItemIndex(0);
    for (int i = 0; i < presses; ++i) run.form.JvImgBtnStartPauseClick();
    machine.log.clear();
    run.pipeline.log.clear();
    run.Close();
    EXPECT_EQ(run.form.State(), RecordingState::Stopped);
    EXPECT_EQ(run.pipeline.log, (std::vector<std::string>{"stop", "free catalogs"}));
    EXPECT_EQ(run.Commands(),
              (std::vector<std::string>{"copydata: ChangeFormColor$00FF00$0", "copydata: Close"}));
  }
}

// Windows ending the session gets one answer and may end the process right after it: by
// then the whole close path and the file must be done, and whatever else arrives (the
// window's own close, its destruction, a close already running) must not do any of it twice.
TEST(ShutDown, SessionEndRunsTheWholeClosePathOnceBeforeItReturns) {
  struct Case {
    const char* what;
    bool recording;
    bool closeFirst;         // a regular close ran before the session ended
    bool endInsideCloseBox;  // the session ends while a box of the close path is open
  };
  const Case cases[] = {
      {"session end alone", false, false, false},
      {"session end while recording", true, false, false},
      {"close, then session end", false, true, false},
      {"session end inside a box of the close path", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform machine;
    machine.hookWindow = true;
    FormRun run(machine);
    run.pipeline.compressors = {"Codec"};
    TFormMain& f = run.Start();
    f.ComboBoxVideoCompressors.SetItemIndex(0);
    f.CheckBoxHideToTray.SetChecked(true);  // an option changed in this session
    if (c.recording) f.JvImgBtnStartPauseClick();
    if (c.endInsideCloseBox) {
      run.pipeline.failures["stop"] = {"Stop refused", 0};
      machine.whileBoxOpen = [&f](const std::string&) { f.EndSession(); };
    }
    machine.log.clear();
    run.pipeline.log.clear();

    if (c.closeFirst) {
      EXPECT_TRUE(f.CloseQuery());
    }
    if (c.endInsideCloseBox) {
      EXPECT_TRUE(f.CloseQuery()) << "the close that the box belongs to";
    } else {
      f.EndSession();
    }
    // Everything is on disk and the companions are told before the answer goes back.
    EXPECT_EQ(machine.Count("copydata: Close"), 1u);
    EXPECT_EQ(machine.Count("close: hook"), 1u);
    EXPECT_EQ(machine.Count("unregister: "), 5u);
    EXPECT_EQ(machine.Entries("replace: "),
              (std::vector<std::string>{"replace: D:\\Apps\\Zelvio\\settings.ini"}));
    EXPECT_NE(machine.FileContents(machine.SettingsPath()).find("CheckBoxHideToTray_Checked=TRUE\r\n"),
              std::string::npos);
    EXPECT_EQ(f.State(), RecordingState::Stopped);
    EXPECT_EQ(run.pipeline.Count("stop"), c.recording ? 1u : 0u) << "a recording is finished first";
    EXPECT_FALSE(f.Closing());

    // What may still come: the window's close and its destruction.
    EXPECT_FALSE(f.CloseQuery());
    f.Destroy();
    f.EndSession();
    EXPECT_EQ(machine.Count("copydata: Close"), 1u);
    EXPECT_EQ(machine.Count("unregister: "), 5u);
    EXPECT_EQ(machine.Count("replace: "), 1u);
    EXPECT_EQ(run.pipeline.Count("free catalogs"), 1u);
  }
}

// "Exit" from the tray (or the close box again) while a box of the close path is open:
// the close that is running finishes alone, and the second request says so to the host,
// which then leaves the window to the first one.
TEST(ShutDown, ASecondCloseRequestDuringTheCloseIsNotRunAgain) {
  FakePlatform machine;
  machine.overlayWindow = false;  // "Receiver application not found" at the "Close" step
  FormRun run(machine);
  run.Start();
  std::vector<bool> nestedAnswers;
  std::vector<bool> closingDuringBox;
  machine.whileBoxOpen = [&](const std::string&) {
    closingDuringBox.push_back(run.form.Closing());
    nestedAnswers.push_back(run.form.CloseQuery());
  };
  machine.log.clear();
  run.pipeline.log.clear();
  EXPECT_TRUE(run.form.CloseQuery());
  run.form.Destroy();
  EXPECT_EQ(nestedAnswers, (std::vector<bool>{false}));
  EXPECT_EQ(closingDuringBox, (std::vector<bool>{true}));
  EXPECT_EQ(machine.Count("message: Receiver application not found"), 1u);
  EXPECT_EQ(machine.Count("unregister: "), 5u);
  EXPECT_EQ(run.pipeline.log, (std::vector<std::string>{"free catalogs"}));
  EXPECT_EQ(machine.Count("replace: "), 1u);
  EXPECT_FALSE(run.form.Closing());
}

TEST(Companions, CursorBoxTogglesStartAndCloseTheHookProgram) {
  FakePlatform machine;
  machine.startOpensWindows = true;
  FormRun run(machine);
  run.Start();
  machine.log.clear();
  TFormMain& f = run.form;
  for (int i = 0; i < 2; ++i) {
    f.CheckBoxEnableCursor.Click();
    EXPECT_TRUE(f.TrackBarCursorPriority.Enabled());
    f.CheckBoxEnableCursor.Click();
    EXPECT_FALSE(f.TrackBarCursorPriority.Enabled());
  }
  EXPECT_EQ(machine.Entries({"start: ", "close: "}),
            (std::vector<std::string>{"close: hook", "start: Programs\\HookCursor.exe flags=0x20",
                                      "close: hook", "start: Programs\\HookCursor.exe flags=0x20"}));
}

TEST(Companions, PriorityClassFollowsTheSlider) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  const char* expected[] = {"0x40", "0x20", "0x80", "0x100"};
  for (int position = 0; position < 4; ++position) {
    f.CheckBoxEnableCursor.SetChecked(false);
    f.TrackBarCursorPriority.SetPosition(position);
    machine.log.clear();
    f.CheckBoxEnableCursor.SetChecked(true);
    EXPECT_EQ(machine.Entries("start: "),
              (std::vector<std::string>{std::string("start: Programs\\HookCursor.exe flags=") +
                                        expected[position]}));
  }
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

// ---- Region ---------------------------------------------------------------------------------

TEST(Region, CustomSlidersFollowTheScreenAndTheRegion) {
  FakePlatform machine;
  machine.screen = {1280, 1024};
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonDimCustom.Click();
  EXPECT_EQ(f.TrackBarDimX.Min(), 4);
  EXPECT_EQ(f.TrackBarDimX.Max(), 1280);
  EXPECT_EQ(f.TrackBarDimY.Max(), 1024);
  EXPECT_TRUE(f.TrackBarDimX.Visible());
  EXPECT_FALSE(f.ComboBoxDimension.Visible());
  f.TrackBarDimX.SetPosition(101);
  EXPECT_EQ(f.LabelPosXValue.Caption(), "590");
  f.TrackBarDimX.SetPosition(103);
  EXPECT_EQ(f.LabelPosXValue.Caption(), "588");

  f.RadioButtonPosCustom.Click();
  EXPECT_EQ(f.TrackBarPosX.Max(), 1280 - 103);
  EXPECT_EQ(f.TrackBarPosY.Max(), 1024 - 4);
  EXPECT_TRUE(f.TrackBarPosY.Visible());
}

TEST(Region, AMaximumThatMovesAPositionSendsTheSameCommandTwice) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonDimCustom.Click();
  f.TrackBarDimX.SetPosition(1900);
  machine.log.clear();
  machine.screen = {1280, 1024};  // the display got smaller
  f.UpdateRegion();
  std::vector<std::string> commands = run.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], commands[1]);
  EXPECT_EQ(commands[0], "copydata: Create$1280$4$0$510$0$0000FF");
}

TEST(Region, StepButtonsNudgeByOneAndDoNothingAtTheEnd) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonPosCustom.Click();
  machine.log.clear();
  f.BitBtnDecPosX.Click();  // already at 0
  EXPECT_TRUE(run.Commands().empty());
  f.BitBtnIncPosX.Click();
  EXPECT_EQ(run.Commands(), (std::vector<std::string>{"copydata: Create$864$480$1$0$0$0000FF"}));
  f.BitBtnIncPosY.Click();
  f.BitBtnDecPosY.Click();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$864$480$1$0$0$0000FF");
}

TEST(Region, FullScreenAndStyle) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonPosBottomRight.Click();
  f.RadioButtonDimFullscreen.Click();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$0$0000FF");
  EXPECT_FALSE(f.ColorBoxBg.Visible());
  f.CheckBoxEnableBg.Click();
  EXPECT_TRUE(f.ColorBoxBg.Visible());
  EXPECT_TRUE(f.LabelBgColor.Visible());
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$-1$0000FF");
  f.ColorBoxBg.UserSelect(10);  // "Red"
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$-1$FF0000");
}

TEST(Region, NoPresetSelectedIsAnEmptyRegionInTheMiddle) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  run.form.ComboBoxDimension.SetItemIndex(-1);
  run.form.UpdateRegion();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$0$0$960$540$0$0000FF");
}

// Every preset, centred, on an even screen and on an odd one (halves go to the even
// neighbour). The sizes come from the preset list as the user sees it; the offsets are
// worked out by hand, not by the program's own arithmetic.
TEST(Region, EveryPresetCentredOnAnEvenAndAnOddScreen) {
  struct Case {
    int index, width, height;
    int left1920, top1080;  // on 1920 x 1080
    int left1365, top767;   // on 1365 x 767
  };
  const Case cases[] = {
      {0, 160, 120, 880, 480, 602, 324},  {1, 176, 132, 872, 474, 594, 318},
      {2, 176, 144, 872, 468, 594, 312},  {3, 240, 180, 840, 450, 562, 294},
      {4, 320, 240, 800, 420, 522, 264},  {5, 352, 240, 784, 420, 506, 264},
      {6, 352, 288, 784, 396, 506, 240},  {7, 400, 320, 760, 380, 482, 224},
      {8, 480, 480, 720, 300, 442, 144},  {9, 480, 576, 720, 252, 442, 96},
      {10, 624, 488, 648, 296, 370, 140}, {11, 640, 360, 640, 360, 362, 204},
      {12, 640, 480, 640, 300, 362, 144}, {13, 640, 512, 640, 284, 362, 128},
      {14, 648, 468, 636, 306, 358, 150}, {15, 672, 488, 624, 296, 346, 140},
      {16, 704, 480, 608, 300, 330, 144}, {17, 704, 576, 608, 252, 330, 96},
      {18, 720, 480, 600, 300, 322, 144}, {19, 720, 576, 600, 252, 322, 96},
      {20, 800, 600, 560, 240, 282, 84},  {21, 864, 480, 528, 300, 250, 144},
      {22, 1280, 720, 320, 180, 42, 24},  {23, 1920, 1080, 0, 0, -278, -156},
  };
  for (bool odd : {false, true}) {
    FakePlatform machine;
    machine.screen = odd ? ScreenSize{1365, 767} : ScreenSize{1920, 1080};
    FormRun run(machine);
    run.Start();
    TFormMain& f = run.form;
    for (const Case& c : cases) {
      const int left = odd ? c.left1365 : c.left1920;
      const int top = odd ? c.top767 : c.top1080;
      f.ComboBoxDimension.UserSelect(c.index);
      const std::string expected = "copydata: Create$" + std::to_string(c.width) + "$" +
                                   std::to_string(c.height) + "$" + std::to_string(left) + "$" +
                                   std::to_string(top) + "$0$0000FF";
      EXPECT_EQ(run.Commands().back(), expected)
          << "preset " << c.index << (odd ? " on 1365x767" : " on 1920x1080");
      EXPECT_EQ(f.LabelDimXValue.Caption(), std::to_string(c.width)) << c.index;
      EXPECT_EQ(f.LabelDimYValue.Caption(), std::to_string(c.height)) << c.index;
      EXPECT_EQ(f.LabelPosXValue.Caption(), std::to_string(left)) << c.index;
      EXPECT_EQ(f.LabelPosYValue.Caption(), std::to_string(top)) << c.index;
    }
  }
}

// Each of the nine buttons through its own click, for two region sizes on both screens: a
// button wired to the wrong anchor or an anchor on the wrong row or column shows here.
TEST(Region, EveryAnchorButtonOnAnEvenAndAnOddScreen) {
  struct Place {
    int left, top;
  };
  struct Screen {
    ScreenSize size;
    int preset;  // 21 is 864 x 480, 0 is 160 x 120
    const char* region;
    // Columns left / centre / right and rows top / centre / bottom.
    int x[3];
    int y[3];
  };
  const Screen screens[] = {
      {{1920, 1080}, 21, "864$480", {0, 528, 1056}, {0, 300, 600}},
      {{1920, 1080}, 0, "160$120", {0, 880, 1760}, {0, 480, 960}},
      {{1365, 767}, 21, "864$480", {0, 250, 501}, {0, 144, 287}},
      {{1365, 767}, 0, "160$120", {0, 602, 1205}, {0, 324, 647}},
  };
  for (const Screen& s : screens) {
    FakePlatform machine;
    machine.screen = s.size;
    FormRun run(machine);
    run.Start();
    TFormMain& f = run.form;
    f.ComboBoxDimension.UserSelect(s.preset);
    const std::pair<RadioButton*, Place> buttons[] = {
        {&f.RadioButtonPosTopLeft, {s.x[0], s.y[0]}},     {&f.RadioButtonPosTopCenter, {s.x[1], s.y[0]}},
        {&f.RadioButtonPosTopRight, {s.x[2], s.y[0]}},    {&f.RadioButtonPosCenterLeft, {s.x[0], s.y[1]}},
        {&f.RadioButtonPosCenter, {s.x[1], s.y[1]}},      {&f.RadioButtonPosCenterRight, {s.x[2], s.y[1]}},
        {&f.RadioButtonPosBottomLeft, {s.x[0], s.y[2]}},  {&f.RadioButtonPosBottomCenter, {s.x[1], s.y[2]}},
        {&f.RadioButtonPosBottomRight, {s.x[2], s.y[2]}},
    };
    for (const auto& [button, place] : buttons) {
      machine.log.clear();
      button->Click();
      const std::string expected = std::string("copydata: Create$") + s.region + "$" +
                                   std::to_string(place.left) + "$" + std::to_string(place.top) + "$0$0000FF";
      EXPECT_EQ(run.Commands(), std::vector<std::string>{expected})
          << button->Name() << " on " << s.size.width << "x" << s.size.height;
      EXPECT_EQ(f.LabelPosXValue.Caption(), std::to_string(place.left)) << button->Name();
      EXPECT_EQ(f.LabelPosYValue.Caption(), std::to_string(place.top)) << button->Name();
    }
  }
}

// ---- Hotkeys --------------------------------------------------------------------------------

TEST(Hotkeys, ARefusedHotkeyShowsItsMessageAndTheOthersStillRegister) {
  FakePlatform machine;
  machine.refusedHotkeys = {1};
  FormRun run(machine);
  run.Start();
  EXPECT_EQ(machine.Entries({"register: ", "message: "}),
            (std::vector<std::string>{"register: 1 mods=0 vk=0x70 (refused)",
                                      "message: Unable to assign start hotkey.", "register: 2 mods=0 vk=0x72",
                                      "register: 3 mods=0 vk=0x74", "register: 4 mods=0 vk=0x76",
                                      "register: 5 mods=0 vk=0x78"}));
}

TEST(Hotkeys, SetHotkeysUnregistersThenRegistersTheChosenKeys) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.ComboBoxVKStart.SetItemIndex(4);   // "WIN"
  f.ComboBoxKeyStart.SetItemIndex(0);  // "A"
  machine.log.clear();
  f.BitBtnSetHotkeys.Click();
  f.BitBtnSetHotkeys.Click();
  EXPECT_EQ(machine.Count("unregister: "), 10u);
  EXPECT_EQ(machine.Count("register: 1 mods=8 vk=0x41"), 2u);
  EXPECT_EQ(machine.log.back(), "register: 5 mods=0 vk=0x78");
}

TEST(Hotkeys, KeyListWithoutSelectionRegistersNothingForThatAction) {
  FakePlatform machine;
  FormRun run(machine);
  run.form.ComboBoxKeyStop.SetItemIndex(-1);
  run.Start();
  EXPECT_EQ(machine.Count("register: 3"), 0u);
  EXPECT_EQ(machine.Count("message: Unable to assign stop hotkey."), 1u);
  EXPECT_EQ(machine.Count("register: "), 4u);
}

TEST(Hotkeys, DispatchRunsTheSameCommandsAsTheButtons) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.compressors = {"Codec"};
  run.Start();
  TFormMain& f = run.form;
  f.ComboBoxVideoCompressors.SetItemIndex(0);
  f.HotkeyMessage(2);  // the pause hotkey starts a stopped recording
  EXPECT_EQ(f.State(), RecordingState::Recording);
  f.HotkeyMessage(1);  // the start hotkey pauses a running one
  EXPECT_EQ(f.State(), RecordingState::Paused);
  f.HotkeyMessage(3);
  EXPECT_EQ(f.State(), RecordingState::Stopped);
  machine.log.clear();
  f.HotkeyMessage(5);
  EXPECT_TRUE(f.CheckBoxEnableBg.Checked());
  EXPECT_EQ(run.Commands(), (std::vector<std::string>{"copydata: Create$864$480$528$300$-1$0000FF"}));
  f.HotkeyMessage(4);
  EXPECT_EQ(machine.Count("save bitmap: "), 1u);
  machine.log.clear();
  f.HotkeyMessage(6);
  f.HotkeyMessage(0);
  EXPECT_TRUE(machine.log.empty());
}

// ---- Restore defaults -----------------------------------------------------------------------

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

// ---- Transparency ---------------------------------------------------------------------------

TEST(Transparency, TimerPeriodComesFromTheSpinEditWhenSwitchedOn) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.SpinEditTransparencyClock.UserType("abc");
  f.CheckBoxEnableCaptureTransparency.Click();
  EXPECT_EQ(f.TimerTransparencyCapture.Interval(), 100u) << "a text that is no number gives the minimum";
  EXPECT_FALSE(f.SpinEditTransparencyClock.Enabled());
  machine.log.clear();
  f.TimerTransparencyCapture.Tick();
  EXPECT_EQ(machine.log, (std::vector<std::string>{"clear layered styles"}));
  f.CheckBoxEnableCaptureTransparency.Click();
  EXPECT_FALSE(f.TimerTransparencyCapture.Enabled());
  EXPECT_TRUE(f.SpinEditTransparencyClock.Enabled());
}

// The windows the sweep passes over, on a desktop given as a table of top-level windows
// (class, title) and children of the taskbar; the first match in the table is the one a
// look-up finds.
TEST(Transparency, TheSweepSparesTheTaskbarItsFirstButtonAndTheStartWindow) {
  struct Window {
    SweepWindow handle;
    std::string className;
    std::string title;
    SweepWindow parent;  // 0: top-level
  };
  constexpr SweepWindow kTaskbar = 10, kTaskbarButton = 11, kTaskbarButton2 = 12, kLooseButton = 20,
                        kOtherLooseButton = 21, kStart = 30, kStartOtherTitle = 31, kPlain = 40;
  const Window taskbar{kTaskbar, "Shell_TrayWnd", "", 0};
  const Window taskbarButton{kTaskbarButton, "Button", "Start", kTaskbar};
  const Window taskbarButton2{kTaskbarButton2, "Button", "", kTaskbar};
  const Window looseButton{kLooseButton, "Button", "OK", 0};
  const Window otherLooseButton{kOtherLooseButton, "Button", "Cancel", 0};
  const Window start{kStart, "#49175", "Start", 0};  // class atom 0xC017
  const Window startOtherTitle{kStartOtherTitle, "#49175", "Begin", 0};
  const Window plain{kPlain, "Notepad", "Untitled", 0};
  struct Case {
    const char* what;
    std::vector<Window> desktop;
    std::vector<SweepWindow> spared;
  };
  const Case cases[] = {
      {"taskbar: it and its first button",
       {taskbar, taskbarButton, taskbarButton2, looseButton, plain},
       {kTaskbar, kTaskbarButton}},
      {"taskbar without buttons: a top-level button is not its button",
       {taskbar, looseButton, plain},
       {kTaskbar}},
      {"no taskbar: the first top-level Button window",
       {looseButton, otherLooseButton, plain},
       {kLooseButton}},
      {"no taskbar, no button: nothing", {plain}, {}},
      {"the Start window by atom and title", {start, startOtherTitle, plain}, {kStart}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SweepLookups lookups;
    lookups.topLevel = [&c](const std::string& className) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == 0 && w.className == className) return w.handle;
      }
      return 0;
    };
    lookups.child = [&c](SweepWindow parent, const std::string& className) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == parent && w.className == className) return w.handle;
      }
      return 0;
    };
    lookups.byAtomAndTitle = [&c](unsigned atom, const std::string& title) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == 0 && w.className == "#" + std::to_string(atom) && w.title == title) return w.handle;
      }
      return 0;
    };
    std::vector<SweepWindow> spared;
    for (const Window& w : c.desktop) {
      if (SparedBySweep(w.handle, lookups)) spared.push_back(w.handle);
    }
    EXPECT_EQ(spared, c.spared);
  }
}

}  // namespace
}  // namespace zelvio
