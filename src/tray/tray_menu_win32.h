// The tray icon's menu: seven items with their own small pictures. What a click on an item
// does is the main window's business: it comes back as a WM_COMMAND with the item's
// identifier (tray/tray_items.h).
#pragma once

#include <windows.h>

#include "tray/tray_items.h"

namespace zelvio {

// Opens the menu at the cursor with Record, Pause and Stop enabled as `recording` says.
// The menu closes properly on a click elsewhere only when `owner` is in front: the caller
// brings it there first.
void ShowTrayMenu(HWND owner, const TrayRecordingItems& recording);

}  // namespace zelvio
