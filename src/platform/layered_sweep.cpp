#include "platform/layered_sweep.h"

namespace zelvio {

bool SparedBySweep(SweepWindow window, const SweepLookups& lookups) {
  SweepWindow taskbar = lookups.topLevel("Shell_TrayWnd");
  if (taskbar != 0 && window == taskbar) return true;
  // Without a taskbar the parent is 0 and the look-up finds the first top-level "Button"
  // window instead, which is then spared: that is how the sweep has always behaved.
  SweepWindow button = lookups.child(taskbar, "Button");
  if (button != 0 && window == button) return true;
  // The Vista start orb: class atom 0xC017, title "Start".
  SweepWindow start = lookups.byAtomAndTitle(0xC017, "Start");
  return start != 0 && window == start;
}

}  // namespace zelvio
