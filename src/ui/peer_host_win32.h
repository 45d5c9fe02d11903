// What a control's window peer needs from the window that hosts it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/controls.h"

namespace zelvio {

class PeerHost {
 public:
  virtual ~PeerHost() = default;

  // Timers, notifications and dialogs all belong to the main window.
  virtual HWND MainWindow() const = 0;
  // True when every tab sheet around the control is the selected page of its tab control.
  virtual bool OnSelectedPages(const Control& control) const = 0;
  // Runs a user's action the way the form runs a handler: an error ends up in the error box.
  virtual void Guarded(const std::function<void()>& action) = 0;
  // The toolbar's 22 x 22 picture list, as an enabled or a disabled button shows it.
  virtual HIMAGELIST ButtonImages(bool enabled) const = 0;
  // The tab pictures of the options tab control.
  virtual HIMAGELIST TabImages() const = 0;
  // The dots per inch the controls are drawn at; their pixel sizes are designed at 96.
  virtual int Dpi() const = 0;
  // What shows behind a control: the tab page's colour for controls on a tab page, the
  // dialog colour elsewhere.
  virtual COLORREF BackgroundColour(const Control& control) const = 0;
  virtual HBRUSH BackgroundBrush(const Control& control) const = 0;
  // A tab control shows another page: every control's shown state may change.
  virtual void PagesChanged() = 0;
  // The colour dialog, preset with `colour`; false when cancelled.
  virtual bool ChooseColour(uint32_t& colour) = 0;
};

}  // namespace zelvio
