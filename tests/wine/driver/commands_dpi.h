// Driver commands for scaled displays. Same conventions as commands.h.
#pragma once

#include "args.h"

namespace zdriver {

// "place: <name> <class> <left,top,right,bottom in client coordinates> <text fits 1|0|-> <shown|hidden>"
// for every control of the main window, after "dpi:" and "client:".
int LayoutCommand(const Args& args);
// "dpiAware:" and "dpiAwareness:" as the executable's manifest resource writes them.
int ManifestCommand(const Args& args);

}  // namespace zdriver
