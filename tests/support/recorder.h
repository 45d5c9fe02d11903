// A main window started on the doubles with a compressor chosen, ready to record: the
// fixture of the tests of Record, Pause and Stop, of snapshots and of the capture options.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form/form_main.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"

namespace zelvio {

struct Recorder : ::testing::Test {
  void SetUp() override {
    pipeline.compressors = {"Zelvio Test Codec (dialog)"};
    form.FormCreate();
    form.Show();
    form.ComboBoxVideoCompressors.SetItemIndex(0);
    machine.log.clear();
    pipeline.log.clear();
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
  std::vector<std::string> Commands() const { return machine.Entries("copydata: "); }

  FakePlatform machine;
  FakePipeline pipeline;
  TFormMain form{machine.Services(), pipeline};
};

}  // namespace zelvio
