// The five system-wide hotkeys: registration at start-up and on "Set hotkeys", a refused or
// missing key, and the dispatch that runs the same commands as the buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {
namespace {

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
  TFormMain& f = run.StartReadyToRecord();
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

}  // namespace
}  // namespace zelvio
