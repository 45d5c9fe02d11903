// The region tabs: size, place and style of the capture region as the overlay's "Create"
// command, the custom sliders and their ranges, every preset and every anchor button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_run.h"

namespace zelvio {
namespace {

TEST(Region, CustomSlidersFollowTheScreenAndTheRegion) {
  FakePlatform machine;
  machine.screen = {1280, 1024};
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonDimCustom.Click();
  EXPECT_EQ(f.TrackBarDimX.Min(), 4);
  EXPECT_EQ(f.TrackBarDimX.Max(), 1280);
  EXPECT_EQ(f.TrackBarDimY.Max(), 1024);
  EXPECT_TRUE(f.TrackBarDimX.Visible());
  EXPECT_FALSE(f.ComboBoxDimension.Visible());
  f.TrackBarDimX.SetPosition(101);
  EXPECT_EQ(f.LabelPosXValue.Caption(), "590");
  f.TrackBarDimX.SetPosition(103);
  EXPECT_EQ(f.LabelPosXValue.Caption(), "588");

  f.RadioButtonPosCustom.Click();
  EXPECT_EQ(f.TrackBarPosX.Max(), 1280 - 103);
  EXPECT_EQ(f.TrackBarPosY.Max(), 1024 - 4);
  EXPECT_TRUE(f.TrackBarPosY.Visible());
}

TEST(Region, AMaximumThatMovesAPositionSendsTheSameCommandTwice) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonDimCustom.Click();
  f.TrackBarDimX.SetPosition(1900);
  machine.log.clear();
  machine.screen = {1280, 1024};  // the display got smaller
  f.UpdateRegion();
  std::vector<std::string> commands = run.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], commands[1]);
  EXPECT_EQ(commands[0], "copydata: Create$1280$4$0$510$0$0000FF");
}

TEST(Region, StepButtonsNudgeByOneAndDoNothingAtTheEnd) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonPosCustom.Click();
  machine.log.clear();
  f.BitBtnDecPosX.Click();  // already at 0
  EXPECT_TRUE(run.Commands().empty());
  f.BitBtnIncPosX.Click();
  EXPECT_EQ(run.Commands(), (std::vector<std::string>{"copydata: Create$864$480$1$0$0$0000FF"}));
  f.BitBtnIncPosY.Click();
  f.BitBtnDecPosY.Click();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$864$480$1$0$0$0000FF");
}

TEST(Region, FullScreenAndStyle) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  TFormMain& f = run.form;
  f.RadioButtonPosBottomRight.Click();
  f.RadioButtonDimFullscreen.Click();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$0$0000FF");
  EXPECT_FALSE(f.ColorBoxBg.Visible());
  f.CheckBoxEnableBg.Click();
  EXPECT_TRUE(f.ColorBoxBg.Visible());
  EXPECT_TRUE(f.LabelBgColor.Visible());
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$-1$0000FF");
  f.ColorBoxBg.UserSelect(10);  // "Red"
  EXPECT_EQ(run.Commands().back(), "copydata: Create$1920$1080$0$0$-1$FF0000");
}

TEST(Region, NoPresetSelectedIsAnEmptyRegionInTheMiddle) {
  FakePlatform machine;
  FormRun run(machine);
  run.Start();
  run.form.ComboBoxDimension.SetItemIndex(-1);
  run.form.UpdateRegion();
  EXPECT_EQ(run.Commands().back(), "copydata: Create$0$0$960$540$0$0000FF");
}

