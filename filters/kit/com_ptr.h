// The filters hold COM interface pointers in the program's own holder: a raw pointer goes
// in only through Adopt (taking over a reference) or Share (adding one).
#pragma once
#include "capture/com_ptr_win32.h"

namespace kit {

using zelvio::ComPtr;

}  // namespace kit
