#include "control_type.h"

#include <commctrl.h>

#include <string>

#include "windows_find.h"

namespace zdriver {

namespace {

constexpr UINT kQueryTimeoutMs = 2000;

bool SameClass(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

ControlType ButtonType(HWND window) {
  LONG style = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  switch (style) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return ControlType::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return ControlType::RadioButton;
    case BS_GROUPBOX:
      return ControlType::GroupBox;
    default:
      return ControlType::PushButton;
  }
}

}  // namespace

ControlType TypeOf(HWND window) {
  std::string name = ClassOf(window);
  if (SameClass(name, WC_BUTTONA)) return ButtonType(window);
  if (SameClass(name, WC_STATICA)) return ControlType::Label;
  if (SameClass(name, WC_EDITA)) return ControlType::Edit;
  if (SameClass(name, WC_COMBOBOXA)) return ControlType::ComboBox;
  if (SameClass(name, WC_LISTBOXA)) return ControlType::ListBox;
  if (SameClass(name, TRACKBAR_CLASSA)) return ControlType::TrackBar;
  if (SameClass(name, WC_TABCONTROLA)) return ControlType::TabControl;
  if (SameClass(name, UPDOWN_CLASSA)) return ControlType::UpDown;
  return ControlType::Other;
}

const char* TypeName(ControlType type) {
  switch (type) {
    case ControlType::PushButton:
      return "button";
    case ControlType::CheckBox:
      return "checkbox";
    case ControlType::RadioButton:
      return "radiobutton";
    case ControlType::GroupBox:
      return "groupbox";
    case ControlType::Label:
      return "label";
    case ControlType::Edit:
      return "edit";
    case ControlType::ComboBox:
      return "combobox";
    case ControlType::ListBox:
      return "listbox";
    case ControlType::TrackBar:
      return "trackbar";
    case ControlType::TabControl:
      return "tabcontrol";
    case ControlType::UpDown:
      return "updown";
    case ControlType::Other:
      return "other";
  }
  return "other";
}

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs, LRESULT* result) {
  DWORD_PTR answer = 0;
  LRESULT ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer);
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return ok != 0;
}

LRESULT Query(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!SendWithin(window, message, wParam, lParam, kQueryTimeoutMs, &result)) return 0;
  return result;
}

}  // namespace zdriver
