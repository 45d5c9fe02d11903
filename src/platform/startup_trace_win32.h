// Marks on the way from process start to the visible main window. The shipped program
// records nothing (startup_trace_win32.cpp); the start-up benchmark links a build of the
// same code whose marks go to a file, so each step's cost can be read off one run.
#pragma once

#include <string>

namespace zelvio {

// One step reached, named for the table the benchmark prints.
void StartupTraceMark(const std::string& step);
// Start-up is over: a tracing build writes what it recorded.
void StartupTraceEnd();

}  // namespace zelvio
