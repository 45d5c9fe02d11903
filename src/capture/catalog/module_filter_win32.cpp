#include "capture/catalog/module_filter_win32.h"

#include "common/errors.h"
#include "platform/wide_text_win32.h"

namespace zelvio {
namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

HMODULE LoadWithoutErrorBox(const std::string& module) {
  UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE handle = LoadLibraryW(Widen(module).c_str());
  SetErrorMode(previous);
  return handle;
}

ComPtr<IClassFactory> ClassFactory(HMODULE handle, const GUID& filterClass) {
  auto getClassObject = reinterpret_cast<GetClassObjectFunction>(
      reinterpret_cast<void*>(GetProcAddress(handle, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  if (getClassObject) getClassObject(filterClass, IID_IClassFactory, factory.PutVoid());
  return factory;
}

}  // namespace

ComPtr<IBaseFilter> CreateFilterFromModule(const std::string& module, const GUID& filterClass) {
  HMODULE handle = LoadWithoutErrorBox(module);
  if (!handle) throw ZelvioError("Error: Failed to open file: " + module);
  ComPtr<IClassFactory> factory = ClassFactory(handle, filterClass);
  ComPtr<IBaseFilter> filter;
  if (factory) factory->CreateInstance(nullptr, IID_IBaseFilter, filter.PutVoid());
  if (!filter) throw ZelvioError("Error: Failed to add filter: " + module);
  return filter;
}

}  // namespace zelvio
