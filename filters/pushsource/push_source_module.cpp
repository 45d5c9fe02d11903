// Module entry points of PushSource.ax.
#include <windows.h>

#include "kit/class_factory.h"
#include "push_source_filter.h"

namespace {

const zelvio::kit::FactoryEntry kFactories[] = {
    {&CLSID_ZelvioPushSource, &zelvio::pushsource::PushSourceFilter::Create},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return zelvio::kit::GetClassObjectFromTable(kFactories, sizeof(kFactories) / sizeof(kFactories[0]), clsid,
                                              iid, out);
}

STDAPI DllCanUnloadNow() { return zelvio::kit::CanUnloadModule(); }
