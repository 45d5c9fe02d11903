// Driver commands for the desktop-side tests: window state and placement, the main
// window's tray messages, the screen's pixels, processes and file attributes, typed text,
// and the time a click takes to produce a file.
// Same conventions as commands.h: "key: value" lines, exit code 0 success, 1 failure.
#pragma once

#include "args.h"

namespace zdriver {

// Window state and placement.
int WindowExStyleCommand(const Args& args);
int MoveMainCommand(const Args& args);
int ShowMainCommand(const Args& args);
int ShowWindowCommand(const Args& args);
int PostCloseCommand(const Args& args);
int PixelCommand(const Args& args);
int FlashOrBoxCommand(const Args& args);

// Messages the tray icon and its menu send to the main window.
int MenuCommandCommand(const Args& args);
int TrayClickCommand(const Args& args);

// Processes and files.
int TerminateCommand(const Args& args);
int ResourcesCommand(const Args& args);
int FileAttributesCommand(const Args& args);
int EndSessionCommand(const Args& args);
int HoldFileCommand(const Args& args);

// Text typed into an edit box, then the box left.
int SetTextCommand(const Args& args);

// The folder picker answered with a folder.
int PickFolderCommand(const Args& args);

// The popup menu open on the screen.
int PopupMenuCommand(const Args& args);

// Time from a click to a file on disk.
int TimeClickCommand(const Args& args);

}  // namespace zdriver
