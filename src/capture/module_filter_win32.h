// Creating a filter straight from its module file, without any registration.
#pragma once

#include <dshow.h>

#include <string>

#include "common/win32/com_ptr.h"

namespace zelvio {

class TFilterGraph;

// Loads the module (kept loaded for good), asks its DllGetClassObject for the class and
// adds the new filter to the graph without a name. Throws "Error: Failed to open file: "
// or "Error: Failed to add filter: " followed by the module name.
void LoadFilterFromModule(const std::string& module, const GUID& filterClass, ComPtr<IBaseFilter>& filter,
                          TFilterGraph& graph);

}  // namespace zelvio
