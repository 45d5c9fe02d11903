// The filters hold COM interface pointers in the program's own holder: a raw pointer goes
// in only through Adopt (taking over a reference) or Share (adding one).
#pragma once
#include "common/win32/com_ptr.h"

namespace zelvio::kit {

using zelvio::ComPtr;

}  // namespace zelvio::kit
