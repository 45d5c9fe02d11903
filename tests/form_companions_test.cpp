// The cursor-hook program from the main window: the cursor box starts and closes it, and
// the priority slider sets the class it starts with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {
namespace {

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

}  // namespace
}  // namespace zelvio
