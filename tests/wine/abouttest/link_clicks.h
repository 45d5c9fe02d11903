// The three links, end to end: the about window hands each address to the shell, which
// run.sh has pointed at this program's --record-link mode; the window stays open meanwhile.
#pragma once

#include <windows.h>

#include "checks.h"

namespace abouttest {

// Clicks "Visit", "Check Version" and the donation picture in turn, then closes the window.
void ClickLinks(HINSTANCE instance, ztest::Report& report);

// Appends the address as one line to the file; what the shell runs for a web address.
int RecordLink(const char* file, const char* address);

// Shows the window for `milliseconds`, long enough for a screenshot, then closes it.
void HoldOpen(HINSTANCE instance, UINT milliseconds);

}  // namespace abouttest
