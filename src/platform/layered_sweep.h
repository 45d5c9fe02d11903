// Which windows the layered-window sweep passes over: the taskbar, the taskbar's first
// "Button" child and the "Start" window. Each is looked up afresh for every visited window,
// through look-ups the caller supplies (the Win32 side uses FindWindow and FindWindowEx).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zelvio {

using SweepWindow = std::uintptr_t;  // 0 means none

struct SweepLookups {
  // The first top-level window of the class (any title).
  std::function<SweepWindow(const std::string& className)> topLevel;
  // The first child of `parent` of the class (any title); a parent of 0 means the desktop,
  // so the first top-level window of the class.
  std::function<SweepWindow(SweepWindow parent, const std::string& className)> child;
  // The top-level window whose class is the atom and whose title is the text.
  std::function<SweepWindow(unsigned atom, const std::string& title)> byAtomAndTitle;
};

bool SparedBySweep(SweepWindow window, const SweepLookups& lookups);

}  // namespace zelvio
