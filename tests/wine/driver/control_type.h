// What kind of control a window is, from its class name and style, so that reading and
// operating it uses the messages a user's action would produce for that kind.
#pragma once

#include <windows.h>

namespace zdriver {

enum class ControlType {
  PushButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Label,
  Edit,
  ComboBox,
  ListBox,
  TrackBar,
  TabControl,
  UpDown,
  Other,
};

ControlType TypeOf(HWND window);
const char* TypeName(ControlType type);

// Sends with a time limit: a handler that opens a modal box must not hang the harness.
// Returns false when the target did not answer in time (it may still be handling it).
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs, LRESULT* result);

// Reads a value a control answers at once; 0 when the control does not answer.
LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

}  // namespace zdriver
