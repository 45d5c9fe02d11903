// Driver commands for scaled displays. Same conventions as commands.h.
#pragma once

#include "args.h"

namespace zdriver {

// "place: <name> <class> <left,top,right,bottom in client coordinates> <text fits 1|0|-> <shown|hidden>"
// for every control of the main window, after "dpi:", "client:" and "fontheight:" (the
// program font's character height at that dpi), and "pages: <name> <page
// area> <pictures|text>" for each tab control; captions measured at the given dpi (default:
// the system's).
int LayoutCommand(const Args& args);
// Sends the main window WM_DPICHANGED for <dpi> with the suggested window rectangle.
int DpiChangedCommand(const Args& args);
// "dpiAware:" and "dpiAwareness:" as the executable's manifest resource writes them.
int ManifestCommand(const Args& args);

}  // namespace zdriver
