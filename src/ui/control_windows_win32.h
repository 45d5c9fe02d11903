// Creates the child window of one control and the peer that keeps it in step.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/layout_win32.h"
#include "ui/window_peer_win32.h"

namespace zelvio {

struct ChildWindowSpec {
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
                                                const ChildWindowSpec& spec);

// Moves the control's windows (the peer's own and its extra ones) to the place and size the
// spec gives, as CreateControlWindow would have placed them, and hands them the spec's font.
void PlaceControlWindow(WindowPeer& peer, Control& control, const ChildWindowSpec& spec);

// Height of the items of owner-drawn lists in the given font.
int OwnerDrawItemHeight(HFONT font);

}  // namespace zelvio
