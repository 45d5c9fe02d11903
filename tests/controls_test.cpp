// The toolkit reactions the rest of the program relies on: which setter runs which
// handler, and what a container does to what it holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace zelvio {
namespace {

struct RecordingPeer : ControlPeer {
  int refreshes = 0;
  void Refresh(Control&) override { ++refreshes; }
};

TEST(CheckBoxTest, OnlyARealChangeRunsTheClickHandler) {
  Panel form(ControlKind::Form, "Form", nullptr);
  CheckBox box("Box", &form, "Enable");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };

  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  box.Click();  // the user's click toggles through the same setter
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(clicks, 2);
}

TEST(CheckBoxTest, HandlerSeesTheNewState) {
  Panel form(ControlKind::Form, "Form", nullptr);
  CheckBox box("Box", &form, "Enable");
  std::vector<bool> seen;
  box.OnClick = [&] { seen.push_back(box.Checked()); };
  box.SetChecked(true);
  box.SetChecked(false);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(RadioButtonTest, CheckingUnchecksSiblingsThenRunsItsHandler) {
  Panel form(ControlKind::Form, "Form", nullptr);
  Panel group(ControlKind::GroupBox, "Group", &form);
  Panel other(ControlKind::GroupBox, "Other", &form);
  RadioButton a("A", &group, "a");
  RadioButton b("B", &group, "b");
  RadioButton elsewhere("C", &other, "c");
  std::vector<std::string> log;
  a.OnClick = [&] { log.push_back("a:" + std::to_string(a.Checked()) + std::to_string(b.Checked())); };
  b.OnClick = [&] { log.push_back("b:" + std::to_string(a.Checked()) + std::to_string(b.Checked())); };
  elsewhere.SetChecked(true);

  a.SetChecked(true);
  b.SetChecked(true);
  // By the time b's handler runs, a is already unchecked; a's handler does not run.
  EXPECT_EQ(log, (std::vector<std::string>{"a:10", "b:01"}));
  EXPECT_TRUE(elsewhere.Checked()) << "another group is not a sibling";
}

TEST(RadioButtonTest, UncheckingRunsNothingAndLeavesSiblingsAlone) {
  Panel group(ControlKind::GroupBox, "Group", nullptr);
  RadioButton a("A", &group, "a");
  RadioButton b("B", &group, "b");
  a.SetChecked(true);
  int clicks = 0;
  a.OnClick = [&] { ++clicks; };
  b.OnClick = [&] { ++clicks; };
  a.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(a.Checked());
  EXPECT_FALSE(b.Checked());
  a.SetChecked(true);
  a.Click();  // clicking the checked button again changes nothing
  EXPECT_EQ(clicks, 1);
}

TEST(TrackBarTest, ClampsAndFiresOnlyOnARealChange) {
  TrackBar bar("Bar", nullptr, TrackBar::Orientation::Horizontal, 4, 10, 4);
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  bar.SetPosition(800);
  EXPECT_EQ(bar.Position(), 10);
  EXPECT_EQ(changes, 1);
  bar.SetPosition(10);
  bar.SetPosition(12);  // clamps to the same value
  EXPECT_EQ(changes, 1);
  bar.SetPosition(-5);
  EXPECT_EQ(bar.Position(), 4);
  EXPECT_EQ(changes, 2);
}

TEST(TrackBarTest, MaximumBelowMinimumIsIgnoredAndAValidOneClamps) {
  TrackBar bar("Bar", nullptr, TrackBar::Orientation::Horizontal, 0, 10, 8);
  std::vector<int> seen;
  bar.OnChange = [&] { seen.push_back(bar.Position()); };
  bar.SetMax(-20);
  EXPECT_EQ(bar.Max(), 10);
  EXPECT_EQ(bar.Position(), 8);
  bar.SetMax(5);  // moves the position: the change event fires with the clamped value
  EXPECT_EQ(bar.Position(), 5);
  bar.SetMax(1000);  // widening moves nothing
  EXPECT_EQ(seen, (std::vector<int>{5}));
}

TEST(ItemListTest, OutOfRangeMeansNoSelectionAndCodeRunsNoHandler) {
  ComboBox combo("Combo", nullptr);
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  combo.SetItems({"5", "10", "20"});
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.Text(), "10");
  combo.SetItemIndex(3);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetItemIndex(-7);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(changes, 0);
  combo.UserSelect(2);  // only the user's choice runs the handler
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo.Text(), "20");
}

