// IClassFactory over a table of (CLSID, create function), and the DllGetClassObject and
// DllCanUnloadNow plumbing a filter module needs.
#pragma once
#include <unknwn.h>

#include <cstddef>

namespace zelvio::kit {

using CreateFunction = HRESULT (*)(REFIID iid, void** out);

struct FactoryEntry {
  const CLSID* clsid;
  CreateFunction create;
};

HRESULT GetClassObjectFromTable(const FactoryEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                void** out);
HRESULT CanUnloadModule();

}  // namespace zelvio::kit
