// The control table is what the window lays itself out by, and what a test driver in
// another process relies on to find a control by its design name.
#include "ui/control_table.h"

#include <gtest/gtest.h>

#include "app/form/form_main.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"

#include <set>
#include <string>

namespace zelvio {
namespace {

TEST(ControlIds, EveryEntryHasItsOwnNameAndId) {
  std::set<std::string_view> names;
  std::set<int> ids;
  for (const ControlRow& entry : ControlRows()) {
    EXPECT_TRUE(names.insert(entry.name).second) << "duplicate name " << entry.name;
    EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate id " << entry.id;
    // Below 1000 lie IDOK, IDCANCEL and the other dialog command IDs.
    EXPECT_GE(entry.id, kFirstControlId) << entry.name;
    // WM_COMMAND carries the ID in 16 bits.
    EXPECT_LT(entry.id, 0x10000) << entry.name;
  }
}

TEST(ControlIds, LooksUpBothWays) {
  EXPECT_EQ(ControlIdFor("JvImgBtnStartPause"), 1000);
  EXPECT_EQ(ControlNameFor(1000), "JvImgBtnStartPause");
  int audio = ControlIdFor("CheckBoxEnableAudio");
  ASSERT_NE(audio, 0);
  EXPECT_EQ(ControlNameFor(audio), "CheckBoxEnableAudio");
  EXPECT_NE(ControlIdFor(kSpinArrowsName), ControlIdFor("SpinEditTransparencyClock"));
}

TEST(ControlIds, UnknownNamesAndIdsGiveNothing) {
  EXPECT_EQ(ControlIdFor(""), 0);
  EXPECT_EQ(ControlIdFor("checkboxenableaudio"), 0);  // design names are exact
  EXPECT_EQ(ControlIdFor("FormMain"), 0);             // the window itself is no control
  EXPECT_EQ(ControlNameFor(0), "");
  EXPECT_EQ(ControlNameFor(999), "");
}

// A control added to the form without a row would get no window ID, could not be found by a
// driver and would cover its container's whole rectangle; a timer placed like a window, or
// a window without a place, is a row written wrong.
TEST(ControlIds, EveryControlOfTheMainWindowHasAnIdAndEveryWindowAPlace) {
  FakePlatform platform;
  FakePipeline pipeline;
  TFormMain form(platform.Services(), pipeline);
  std::vector<Control*> pending(form.FormMain.Children().begin(), form.FormMain.Children().end());
  size_t seen = 0;
  while (!pending.empty()) {
    Control* control = pending.back();
    pending.pop_back();
    ++seen;
    EXPECT_NE(ControlIdFor(control->Name()), 0) << control->Name();
    const bool hasWindow = control->Kind() != ControlKind::Timer;
    EXPECT_EQ(PlaceOf(control->Name()) != nullptr, hasWindow) << control->Name();
    pending.insert(pending.end(), control->Children().begin(), control->Children().end());
  }
  // Every entry but the spin edit's arrows belongs to a control of the form.
  EXPECT_EQ(seen + 1, ControlRows().size());
}

TEST(ControlIds, CoverTheNamesOtherPartsOfTheProgramUse) {
  for (const char* name : {"PageControlOptions", "PageControlScreen", "ComboBoxDimension", "TrackBarDimX",
                           "ColorBoxBg", "ComboBoxFps", "ListBoxAudioFormat", "SpinEditTransparencyClock",
                           "EditOutputVideoPath", "LabelDuration", "LabelIsAudioEnabled", "Timer",
                           "TimerTransparencyCapture", "BitBtnRestoreDefaults"}) {
    EXPECT_NE(ControlIdFor(name), 0) << name;
  }
}

}  // namespace
}  // namespace zelvio