// Every preset, centred, on an even screen and on an odd one (halves go to the even
// neighbour). The sizes come from the preset list as the user sees it; the offsets are
// worked out by hand, not by the program's own arithmetic.
TEST(Region, EveryPresetCentredOnAnEvenAndAnOddScreen) {
  struct Case {
    int index, width, height;
    int left1920, top1080;  // on 1920 x 1080
    int left1365, top767;   // on 1365 x 767
  };
  const Case cases[] = {
      {0, 160, 120, 880, 480, 602, 324},  {1, 176, 132, 872, 474, 594, 318},
      {2, 176, 144, 872, 468, 594, 312},  {3, 240, 180, 840, 450, 562, 294},
      {4, 320, 240, 800, 420, 522, 264},  {5, 352, 240, 784, 420, 506, 264},
      {6, 352, 288, 784, 396, 506, 240},  {7, 400, 320, 760, 380, 482, 224},
      {8, 480, 480, 720, 300, 442, 144},  {9, 480, 576, 720, 252, 442, 96},
      {10, 624, 488, 648, 296, 370, 140}, {11, 640, 360, 640, 360, 362, 204},
      {12, 640, 480, 640, 300, 362, 144}, {13, 640, 512, 640, 284, 362, 128},
      {14, 648, 468, 636, 306, 358, 150}, {15, 672, 488, 624, 296, 346, 140},
      {16, 704, 480, 608, 300, 330, 144}, {17, 704, 576, 608, 252, 330, 96},
      {18, 720, 480, 600, 300, 322, 144}, {19, 720, 576, 600, 252, 322, 96},
      {20, 800, 600, 560, 240, 282, 84},  {21, 864, 480, 528, 300, 250, 144},
      {22, 1280, 720, 320, 180, 42, 24},  {23, 1920, 1080, 0, 0, -278, -156},
  };
  for (bool odd : {false, true}) {
    FakePlatform machine;
    machine.screen = odd ? ScreenSize{1365, 767} : ScreenSize{1920, 1080};
    FormRun run(machine);
    run.Start();
    TFormMain& f = run.form;
    for (const Case& c : cases) {
      const int left = odd ? c.left1365 : c.left1920;
      const int top = odd ? c.top767 : c.top1080;
      f.ComboBoxDimension.UserSelect(c.index);
      const std::string expected = "copydata: Create$" + std::to_string(c.width) + "$" +
                                   std::to_string(c.height) + "$" + std::to_string(left) + "$" +
                                   std::to_string(top) + "$0$0000FF";
      EXPECT_EQ(run.Commands().back(), expected)
          << "preset " << c.index << (odd ? " on 1365x767" : " on 1920x1080");
      EXPECT_EQ(f.LabelDimXValue.Caption(), std::to_string(c.width)) << c.index;
      EXPECT_EQ(f.LabelDimYValue.Caption(), std::to_string(c.height)) << c.index;
      EXPECT_EQ(f.LabelPosXValue.Caption(), std::to_string(left)) << c.index;
      EXPECT_EQ(f.LabelPosYValue.Caption(), std::to_string(top)) << c.index;
    }
  }
}

// Each of the nine buttons through its own click, for two region sizes on both screens: a
// button wired to the wrong anchor or an anchor on the wrong row or column shows here.
TEST(Region, EveryAnchorButtonOnAnEvenAndAnOddScreen) {
  struct Place {
    int left, top;
  };
  struct Screen {
    ScreenSize size;
    int preset;  // 21 is 864 x 480, 0 is 160 x 120
    const char* region;
    // Columns left / centre / right and rows top / centre / bottom.
    int x[3];
    int y[3];
  };
  const Screen screens[] = {
      {{1920, 1080}, 21, "864$480", {0, 528, 1056}, {0, 300, 600}},
      {{1920, 1080}, 0, "160$120", {0, 880, 1760}, {0, 480, 960}},
      {{1365, 767}, 21, "864$480", {0, 250, 501}, {0, 144, 287}},
      {{1365, 767}, 0, "160$120", {0, 602, 1205}, {0, 324, 647}},
  };
  for (const Screen& s : screens) {
    FakePlatform machine;
    machine.screen = s.size;
    FormRun run(machine);
    run.Start();
    TFormMain& f = run.form;
    f.ComboBoxDimension.UserSelect(s.preset);
    const std::pair<RadioButton*, Place> buttons[] = {
        {&f.RadioButtonPosTopLeft, {s.x[0], s.y[0]}},     {&f.RadioButtonPosTopCenter, {s.x[1], s.y[0]}},
        {&f.RadioButtonPosTopRight, {s.x[2], s.y[0]}},    {&f.RadioButtonPosCenterLeft, {s.x[0], s.y[1]}},
        {&f.RadioButtonPosCenter, {s.x[1], s.y[1]}},      {&f.RadioButtonPosCenterRight, {s.x[2], s.y[1]}},
        {&f.RadioButtonPosBottomLeft, {s.x[0], s.y[2]}},  {&f.RadioButtonPosBottomCenter, {s.x[1], s.y[2]}},
        {&f.RadioButtonPosBottomRight, {s.x[2], s.y[2]}},
    };
    for (const auto& [button, place] : buttons) {
      machine.log.clear();
      button->Click();
      const std::string expected = std::string("copydata: Create$") + s.region + "$" +
                                   std::to_string(place.left) + "$" + std::to_string(place.top) + "$0$0000FF";
      EXPECT_EQ(run.Commands(), std::vector<std::string>{expected})
          << button->Name() << " on " << s.size.width << "x" << s.size.height;
      EXPECT_EQ(f.LabelPosXValue.Caption(), std::to_string(place.left)) << button->Name();
      EXPECT_EQ(f.LabelPosYValue.Caption(), std::to_string(place.top)) << button->Name();
    }
  }
}

}  // namespace
}  // namespace zelvio
