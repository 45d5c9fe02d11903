// Finds a control of the main window by its design name, through the same control-ID table
// the program uses. "#<number>" addresses a control by its raw ID instead, which lets the
// driver be tried on windows that are not ours.
#pragma once

#include <windows.h>

#include <string>

namespace zdriver {

struct FoundControl {
  HWND window = nullptr;
  int id = 0;
  std::string error;  // why nothing was found; empty when window is set
};

FoundControl FindControl(HWND mainWindow, const std::string& name);

}  // namespace zdriver
