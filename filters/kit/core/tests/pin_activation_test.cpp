#include "kit/core/pin_activation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kFailA = static_cast<int32_t>(0x80040301u);
constexpr int32_t kFailB = static_cast<int32_t>(0x80040302u);
constexpr int32_t kWarning = 1;  // a success code other than 0 (S_FALSE)

// Pins that log every call as "+i" (activate) or "-i" (deactivate) and answer as told.
struct Pins {
  explicit Pins(int n) : activateResult(n, 0), deactivateResult(n, 0) {}
  zelvio::kit::PinStep Activate() {
    return [this](int i) {
      log.push_back("+" + std::to_string(i));
      return activateResult[i];
    };
  }
  zelvio::kit::PinStep Deactivate() {
    return [this](int i) {
      log.push_back("-" + std::to_string(i));
      return deactivateResult[i];
    };
  }
  std::vector<int32_t> activateResult;
  std::vector<int32_t> deactivateResult;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(PinActivation, ActivatesEveryPinInOrderAndTakesThemBackWhenOneFails) {
  Pins ok(3);
  ok.activateResult[1] = kWarning;
  EXPECT_EQ(zelvio::kit::ActivatePins(3, ok.Activate(), ok.Deactivate()), 0) << "a warning is no failure";
  EXPECT_EQ(ok.log, (Log{"+0", "+1", "+2"}));

  Pins third(4);
  third.activateResult[2] = kFailA;
  EXPECT_EQ(zelvio::kit::ActivatePins(4, third.Activate(), third.Deactivate()), kFailA);
  EXPECT_EQ(third.log, (Log{"+0", "+1", "+2", "-1", "-0"}))
      << "the pins before the failing one go back, last first; the failing one and those after it "
         "were never active";

  Pins first(2);
  first.activateResult[0] = kFailA;
  first.deactivateResult[0] = kFailB;
  EXPECT_EQ(zelvio::kit::ActivatePins(2, first.Activate(), first.Deactivate()), kFailA);
  EXPECT_EQ(first.log, (Log{"+0"}));

  Pins backFails(3);
  backFails.activateResult[2] = kFailA;
  backFails.deactivateResult[1] = kFailB;
  EXPECT_EQ(zelvio::kit::ActivatePins(3, backFails.Activate(), backFails.Deactivate()), kFailA)
      << "the answer is the failure that stopped the pause, not one met while taking it back";
  EXPECT_EQ(backFails.log, (Log{"+0", "+1", "+2", "-1", "-0"})) << "and a pin failing to go back does not stop the rest";
}

TEST(PinActivation, DeactivatesEveryPinWhateverTheyAnswerAndReportsTheFirstFailure) {
  Pins pins(4);
  pins.deactivateResult[1] = kFailA;
  pins.deactivateResult[2] = kFailB;
  pins.deactivateResult[3] = kWarning;
  EXPECT_EQ(zelvio::kit::DeactivatePins(4, pins.Deactivate()), kFailA);
  EXPECT_EQ(pins.log, (Log{"-0", "-1", "-2", "-3"}));

  Pins quiet(2);
  quiet.deactivateResult[0] = kWarning;
  EXPECT_EQ(zelvio::kit::DeactivatePins(2, quiet.Deactivate()), 0);
  EXPECT_EQ(zelvio::kit::DeactivatePins(0, quiet.Deactivate()), 0);
}

}  // namespace