TEST(ItemListTest, ListBoxUserChoiceRunsClick) {
  ListBox list("List", nullptr);
  list.SetItems({"a", "b"});
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.SetItemIndex(0);
  list.UserSelect(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST(ColorBoxTest, UnknownColourBecomesTheCustomEntry) {
  ColorBox box("Colours", nullptr);
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  ASSERT_EQ(box.Entries().size(), 17u);
  EXPECT_EQ(box.Entries()[0].name, "Custom...");

  box.SetSelected(0xFF0000);  // blue is a standard colour
  EXPECT_EQ(box.Entries()[static_cast<size_t>(box.ItemIndex())].name, "Blue");
  box.SetSelected(33023);  // an orange nobody lists
  EXPECT_EQ(box.ItemIndex(), 0);
  EXPECT_EQ(box.Selected(), 33023u);
  EXPECT_EQ(clicks, 0);
  box.UserSelectCustom(0x123456);
  EXPECT_EQ(box.Selected(), 0x123456u);
  EXPECT_EQ(clicks, 1);
}

TEST(SpinEditTest, CodeClampsTypingWaitsForFocusLossArrowsStayInRange) {
  SpinEdit spin("Spin", nullptr, 100, 5000, 1000);
  spin.SetValue(50);
  EXPECT_EQ(spin.Value(), 100);
  spin.SetValue(9999);
  EXPECT_EQ(spin.Value(), 5000);
  spin.Step(+1);
  EXPECT_EQ(spin.Value(), 5000);

  spin.UserType("42");
  EXPECT_EQ(spin.Text(), "42");
  spin.LoseFocus();
  EXPECT_EQ(spin.Value(), 100);
  spin.UserType("abc");
  EXPECT_EQ(spin.Value(), 100) << "a text that is no number reads as the minimum";
  spin.UserType("7000");
  spin.LoseFocus();
  EXPECT_EQ(spin.Text(), "5000");
}

TEST(PanelTest, DisablingAContainerDisablesWhatItHoldsAndRefreshesTheirPeers) {
  Panel form(ControlKind::Form, "Form", nullptr);
  Panel panel(ControlKind::Panel, "Panel", &form);
  Panel group(ControlKind::GroupBox, "Group", &panel);
  Button button("Button", &group, "Go");
  RecordingPeer peer;
  button.AttachPeer(&peer);
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };

  panel.SetEnabled(false);
  EXPECT_TRUE(button.Enabled());
  EXPECT_FALSE(button.EffectivelyEnabled());
  EXPECT_GE(peer.refreshes, 1);
  button.Click();
  EXPECT_EQ(clicks, 0) << "a user cannot click what is disabled";
  panel.SetEnabled(true);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(ImageButtonTest, ImageIndexChangesRefreshThePeer) {
  ImageButton button("Record", nullptr, 0);
  RecordingPeer peer;
  button.AttachPeer(&peer);
  button.SetImageIndex(1);
  button.SetImageIndex(1);
  EXPECT_EQ(button.ImageIndex(), 1);
  EXPECT_EQ(peer.refreshes, 1);
}

TEST(TimerTest, TicksOnlyWhileEnabled) {
  Timer timer("Timer", nullptr, 1);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.Tick();
  timer.SetEnabled(true);
  timer.Tick();
  timer.SetEnabled(false);
  timer.Tick();
  EXPECT_EQ(ticks, 1);
}

TEST(ControlTreeTest, FindNamedSearchesTheWholeSubtreeFromItsRoot) {
  Panel form(ControlKind::Form, "Form", nullptr);
  Panel group(ControlKind::GroupBox, "Group", &form);
  CheckBox nested("Nested", &group, "Nested");
  Panel outside(ControlKind::GroupBox, "Outside", nullptr);
  const struct {
    Control* root;
    const char* name;
    Control* expected;
  } cases[] = {
      {&form, "Form", &form},      {&form, "Group", &group},  {&form, "Nested", &nested},
      {&group, "Nested", &nested}, {&group, "Form", nullptr}, {&form, "Outside", nullptr},
      {&form, "nested", nullptr},  {&form, "", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.root->FindNamed(c.name), c.expected) << c.root->Name() << " / " << c.name;
}

}  // namespace
}  // namespace zelvio
