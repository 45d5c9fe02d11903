// Plain top-level windows that stand in for the program's main window (the owner) and for
// any other window of the program.
#pragma once

#include <windows.h>

#include <string>

namespace abouttest {

HWND CreatePlainWindow(HINSTANCE instance, const char* title, int x, int y, int width, int height);

// Text of a window, as WM_GETTEXT gives it.
std::string WindowText(HWND window);

}  // namespace abouttest
