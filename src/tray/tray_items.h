// The tray icon's menu as the rest of the program sees it: the identifiers its items send
// back to the main window, and which of Record, Pause and Stop are enabled.
#pragma once

namespace zelvio {

// A click on an item comes back to the main window as WM_COMMAND with its identifier, so a
// click on the menu and a command sent to the window take the same path.
enum TrayCommand : unsigned {
  kTrayRestore = 9001,
  kTrayRecord,
  kTrayPause,
  kTrayStop,
  kTraySnapshot,
  kTrayToggleBg,
  kTrayExit,
};

// Which of the tray menu's Record, Pause and Stop items are enabled.
struct TrayRecordingItems {
  bool record = true;
  bool pause = false;
  bool stop = false;
};

}  // namespace zelvio
