// Every control of the main window has a fixed Win32 control ID, looked up by its design
// name. The window gives each control's HWND that ID, so a test driver in another process
// finds "CheckBoxEnableAudio" with the same table and GetDlgCtrlID / GetDlgItem.
//
// The numbers are part of the program's outside face: never renumber an entry, only add.
#pragma once

#include <span>
#include <string_view>

namespace zelvio {

struct ControlIdEntry {
  std::string_view name;
  int id;
};

inline constexpr int kFirstControlId = 1000;

// The arrow part of the spin edit is a window of its own beside the edit.
inline constexpr std::string_view kSpinArrowsName = "SpinEditTransparencyClockArrows";

// All entries, in the form's creation order.
std::span<const ControlIdEntry> ControlIds();

// The ID for a design name; 0 for a name the window does not have.
int ControlIdFor(std::string_view designName);

// The design name for an ID; empty for an unknown ID.
std::string_view ControlNameFor(int id);

}  // namespace zelvio
