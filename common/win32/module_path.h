// The folder a module was loaded from.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zelvio {

// The folder of `module`'s file (nullptr: the program's own), without a trailing separator;
// empty when the system cannot tell. The path may be longer than MAX_PATH, so the buffer
// grows until the whole name fits.
inline std::wstring ModuleFolder(HMODULE module) {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::wstring full(path.data(), length);
      size_t separator = full.find_last_of(L"\\/");
      return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace zelvio
