#include "kit/module_lock.h"

namespace zelvio::kit {

namespace {
volatile LONG g_moduleRefs = 0;
}

void ModuleAddRef() { InterlockedIncrement(&g_moduleRefs); }
void ModuleRelease() { InterlockedDecrement(&g_moduleRefs); }
LONG ModuleRefCount() { return InterlockedCompareExchange(&g_moduleRefs, 0, 0); }

}  // namespace zelvio::kit
