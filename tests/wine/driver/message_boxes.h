// The program's message boxes, seen from outside: top-level dialog windows ("#32770") of the
// main window's process. Without a main window (it may already be gone at the end of a
// run), a dialog captioned with the program's title counts.
#pragma once

#include <windows.h>

#include <string>

namespace zdriver {

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::string buttons;  // captions joined by "|"
  bool hasIcon = false;
};

// Waits up to timeoutMs for a box; window is nullptr when none came.
MessageBoxInfo WaitForMessageBox(DWORD timeoutMs);

void PrintMessageBox(const MessageBoxInfo& box);

// Presses OK (WM_COMMAND IDOK) and waits until the box is gone.
bool DismissMessageBox(HWND box, DWORD timeoutMs);

}  // namespace zdriver
