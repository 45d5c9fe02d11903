// The layered-window timer from the main window: its period from the spin edit, what each
// tick does, and the stored option that starts it at start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"
#include "support/form_run.h"

namespace zelvio {
namespace {

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

TEST(TransparencyAtStart, StoredOnRunsTheTimerWithTheStoredPeriod) {
  FakePlatform machine;
  machine.PutFile(machine.SettingsPath(),
                  "[FormMain]\r\nCheckBoxEnableCaptureTransparency_Checked=TRUE\r\n"
                  "SpinEditTransparencyClock_Enabled=FALSE\r\nSpinEditTransparencyClock_Value=250\r\n\r\n");
  FakePipeline pipeline;
  TFormMain form(machine.Services(), pipeline);
  form.FormCreate();
  form.Show();
  EXPECT_TRUE(form.TimerTransparencyCapture.Enabled());
  EXPECT_EQ(form.TimerTransparencyCapture.Interval(), 250u);
  EXPECT_FALSE(form.SpinEditTransparencyClock.Enabled());
}

}  // namespace
}  // namespace zelvio
