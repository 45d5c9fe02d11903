// The system's own words for an error code, as a message box shows them.
#pragma once

#include <windows.h>

#include <string>

namespace zelvio {

// FormatMessage's text for `code`, without the trailing line break and full stop, so the
// caller can put it into a sentence of its own.
std::string SystemErrorText(DWORD code);
// The same, but empty where the system has no text for the code.
std::string SystemTextIfAny(DWORD code);

}  // namespace zelvio
