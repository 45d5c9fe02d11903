// Creating a filter straight from its module file, without any registration.
#pragma once

#include <dshow.h>

#include <string>

#include "common/win32/com_ptr.h"

namespace zelvio {

class TFilterGraph;

// Loads the module (kept loaded for good) and asks its DllGetClassObject for a filter of the
// class. Throws "Error: Failed to open file: " or "Error: Failed to add filter: " followed
// by the module name.
ComPtr<IBaseFilter> CreateFilterFromModule(const std::string& module, const GUID& filterClass);

// The same, and the new filter added to the graph without a name; with `prepared` (made
// ahead by CreateFilterFromModule), that one is added instead and `prepared` left empty.
void LoadFilterFromModule(const std::string& module, const GUID& filterClass, ComPtr<IBaseFilter>& filter,
                          TFilterGraph& graph, ComPtr<IBaseFilter>* prepared = nullptr);

}  // namespace zelvio
