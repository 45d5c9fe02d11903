#include "codec_module_win32.h"

#include <vector>

namespace zelvio::screencodec {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  // Any address inside this module names it; no reference is taken, the host keeps it loaded.
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

std::wstring ModuleFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::wstring full(path.data(), length);
      size_t separator = full.find_last_of(L"\\/");
      return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace zelvio::screencodec
