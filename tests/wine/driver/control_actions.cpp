#include "control_actions.h"

#include <commctrl.h>

#include "control_type.h"

namespace zdriver {

namespace {

constexpr UINT kHandleWaitMs = 3000;

ActionResult Failed(const std::string& error) {
  ActionResult result;
  result.error = error;
  return result;
}

ActionResult Sent(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  ActionResult result;
  result.ok = true;
  result.handled = SendWithin(target, message, wParam, lParam, kHandleWaitMs, nullptr);
  return result;
}

// A user cannot operate a disabled control, so neither may the driver.
bool Operable(HWND control) { return IsWindowEnabled(control) != FALSE; }

WPARAM CommandFor(HWND control, WORD code) {
  return MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code);
}

ActionResult SelectInCombo(HWND combo, int index) {
  int count = static_cast<int>(Query(combo, CB_GETCOUNT));
  if (index < 0 || index >= count) return Failed("index out of range");
  Query(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
  return Sent(GetParent(combo), WM_COMMAND, CommandFor(combo, CBN_SELCHANGE),
              reinterpret_cast<LPARAM>(combo));
}

ActionResult SelectInList(HWND list, int index) {
  int count = static_cast<int>(Query(list, LB_GETCOUNT));
  if (index < 0 || index >= count) return Failed("index out of range");
  Query(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  return Sent(GetParent(list), WM_COMMAND, CommandFor(list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

}  // namespace

ActionResult Click(HWND control) {
  if (!Operable(control)) return Failed("control is disabled");
  ControlType type = TypeOf(control);
  bool isButton =
      type == ControlType::PushButton || type == ControlType::CheckBox || type == ControlType::RadioButton;
  if (!isButton) return Failed(std::string("cannot click a ") + TypeName(type));
  return Sent(control, BM_CLICK, 0, 0);
}

ActionResult Select(HWND control, int index) {
  if (!Operable(control)) return Failed("control is disabled");
  ControlType type = TypeOf(control);
  if (type == ControlType::ComboBox) return SelectInCombo(control, index);
  if (type == ControlType::ListBox) return SelectInList(control, index);
  return Failed(std::string("cannot select in a ") + TypeName(type));
}

// A drag ends with the thumb position and then the end of tracking; the program reads the
// position from the slider, so both notifications carry it.
ActionResult SetTrackBar(HWND control, int position) {
  if (!Operable(control)) return Failed("control is disabled");
  if (TypeOf(control) != ControlType::TrackBar) return Failed("not a track bar");
  Query(control, TBM_SETPOS, TRUE, position);
  bool vertical = (GetWindowLongA(control, GWL_STYLE) & TBS_VERT) != 0;
  UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
  LPARAM source = reinterpret_cast<LPARAM>(control);
  WORD thumb = static_cast<WORD>(Query(control, TBM_GETPOS));
  ActionResult result = Sent(GetParent(control), message, MAKEWPARAM(TB_THUMBPOSITION, thumb), source);
  if (!result.handled) return result;
  return Sent(GetParent(control), message, MAKEWPARAM(TB_ENDTRACK, 0), source);
}

// Moving the focus of a tab control without TCS_BUTTONS selects the tab and sends the
// same TCN_SELCHANGING / TCN_SELCHANGE pair as a click, structures and all, from inside
// the program's own process.
ActionResult SelectTab(HWND control, int index) {
  if (!Operable(control)) return Failed("control is disabled");
  if (TypeOf(control) != ControlType::TabControl) return Failed("not a tab control");
  int count = static_cast<int>(Query(control, TCM_GETITEMCOUNT));
  if (index < 0 || index >= count) return Failed("index out of range");
  ActionResult result = Sent(control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  if (!result.handled) return result;
  if (static_cast<int>(Query(control, TCM_GETCURSEL)) != index) {
    return Failed("the program refused the tab change");
  }
  return result;
}

}  // namespace zdriver
