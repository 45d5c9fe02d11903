// The driver's commands. Each takes its positional arguments, prints its findings as
// "key: value" lines and returns the process exit code: 0 success, 1 failure.
#pragma once

#include "args.h"

namespace zdriver {

// Top-level windows.
int WaitWindowCommand(const Args& args);
int WindowInfoCommand(const Args& args);
int WaitGoneCommand(const Args& args);
int CloseMainCommand(const Args& args);
int HotkeyCommand(const Args& args);
int HotkeySequenceCommand(const Args& args);
int PressKeysCommand(const Args& args);

// Controls of the main window.
int ControlCommand(const Args& args);
int ControlsCommand(const Args& args);
int ClickCommand(const Args& args);
int SelectCommand(const Args& args);
int SetTrackBarCommand(const Args& args);
int SelectTabCommand(const Args& args);

// Message boxes.
int MessageBoxCommand(const Args& args);
int DismissCommand(const Args& args);
int DismissAllCommand(const Args& args);

// A dialog found by its caption: read, set and click its controls by id.
int DialogCommand(const Args& args);

// Start-up timing.
int StartTimedCommand(const Args& args);

}  // namespace zdriver
