// The codec's own module: its instance handle (for the dialog's resources and its folder).
#pragma once
#include <windows.h>

namespace zelvio::screencodec {

HINSTANCE ModuleInstance();

}  // namespace zelvio::screencodec
