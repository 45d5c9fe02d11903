// Commands on the controls of the main window, found by design name.
#include <windows.h>

#include <string>

#include "commands.h"
#include "control_actions.h"
#include "control_describe.h"
#include "control_lookup.h"
#include "control_type.h"
#include "ui/control_table.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

// Resolves the control or prints why not; nullptr on failure.
HWND ControlByName(const std::string& name) {
  HWND main = MainWindow();
  if (main == nullptr) {
    Fail("main window not found");
    return nullptr;
  }
  FoundControl found = FindControl(main, name);
  if (found.window == nullptr) Fail(found.error);
  return found.window;
}

int Report(const ActionResult& result) {
  if (!result.ok) return Fail(result.error);
  PrintFlag("handled", result.handled);
  return 0;
}

// One line a window: id, design name ("?" for a window the table does not know), class,
// kind and text.
BOOL CALLBACK PrintOneControl(HWND window, LPARAM) {
  int id = GetDlgCtrlID(window);
  std::string name(zelvio::ControlNameFor(id));
  if (name.empty()) name = "?";
  std::string line = std::to_string(id) + " " + name + " " + ClassOf(window) + " " +
                     TypeName(TypeOf(window)) + " \"" + EscapeText(WindowText(window)) + "\"";
  PrintField("control", line);
  return TRUE;
}

bool IndexArg(const Args& args, size_t at, int* value) {
  long long parsed = 0;
  if (!ParseInt(args[at], &parsed)) return false;
  *value = static_cast<int>(parsed);
  return true;
}

}  // namespace

int ControlCommand(const Args& args) {
  HWND control = ControlByName(args[0]);
  if (control == nullptr) return 1;
  PrintField("name", args[0]);
  DescribeControl(control);
  return 0;
}

int ControlsCommand(const Args&) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  EnumChildWindows(main, PrintOneControl, 0);
  return 0;
}

int ClickCommand(const Args& args) {
  HWND control = ControlByName(args[0]);
  if (control == nullptr) return 1;
  return Report(Click(control));
}

int SelectCommand(const Args& args) {
  int index = 0;
  if (!IndexArg(args, 1, &index)) return Fail("bad index");
  HWND control = ControlByName(args[0]);
  if (control == nullptr) return 1;
  return Report(Select(control, index));
}

int SetTrackBarCommand(const Args& args) {
  int position = 0;
  if (!IndexArg(args, 1, &position)) return Fail("bad position");
  HWND control = ControlByName(args[0]);
  if (control == nullptr) return 1;
  return Report(SetTrackBar(control, position));
}

int SelectTabCommand(const Args& args) {
  int index = 0;
  if (!IndexArg(args, 1, &index)) return Fail("bad index");
  HWND control = ControlByName(args[0]);
  if (control == nullptr) return 1;
  return Report(SelectTab(control, index));
}

}  // namespace zdriver
