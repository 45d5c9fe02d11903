// The two groups of checks companions_probe.exe runs.
#pragma once

#include "probe_report.h"

#include <windows.h>

struct ProbeOptions {
    // Keeps the red frame on the screen this long, for a screenshot from outside.
    DWORD holdMs = 0;
};

void RunOverlayChecks(ProbeReport& report, const ProbeOptions& options);
void RunHookCursorChecks(ProbeReport& report);
