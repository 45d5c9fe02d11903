// Checks of the about window as built, before it is first shown: its class, border and
// size, every control at its place with its text, the memo's text and wrapping, the fonts.
#pragma once

#include <windows.h>

#include "checks.h"

namespace abouttest {

void CheckBuiltWindow(HWND about, ztest::Report& report);

}  // namespace abouttest
