// The Video and Audio tabs' options that rebuild the capture graph.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recorder.h"

namespace zelvio {
namespace {

TEST_F(Recorder, AudioEnableWithoutDeviceIsUndone) {
  form.CheckBoxEnableAudio.Click();
  EXPECT_FALSE(form.CheckBoxEnableAudio.Checked());
  EXPECT_EQ(form.LabelIsAudioEnabled.Caption(), "0");
  EXPECT_EQ(machine.Entries("message: "), (std::vector<std::string>{"message: Select an audio device."}));
  EXPECT_TRUE(pipeline.builds.empty());
}

}  // namespace
}  // namespace zelvio
