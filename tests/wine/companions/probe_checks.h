// The two groups of checks companions_probe.exe runs.
#pragma once

#include "checks.h"

#include <windows.h>

struct ProbeOptions {
  // Keeps the red frame on the screen this long, for a screenshot from outside.
  DWORD holdMs = 0;
};

void RunOverlayChecks(ztest::Report& report, const ProbeOptions& options);
void RunHookCursorChecks(ztest::Report& report);
