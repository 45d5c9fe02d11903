// Fixtures of a main window started on the doubles, for the tests that work on a running
// window. StartedForm has been created and shown with one compressor in the list; Recorder
// has it chosen too, ready to record: the fixture of the tests of Record, Pause and Stop, of
// snapshots, the capture options, the tray, recording failures and the recovery notes.
// Both begin with empty logs. A fixture that needs the doubles set up before the start sets
// them in its SetUp before it calls theirs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {

struct StartedForm : ::testing::Test {
  void SetUp() override {
    pipeline.compressors = {kTestCompressor};
    run.Start();
    ClearLogs();
  }

  void ClearLogs() {
    machine.log.clear();
    pipeline.log.clear();
  }
  std::vector<std::string> Commands() const { return run.Commands(); }

  FakePlatform machine;
  FormRun run{machine};
  FakePipeline& pipeline = run.pipeline;
  TFormMain& form = run.form;
};

struct Recorder : StartedForm {
  void SetUp() override {
    StartedForm::SetUp();
    form.ComboBoxVideoCompressors.SetItemIndex(0);
    pipeline.builds.clear();
  }

  struct Shows {
    int image;
    bool stopEnabled;
    bool panelEnabled;
    bool timerEnabled;
  };
  Shows Now() const {
    return {form.JvImgBtnStartPause.ImageIndex(), form.JvImgBtnStop.Enabled(), form.PanelOptions.Enabled(),
            form.TimerDuration.Enabled()};
  }
  void ExpectShows(int image, bool stop, bool panel, bool timer) {
    Shows s = Now();
    EXPECT_EQ(s.image, image);
    EXPECT_EQ(s.stopEnabled, stop);
    EXPECT_EQ(s.panelEnabled, panel);
    EXPECT_EQ(s.timerEnabled, timer);
  }
  void ExpectTray(bool record, bool pause, bool stop) {
    TrayRecordingItems items = form.PopupMenuMainChange();
    EXPECT_EQ(items.record, record);
    EXPECT_EQ(items.pause, pause);
    EXPECT_EQ(items.stop, stop);
  }
  // Stopped, with everything showing what Stop leaves: the record image, Stop disabled,
  // the options usable, the duration timer off and the tray offering Record only.
  void ExpectStoppedAsStopLeavesIt() {
    EXPECT_EQ(form.State(), RecordingState::Stopped);
    ExpectShows(kPictureRecord, false, true, false);
    ExpectTray(true, false, false);
  }
};

}  // namespace zelvio
