// Prints what a user could read off a control: text, enabled and visible states, and the
// state that belongs to its kind (checked, selection and items, slider position, tabs).
#pragma once

#include <windows.h>

namespace zdriver {

void DescribeControl(HWND control);

}  // namespace zdriver
