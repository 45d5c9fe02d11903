// The about window, FormAbout of class "TFormAbout": made once at start-up, right after the
// main window, kept hidden, and shown modally each time the user asks for it.
#pragma once

#include <windows.h>

namespace zelvio {

inline constexpr char kAboutWindowClass[] = "TFormAbout";

// Builds the window with all its controls and its usage text, hidden. With an owner, the
// window stays above it and is destroyed with it; otherwise DestroyWindow it when done.
// nullptr when the window cannot be made.
HWND CreateAboutWindow(HINSTANCE instance, HWND owner = nullptr);

// Shows the window in the middle of the desktop and returns once the user has closed it.
// Meanwhile the owner and the program's other windows take no input. Closing only hides
// the window, so the next showing finds it as it was left, scroll position included. A
// call while it already shows returns at once.
void ShowAboutModal(HWND about, HWND owner);

}  // namespace zelvio
