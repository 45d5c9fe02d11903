// Counts live objects and server locks so DllCanUnloadNow can answer truthfully.
#pragma once
#include <windows.h>

namespace zelvio::kit {

void ModuleAddRef();
void ModuleRelease();
LONG ModuleRefCount();

// Every COM object of the module holds one of these for its lifetime.
class ModuleRef {
 public:
  ModuleRef() { ModuleAddRef(); }
  ~ModuleRef() { ModuleRelease(); }
  ModuleRef(const ModuleRef&) { ModuleAddRef(); }
  ModuleRef& operator=(const ModuleRef&) = default;
};

}  // namespace zelvio::kit
