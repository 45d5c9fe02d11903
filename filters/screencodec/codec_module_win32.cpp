#include "codec_module_win32.h"

namespace zelvio::screencodec {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  // Any address inside this module names it; no reference is taken, the host keeps it loaded.
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

}  // namespace zelvio::screencodec
