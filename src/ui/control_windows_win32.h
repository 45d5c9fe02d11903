// Creates the child window of one control and the peer that keeps it in step.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/layout_win32.h"
#include "ui/window_peer_win32.h"

namespace zelvio {

// Where a control's child window goes and what it is made with: its parent, the module,
// the font, its rectangle in the parent and the layout's flags for it.
struct ChildWindowPlacement {
  HWND parent = nullptr;
  HINSTANCE instance = nullptr;
  HFONT font = nullptr;
  RECT rect{};
  unsigned layoutFlags = kLayoutPlain;
  int dpi = 96;  // the window's dots per inch: the fixed sizes of some controls grow with it
};

// The window and its peer, not yet attached to the control and still hidden; nullptr for
// kinds that have no window of their own (the form, panels, tab sheets, timers).
std::unique_ptr<WindowPeer> CreateControlWindow(PeerHost& host, Control& control,
                                                const ChildWindowPlacement& placement);

// Moves the control's windows (the peer's own and its extra ones) to the place and size the
// placement gives, as CreateControlWindow would have placed them, and hands them its font.
void PlaceControlWindow(WindowPeer& peer, Control& control, const ChildWindowPlacement& placement);

// Height of the items of owner-drawn lists in the given font.
int OwnerDrawItemHeight(HFONT font);

}  // namespace zelvio
