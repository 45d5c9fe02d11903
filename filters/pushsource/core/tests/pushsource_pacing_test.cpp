#include <gtest/gtest.h>

#include "pushsource/core/pushsource_pacing.h"

namespace ps = zelvio::pushsource;

namespace {
constexpr int64_t kFrame25 = 400'000;  // 40 ms
}

TEST(PushSourcePacing, FrameTimeFollowsTheRate) {
  EXPECT_EQ(ps::FrameTimeForRate(25), 400'000);
  EXPECT_EQ(ps::FrameTimeForRate(30), 333'333);
  EXPECT_EQ(ps::FrameTimeForRate(5), 2'000'000);
  // A nonsense rate must not divide by zero.
  EXPECT_EQ(ps::FrameTimeForRate(0), ps::kUnitsPerSecond);
  EXPECT_EQ(ps::FrameTimeForRate(-3), ps::kUnitsPerSecond);
}

TEST(PushSourcePacing, LateGrabWithinItsSlotKeepsTheSlot) {
  auto choice = ps::ChooseSlot(3, 1'200'000, kFrame25);
  EXPECT_EQ(choice.slot, 3);
  EXPECT_EQ(choice.skipped, 0);
  choice = ps::ChooseSlot(3, 1'599'999, kFrame25);
  EXPECT_EQ(choice.slot, 3);
  EXPECT_EQ(choice.skipped, 0);
}

TEST(PushSourcePacing, FallingBehindSkipsToTheCurrentSlot) {
  // Slot 3 ended at 1.6 s: take slot 4 and count one skipped.
  auto choice = ps::ChooseSlot(3, 1'600'000, kFrame25);
  EXPECT_EQ(choice.slot, 4);
  EXPECT_EQ(choice.skipped, 1);
  // Half a second behind: slots 3..14 are gone, slot 15 is under way.
  choice = ps::ChooseSlot(3, 6'100'000, kFrame25);
  EXPECT_EQ(choice.slot, 15);
  EXPECT_EQ(choice.skipped, 12);
}

TEST(PushSourcePacing, EarlyCallNeverMovesBackwards) {
  // After a resume stream time is behind the next slot: the wanted slot stays.
  auto choice = ps::ChooseSlot(70, 2'600'000, kFrame25);
  EXPECT_EQ(choice.slot, 70);
  EXPECT_EQ(choice.skipped, 0);
}

TEST(PushSourcePacing, StepsAtFractionalFrameTimesDoNotDrift) {
  // At 30 fps the frame time is truncated; slot starts must come from the slot number, not
  // from adding up frame times, so 300 frames later we are still on the grid.
  int64_t t = ps::FrameTimeForRate(30);
  EXPECT_EQ(ps::SlotStart(300, t), 300 * t);
  auto choice = ps::ChooseSlot(299, ps::SlotStart(300, t), t);
  EXPECT_EQ(choice.slot, 300);
  EXPECT_EQ(choice.skipped, 1);
}
