// The dots per inch a window is drawn at, and what depends on it. The functions Windows 10
// added for monitors of different scale are looked up at run time, so the programs still
// start on Windows 7, where every window has the system's one setting.
#pragma once

#include <windows.h>

namespace zelvio {

// The screen's logical pixels per inch (LOGPIXELSY), the system-wide setting.
int SystemDpi();

// The dots per inch of the window's monitor for a per-monitor aware program; the system
// setting where Windows does not tell them apart.
int WindowDpi(HWND window);

// AdjustWindowRectEx with the frame metrics of `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// A system metric (SM_CXSMICON, SM_CXVSCROLL ...) as it is at `dpi`.
int SystemMetricForDpi(int index, int dpi);

// An icon resource at size x size pixels, the image of that size or a larger one scaled
// down, through comctl32's LoadIconWithScaleDown; nullptr where comctl32 lacks it or the
// resource is missing. Destroy it when done.
HICON LoadIconScaledDown(HINSTANCE instance, int resourceId, int size);

// An icon resource at size x size pixels: the image of that size when the icon has it,
// otherwise a larger one scaled down (or the nearest one scaled). Destroy it when done.
HICON LoadIconSized(HINSTANCE instance, int resourceId, int size);

// Asks Windows, where it can, to scale the window's non-client area (caption, menus, scroll
// bars) with its monitor; a per-monitor (v2) aware program gets that without asking.
void EnableNonClientScaling(HWND window);

}  // namespace zelvio
