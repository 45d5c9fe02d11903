// The windows the layered-window sweep leaves alone: the taskbar, its first button and the
// Start window, found the way Windows finds them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/layered_sweep.h"

namespace zelvio {
namespace {

// The windows the sweep passes over, on a desktop given as a table of top-level windows
// (class, title) and children of the taskbar; the first match in the table is the one a
// look-up finds.
TEST(LayeredSweep, SparesTheTaskbarItsFirstButtonAndTheStartWindow) {
  struct Window {
    SweepWindow handle;
    std::string className;
    std::string title;
    SweepWindow parent;  // 0: top-level
  };
  constexpr SweepWindow kTaskbar = 10, kTaskbarButton = 11, kTaskbarButton2 = 12, kLooseButton = 20,
                        kOtherLooseButton = 21, kStart = 30, kStartOtherTitle = 31, kPlain = 40;
  const Window taskbar{kTaskbar, "Shell_TrayWnd", "", 0};
  const Window taskbarButton{kTaskbarButton, "Button", "Start", kTaskbar};
  const Window taskbarButton2{kTaskbarButton2, "Button", "", kTaskbar};
  const Window looseButton{kLooseButton, "Button", "OK", 0};
  const Window otherLooseButton{kOtherLooseButton, "Button", "Cancel", 0};
  const Window start{kStart, "#49175", "Start", 0};  // class atom 0xC017
  const Window startOtherTitle{kStartOtherTitle, "#49175", "Begin", 0};
  const Window plain{kPlain, "Notepad", "Untitled", 0};
  struct Case {
    const char* what;
    std::vector<Window> desktop;
    std::vector<SweepWindow> spared;
  };
  const Case cases[] = {
      {"taskbar: it and its first button",
       {taskbar, taskbarButton, taskbarButton2, looseButton, plain},
       {kTaskbar, kTaskbarButton}},
      {"taskbar without buttons: a top-level button is not its button",
       {taskbar, looseButton, plain},
       {kTaskbar}},
      {"no taskbar: the first top-level Button window",
       {looseButton, otherLooseButton, plain},
       {kLooseButton}},
      {"no taskbar, no button: nothing", {plain}, {}},
      {"the Start window by atom and title", {start, startOtherTitle, plain}, {kStart}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SweepLookups lookups;
    lookups.topLevel = [&c](const std::string& className) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == 0 && w.className == className) return w.handle;
      }
      return 0;
    };
    lookups.child = [&c](SweepWindow parent, const std::string& className) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == parent && w.className == className) return w.handle;
      }
      return 0;
    };
    lookups.byAtomAndTitle = [&c](unsigned atom, const std::string& title) -> SweepWindow {
      for (const Window& w : c.desktop) {
        if (w.parent == 0 && w.className == "#" + std::to_string(atom) && w.title == title) return w.handle;
      }
      return 0;
    };
    std::vector<SweepWindow> spared;
    for (const Window& w : c.desktop) {
      if (SparedBySweep(w.handle, lookups)) spared.push_back(w.handle);
    }
    EXPECT_EQ(spared, c.spared);
  }
}

}  // namespace
}  // namespace zelvio
