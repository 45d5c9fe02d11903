// The program's application window: no size, titled with the application title, it owns
// the main window and carries the program's taskbar button and Alt+Tab entry, so both
// read "Zelvio" and not the main window's caption. Minimising the program minimises this
// window and hides the main window with it; restoring brings the main window back.
#pragma once

#include <windows.h>

#include <functional>

namespace zelvio {

class ApplicationWindow {
 public:
  ApplicationWindow(HINSTANCE instance, const char* title);
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;

  HWND Handle() const { return window_; }
  void SetMainWindow(HWND main) { main_ = main; }
  // Runs after the program has been minimised (this window iconic, the main window hidden).
  std::function<void()> OnMinimize;

  void Minimize();
  void Restore();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace zelvio
