// The main window headless at shut-down: the order of the close steps, a recording finished
// before the close, the session end that must have done everything before it returns, and a
// second close request while the first is still running.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {
namespace {

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
    run.StartReadyToRecord();
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
    TFormMain& f = run.StartReadyToRecord();
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

}  // namespace
}  // namespace zelvio
