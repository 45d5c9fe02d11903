// Operates a control the way a user's action would reach the program: the control changes
// and its parent gets the notification the control would have sent.
//
// A handler may open a modal message box and so not return for a while. Each action waits a
// short time for the program to finish handling it and then returns anyway, reporting
// "handled: 0"; the caller then deals with the box.
#pragma once

#include <windows.h>

#include <string>

namespace zdriver {

struct ActionResult {
  bool ok = false;
  bool handled = false;  // the program finished handling within the wait
  std::string error;
};

ActionResult Click(HWND control);
ActionResult Select(HWND control, int index);
ActionResult SetTrackBar(HWND control, int position);
ActionResult SelectTab(HWND control, int index);

}  // namespace zdriver
