// The about window while it shows and after: modal over the program's windows, centred,
// the memo focused, the hand over the donation picture; closing hides it and brings the
// owner back; the next showing finds the memo scrolled as it was left; Escape and a quit
// request end a showing too.
#pragma once

#include <windows.h>

#include "checks.h"

namespace abouttest {

void RunModalChecks(HINSTANCE instance, ztest::Report& report);

}  // namespace abouttest
