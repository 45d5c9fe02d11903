// The about window, FormAbout of class "TFormAbout": created hidden at start-up right after
// the main window, shown modally in the middle of the desktop by "About". For now an empty
// window of the right size and border; its contents come with the about box itself.
#pragma once

#include <windows.h>

namespace zelvio {

class AboutPlaceholder {
 public:
  AboutPlaceholder(HINSTANCE instance, HWND owner, HFONT font);
  ~AboutPlaceholder();
  AboutPlaceholder(const AboutPlaceholder&) = delete;
  AboutPlaceholder& operator=(const AboutPlaceholder&) = delete;

  HWND Handle() const { return window_; }
  // Returns when the user has closed the window; the owner is disabled meanwhile. The same
  // window serves every showing.
  void ShowModal();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CentreOnDesktop();

  HWND owner_;
  HWND window_ = nullptr;
  bool open_ = false;
};

}  // namespace zelvio
