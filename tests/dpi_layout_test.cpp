// Sizes designed at 96 dpi and the main window's layout on scaled displays (120, 144, 192 dpi).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form/form_main.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"
#include "platform/dpi_scale.h"
#include "ui/layout.h"

namespace zelvio {
namespace {

const int kScaledDpis[] = {120, 144, 168, 192, 240};

TEST(ScaleForDpi, UnchangedAt96AndForNonsenseDpi) {
  for (int value : {-135, -9, -1, 0, 1, 17, 22, 393, 418, 700}) {
    EXPECT_EQ(ScaleForDpi(value, 96), value);
    EXPECT_EQ(ScaleForDpi(value, 0), value);
    EXPECT_EQ(ScaleForDpi(value, -144), value);
  }
}

// 150 % is where halves come up: they go away from zero, as Windows' MulDiv rounds, and a
// distance from the far edge (negative) grows exactly as much as the same distance forward.
TEST(ScaleForDpi, RoundsHalvesAwayFromZeroBothWays) {
  EXPECT_EQ(ScaleForDpi(393, 144), 590);  // 589.5
  EXPECT_EQ(ScaleForDpi(17, 144), 26);    // 25.5
  EXPECT_EQ(ScaleForDpi(-17, 144), -26);
  EXPECT_EQ(ScaleForDpi(1, 144), 2);
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);
  EXPECT_EQ(ScaleForDpi(418, 144), 627);
  EXPECT_EQ(ScaleForDpi(22, 144), 33);
  EXPECT_EQ(ScaleForDpi(393, 120), 491);   // 491.25
  EXPECT_EQ(ScaleForDpi(22, 120), 28);     // 27.5
  EXPECT_EQ(ScaleForDpi(-90, 120), -113);  // -112.5
  EXPECT_EQ(ScaleForDpi(393, 192), 786);
  EXPECT_EQ(ScaleForDpi(-6, 192), -12);
  for (int dpi : kScaledDpis) {
    for (int value = 0; value < 800; ++value) EXPECT_EQ(ScaleForDpi(-value, dpi), -ScaleForDpi(value, dpi));
  }
}

// Tahoma 8 pt is 8 pt everywhere: 11 pixels high at 96 dpi, 16 at 144, 21 at 192.
TEST(FontHeightForDpi, PointsStayPoints) {
  EXPECT_EQ(FontHeightForDpi(8, 96), -11);
  EXPECT_EQ(FontHeightForDpi(8, 120), -13);
  EXPECT_EQ(FontHeightForDpi(8, 144), -16);
  EXPECT_EQ(FontHeightForDpi(8, 192), -21);
  EXPECT_EQ(FontHeightForDpi(16, 96), -21);
  EXPECT_EQ(FontHeightForDpi(16, 144), -32);
  EXPECT_EQ(FontHeightForDpi(8, 0), -11);
}

// ---- the main window's layout ----

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

std::string Text(const LayoutRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(MainWindowLayout, EveryPlaceIsUnchangedAt96) {
  for (const ControlRow& row : ControlRows()) {
    const ControlPlace& place = row.place;
    ControlPlace same = ScaledPlace(place, 96);
    EXPECT_EQ(same.x, place.x) << row.name;
    EXPECT_EQ(same.y, place.y) << row.name;
    EXPECT_EQ(same.width, place.width) << row.name;
    EXPECT_EQ(same.height, place.height) << row.name;
    EXPECT_EQ(same.flags, place.flags) << row.name;
  }
}

// The whole window, laid out as the Win32 host does: every control resolved in its
// container's content area. A tab control's page area is what Windows leaves inside the
// frame and the tab row; here a fixed margin and a row of 20 pixels at 96 dpi, scaled.
struct LaidOut {
  std::string name;
  std::string container;
  LayoutRect rect;
};

LayoutRect PageArea(const LayoutRect& tabs, int dpi) {
  const int margin = ScaleForDpi(4, dpi);
  return {tabs.left + margin, tabs.top + ScaleForDpi(24, dpi), tabs.right - margin, tabs.bottom - margin};
}

void LayOut(const Control& control, const LayoutRect& container, const std::string& containerName, int dpi,
            std::vector<LaidOut>& out) {
  LayoutRect own = container;
  if (const ControlPlace* place = PlaceOf(control.Name())) {
    own = ResolvePlace(ScaledPlace(*place, dpi), container);
    out.push_back({control.Name(), containerName, own});
  }
  LayoutRect content = control.Kind() == ControlKind::PageControl ? PageArea(own, dpi) : own;
  const bool container_ =
      control.Kind() == ControlKind::GroupBox || control.Kind() == ControlKind::PageControl;
  const std::string name = container_ ? control.Name() : containerName;
  for (const Control* child : control.Children()) LayOut(*child, content, name, dpi, out);
}

std::vector<LaidOut> LayOutWindow(int dpi) {
  FakePlatform platform;
  FakePipeline pipeline;
  TFormMain form(platform.Services(), pipeline);
  std::vector<LaidOut> out;
  LayoutRect client{0, 0, ScaleForDpi(kMainClientWidth, dpi), ScaleForDpi(kMainClientHeight, dpi)};
  for (const Control* child : form.FormMain.Children()) LayOut(*child, client, "FormMain", dpi, out);
  return out;
}

LayoutRect RectOf(const std::vector<LaidOut>& all, const std::string& name, int dpi) {
  if (name == "FormMain")
    return {0, 0, ScaleForDpi(kMainClientWidth, dpi), ScaleForDpi(kMainClientHeight, dpi)};
  for (const LaidOut& c : all) {
    if (c.name == name) return c.rect;
  }
  return {};
}

// Every control that has a place lies inside its group box or tab control (or the window),
// at 96 dpi and at every scale.
TEST(MainWindowLayout, EveryControlInsideItsContainerAtEveryScale) {
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    std::vector<LaidOut> all = LayOutWindow(dpi);
    ASSERT_GT(all.size(), 100u);
    for (const LaidOut& c : all) {
      LayoutRect outer = RectOf(all, c.container, dpi);
      EXPECT_TRUE(Inside(c.rect, outer)) << c.name << " " << Text(c.rect) << " outside " << c.container << " "
                                         << Text(outer) << " at " << dpi << " dpi";
    }
  }
}

// How far an edge is from the nearer-anchored side of its container: a control placed from
// the far edge keeps that distance, one placed from the near edge the other.
int EdgeDeviation(int edge, int near, int far, int edge96, int near96, int far96, int dpi) {
  const int fromNear = std::abs((edge - near) - ScaleForDpi(edge96 - near96, dpi));
  const int fromFar = std::abs((far - edge) - ScaleForDpi(far96 - edge96, dpi));
  return std::min(fromNear, fromFar);
}

// Each control's edges at a scale are its 96-dpi ones scaled, measured from the side of its
// container it is placed from, give or take the rounding of a position and a size: never
// more than 1 pixel. (Over the nesting of groups in tabs in groups roundings add up; each
// level keeps to this.)
TEST(MainWindowLayout, RectanglesAreThe96DpiOnesScaled) {
  const std::vector<LaidOut> design = LayOutWindow(96);
  for (int dpi : kScaledDpis) {
    const std::vector<LaidOut> scaled = LayOutWindow(dpi);
    ASSERT_EQ(scaled.size(), design.size());
    for (size_t i = 0; i < design.size(); ++i) {
      const LayoutRect c96 = RectOf(design, design[i].container, 96);
      const LayoutRect c = RectOf(scaled, design[i].container, dpi);
      const LayoutRect& r96 = design[i].rect;
      const LayoutRect& r = scaled[i].rect;
      const int worst =
          std::max({EdgeDeviation(r.left, c.left, c.right, r96.left, c96.left, c96.right, dpi),
                    EdgeDeviation(r.right, c.left, c.right, r96.right, c96.left, c96.right, dpi),
                    EdgeDeviation(r.top, c.top, c.bottom, r96.top, c96.top, c96.bottom, dpi),
                    EdgeDeviation(r.bottom, c.top, c.bottom, r96.bottom, c96.top, c96.bottom, dpi)});
      EXPECT_LE(worst, 1) << design[i].name << " at " << dpi << " dpi: " << Text(r) << " in " << Text(c);
    }
  }
}

}  // namespace
}  // namespace zelvio
