// The tray icon's menu: seven items with their own small pictures. Its commands come back
// to the main window as WM_COMMAND with the item identifiers below, so a click on the menu
// and a command sent to the window take the same path.
#pragma once

#include <windows.h>

#include "app/form_main.h"

namespace zelvio {

enum TrayCommand : UINT {
  kTrayRestore = 9001,
  kTrayRecord,
  kTrayPause,
  kTrayStop,
  kTraySnapshot,
  kTrayToggleBg,
  kTrayExit,
};

// Opens the menu at the cursor with Record, Pause and Stop enabled by the recording state.
void ShowTrayMenu(HWND owner, TFormMain& form);

// Runs a tray command; false when `id` is not one.
bool RunTrayCommand(UINT id, TFormMain& form);

}  // namespace zelvio
