// The shipped program's marks cost a call and do nothing. This file holds nothing else, so
// a build that links its own recorder (tests/wine/trace) never pulls it in.
#include "platform/startup_trace_win32.h"

namespace zelvio {

void StartupTraceMark(const std::string&) {}
void StartupTraceEnd() {}

}  // namespace zelvio
