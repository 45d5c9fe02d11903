// Creating a filter straight from its module file, without any registration.
#pragma once

#include <dshow.h>

#include <string>

#include "common/win32/com_ptr.h"

namespace zelvio {

// Loads the module (kept loaded for good) and asks its DllGetClassObject for a filter of the
// class. Throws "Error: Failed to open file: " or "Error: Failed to add filter: " followed
// by the module name.
ComPtr<IBaseFilter> CreateFilterFromModule(const std::string& module, const GUID& filterClass);

}  // namespace zelvio
