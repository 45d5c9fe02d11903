// Checks of the streaming thread's wait for stream time, the wait that paces the screen
// source's frames, against a clock the test moves by hand.
#pragma once

#include "checks.h"

namespace graphtest {

void CheckLiveLoopWait(ztest::Report& report);
// The streaming thread's priority alone (graphtest.exe --priority).
void CheckStreamingThreadPriority(ztest::Report& report);

}  // namespace graphtest
