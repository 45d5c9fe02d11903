#include "kit/core/pause_cut.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int64_t kSlot = 400'000;  // 40 ms in 100 ns units

TEST(PauseCut, GrantsWhileRunningOnlyAndCutsAtTheStreamTimeOfPause) {
  zelvio::kit::PauseCut cut;
  EXPECT_TRUE(cut.Claim(0, true));
  EXPECT_TRUE(cut.Claim(2 * kSlot, true));
  EXPECT_FALSE(cut.Claim(3 * kSlot, false)) << "paused with no pause recorded: nothing goes";
  EXPECT_FALSE(cut.TakePause().has_value());

  cut.Pause(3 * kSlot + 150'000);
  EXPECT_TRUE(cut.PausePending());
  // The thread was behind: what lies before the cut still goes, what lies after does not,
  // however late the thread looks and whether or not the graph runs again meanwhile.
  EXPECT_TRUE(cut.Claim(3 * kSlot, false));
  EXPECT_FALSE(cut.Claim(4 * kSlot, false));
  EXPECT_FALSE(cut.Claim(4 * kSlot, true));
  EXPECT_EQ(cut.TakePause(), 3 * kSlot + 150'000);
  EXPECT_FALSE(cut.TakePause().has_value()) << "a pause is handed to the thread once";
  EXPECT_FALSE(cut.Claim(4 * kSlot, false));
  EXPECT_TRUE(cut.Claim(4 * kSlot, true)) << "the next run goes on from the cut";
}

// A clock read twice in one tick gives the same time: a frame granted at that time and a
// pause in the same tick must leave the frame before the cut.
TEST(PauseCut, ASampleGrantedInThePauseTickStaysBeforeTheCut) {
  zelvio::kit::PauseCut cut;
  EXPECT_TRUE(cut.Claim(5 * kSlot, true));
  cut.Pause(5 * kSlot);
  auto at = cut.TakePause();
  ASSERT_TRUE(at.has_value());
  EXPECT_GT(*at, 5 * kSlot);
}

// A pause and a run that both pass while the thread is held downstream: the thread never
// sees the paused state, yet the pause is handled with its own cut; of two such pauses the
// later cut counts.
TEST(PauseCut, PausesTheThreadDidNotSeeAreStillHandled) {
  zelvio::kit::PauseCut cut;
  EXPECT_TRUE(cut.Claim(kSlot, true));
  cut.Pause(kSlot + 100'000);
  EXPECT_FALSE(cut.Claim(2 * kSlot, true));
  EXPECT_EQ(cut.TakePause(), kSlot + 100'000);

  cut.Pause(3 * kSlot + 20'000);
  cut.Pause(5 * kSlot + 30'000);
  EXPECT_TRUE(cut.Claim(5 * kSlot, true));
  EXPECT_EQ(cut.TakePause(), 5 * kSlot + 30'000);

  cut.Reset();
  EXPECT_FALSE(cut.PausePending());
  EXPECT_TRUE(cut.Claim(0, true)) << "a new stream starts afresh";
}

// The picture (40 ms slots stamped at their start) and the sound (50 ms chunks stamped by
// their last sample, trimmed at the cut) of one run, with the thread of each far behind
// when the graph pauses them one after the other, in either order: both end at the pause
// within one frame.
TEST(PauseCut, PictureAndSoundOfARunEndTogetherWhicheverPausesFirst) {
  constexpr int64_t kChunk = 500'000;
  constexpr int64_t kPause = 2'345'678;  // stream time of the graph's pause
  for (int64_t gap : {0LL, 3'000LL, -3'000LL}) {
    zelvio::kit::PauseCut picture, sound;
    picture.Pause(kPause);
    sound.Pause(kPause + gap);
    int64_t pictureEnd = 0;
    for (int64_t slot = 0; slot < 1000 && picture.Claim(slot * kSlot, true); ++slot)
      pictureEnd = (slot + 1) * kSlot;
    int64_t soundEnd = 0;
    for (int64_t chunk = 0; chunk < 1000 && sound.Claim((chunk + 1) * kChunk - 1, true); ++chunk)
      soundEnd = (chunk + 1) * kChunk;
    auto soundCut = sound.TakePause();
    ASSERT_TRUE(soundCut.has_value());
    soundEnd = *soundCut;  // the partly filled buffer goes out up to the cut
    EXPECT_LE(std::abs(pictureEnd - soundEnd), kSlot)
        << "gap " << gap << ": picture ends at " << pictureEnd << ", sound at " << soundEnd;
    EXPECT_GE(pictureEnd, kPause) << "the frame under way at the pause is kept";
  }
}

}  // namespace
