// The notification-area icon's identity: the message its clicks come back to the main window
// as, and the icon's number.
#pragma once

#include <windows.h>

namespace zelvio {

inline constexpr UINT kTrayIconMessage = WM_APP + 10;
inline constexpr UINT kTrayIconId = 1;

}  // namespace zelvio
