// The codec's own module: its instance handle (for the dialog's resources) and its folder.
#pragma once
#include <windows.h>

#include <string>

namespace zelvio::screencodec {

HINSTANCE ModuleInstance();
// The folder the module was loaded from, without a trailing separator.
std::wstring ModuleFolder();

}  // namespace zelvio::screencodec
