// Every control of the main window in one table: its design name, its fixed Win32 control
// ID and its place. One row a control, so a control cannot have an ID without a place or
// be placed under a name the window does not have; the rows come from the control list
// that the form's members are made from too.
//
// IDs: the window gives each control's HWND its ID, so a test driver in another process
// finds "CheckBoxEnableAudio" with the same table and GetDlgCtrlID / GetDlgItem. The numbers
// are part of the program's outside face: never renumber a row, only add.
//
// Places, in pixels at 96 dots per inch: a place is relative to the content area of the
// control's container (its parent in the form): the client area for the window itself, the
// inside of a group box or panel, the page area of a tab control for a tab sheet. A width or
// height of zero or less reaches to that many pixels short of the container's far edge, and
// a negative x keeps that far from the right edge, so a control can fill, dock or sit at
// the right without knowing the exact size of a tab page, which depends on the tab row.
#pragma once

#include <span>
#include <string_view>

namespace zelvio {

enum LayoutFlag : unsigned {
  kLayoutPlain = 0,
  kLayoutTicks = 1,       // track bar with tick marks
  kLayoutWrap = 2,        // label wraps its words
  kLayoutRight = 4,       // label aligned right
  kLayoutCentre = 8,      // label centred
  kLayoutRedText = 16,    // label drawn in red
  kLayoutTabImages = 32,  // tab control with a picture on each tab
  kLayoutNoWindow = 64,   // no window of its own to place (timers)
};

struct ControlPlace {
  int x;
  int y;
  int width;
  int height;
  unsigned flags;
};

// A tab sheet is its tab control's page area.
inline constexpr ControlPlace kFillsContainer{0, 0, 0, 0, kLayoutPlain};
inline constexpr ControlPlace kNoWindowPlace{0, 0, 0, 0, kLayoutNoWindow};

struct ControlRow {
  std::string_view name;
  int id;
  ControlPlace place;
};

inline constexpr int kFirstControlId = 1000;

// The arrow part of the spin edit is a window of its own beside the edit.
inline constexpr std::string_view kSpinArrowsName = "SpinEditTransparencyClockArrows";

// The main window's client area at 96 dpi.
inline constexpr int kMainClientWidth = 393;
inline constexpr int kMainClientHeight = 418;

// All rows, in the form's creation order. They are made from the list of the main window's
// controls (app/form/form_controls.h), which declares each control once.
std::span<const ControlRow> ControlRows();

// The ID for a design name; 0 for a name the window does not have.
int ControlIdFor(std::string_view designName);

// The design name for an ID; empty for an unknown ID.
std::string_view ControlNameFor(int id);

// The place of a control at 96 dpi; nullptr for a name the window does not have and for a
// control without a window of its own.
const ControlPlace* PlaceOf(std::string_view name);

}  // namespace zelvio
