// The platform as the pipeline test gives it: the pipeline only reports errors through the
// boxes, which the test keeps to check them.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pipelinetest {

class QuietPlatform : public zelvio::PlatformBoxes {
 public:
  std::vector<std::string> errors;

  void ShowMessage(const std::string& text) override { errors.push_back("message: " + text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
};

// Dispatches window messages for `milliseconds`, as the program's message loop would.
void PumpMessages(unsigned milliseconds);

}  // namespace pipelinetest
