// Owns a window: destroying the holder destroys the window.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};

using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
