// The wait after launching the overlay program: once the overlay is idle for input it gets
// 500 ms before the first command reaches it. Work that needs nothing from it (reading the
// catalogs, the program entry's own windows) is done in that time, and only what is left of
// the 500 ms is slept.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "companions/launch_wait.h"
#include "support/form_run.h"

namespace zelvio {
namespace {

const char kOverlayStart[] = "start: Programs\\ZelvioCapturer.exe flags=0x0 wait";

// Work that takes `ms` on the machine's clock.
std::function<void()> Work(FakePlatform& machine, uint64_t ms) {
  return [&machine, ms] { machine.clockMs += ms; };
}

TEST(LaunchWait, WhatIsLeftToSleepIsTheWaitLessTheWorkAndNeverNegative) {
  EXPECT_EQ(RemainingLaunchWait(0), 500u);
  EXPECT_EQ(RemainingLaunchWait(1), 499u);
  EXPECT_EQ(RemainingLaunchWait(120), 380u);
  EXPECT_EQ(RemainingLaunchWait(499), 1u);
  EXPECT_EQ(RemainingLaunchWait(500), 0u);
  EXPECT_EQ(RemainingLaunchWait(501), 0u);
  EXPECT_EQ(RemainingLaunchWait(UINT64_MAX), 0u) << "no wrap-around on a huge figure";
}

TEST(LaunchWait, WorkAfterTheOverlayIsIdleShortensTheSleepByItsLength) {
  FakePlatform machine;
  machine.programStartupMs = 120;
  FormRun run(machine);
  run.pipeline.whilePreparing = Work(machine, 40);
  run.form.DuringLaunchWait = Work(machine, 160);
  run.form.FormCreate();
  EXPECT_EQ(machine.Entries({"start: ", "sleep: "}), (std::vector<std::string>{kOverlayStart, "sleep: 300"}));
  EXPECT_EQ(machine.clockMs, 120u + 500u)
      << "idle at 120, the first command can follow 500 ms later, not sooner";
}

TEST(LaunchWait, TheOverlaysOwnStartDoesNotCountTowardsTheWait) {
  FakePlatform machine;
  machine.programStartupMs = 450;
  FormRun run(machine);
  run.form.DuringLaunchWait = Work(machine, 100);
  run.form.FormCreate();
  EXPECT_EQ(machine.Entries("sleep: "), (std::vector<std::string>{"sleep: 400"}));
  EXPECT_EQ(machine.clockMs, 950u);
}

TEST(LaunchWait, WorkLongerThanTheWaitLeavesNoSleep) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.whilePreparing = Work(machine, 300);
  run.form.DuringLaunchWait = Work(machine, 400);
  run.form.FormCreate();
  EXPECT_EQ(machine.Count("sleep: "), 0u);
  EXPECT_EQ(machine.clockMs, 700u);
}

TEST(LaunchWait, AFailedStartStillWaitsWhatIsLeftOfTheWait) {
  FakePlatform machine;
  machine.overlayWindow = false;
  machine.programStartupMs = 300;  // would apply to a program that started
  machine.failingPrograms.insert("Programs\\ZelvioCapturer.exe");
  FormRun run(machine);
  run.form.DuringLaunchWait = Work(machine, 120);
  run.form.FormCreate();
  EXPECT_EQ(machine.Entries({"start: ", "sleep: "}),
            (std::vector<std::string>{"start: Programs\\ZelvioCapturer.exe flags=0x0 wait (failed)",
                                      "sleep: 380"}));
  EXPECT_EQ(machine.clockMs, 500u);
}

TEST(LaunchWait, TheWorkRunsBetweenTheLaunchAndTheSleepAndTheListsFillAfterIt) {
  FakePlatform machine;
  FormRun run(machine);
  run.pipeline.audioDevices = {"Microphone"};
  run.pipeline.compressors = {"Codec A", "Codec B"};
  size_t compressorsListedDuringTheWait = 99;
  run.pipeline.whilePreparing = [&] { machine.log.push_back("catalogs read"); };
  run.form.DuringLaunchWait = [&] {
    machine.log.push_back("windows made");
    compressorsListedDuringTheWait = run.form.ComboBoxVideoCompressors.Items().size();
    machine.clockMs += 100;
  };
  run.Start();
  EXPECT_EQ(
      machine.Entries({"start: ", "catalogs read", "windows made", "sleep: ", "register: 1", "copydata: "}),
      (std::vector<std::string>{
          kOverlayStart, "catalogs read", "windows made", "sleep: 400", "register: 1 mods=0 vk=0x70",
          "copydata: ChangeFormCaption$FormMainCapturer@25", "start: Programs\\HookCursor.exe flags=0x20",
          "copydata: Create$864$480$528$300$0$0000FF"}));
  EXPECT_EQ(compressorsListedDuringTheWait, 0u)
      << "the list is filled after the wait, in its own creation step";
  EXPECT_EQ(run.form.ComboBoxVideoCompressors.Items(), (std::vector<std::string>{"Codec A", "Codec B"}));
  EXPECT_EQ(run.form.ComboBoxAudioDevices.Items(), (std::vector<std::string>{"Microphone"}));
}

}  // namespace
}  // namespace zelvio
