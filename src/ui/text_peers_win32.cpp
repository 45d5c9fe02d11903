// Edit boxes and the spin edit.
#include "ui/control_peers_win32.h"

#include <algorithm>

#include "platform/wide_text_win32.h"

namespace zelvio {

void EditPeer::RefreshState() {
  SetWindowTextIfChanged(Window(), edit_.Text());
  // The caret decides which end of a long path is in view. The control counts UTF-16
  // characters where the text counts UTF-8 bytes.
  const std::string& text = edit_.Text();
  WPARAM caret = Widen(std::string_view(text).substr(0, std::min(edit_.CaretPosition(), text.size()))).size();
  SendMessageA(Window(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
  SendMessageA(Window(), EM_SCROLLCARET, 0, 0);
}

void EditPeer::OnCommand(int code) {
  if (code != EN_CHANGE || refreshing_) return;
  std::string text = WindowText(Window());
  Host().Guarded([this, &text] { edit_.SetText(text); });
}

void SpinEditPeer::RefreshState() {
  if (WindowText(Window()) != spin_.Text()) {
    SetWindowTextIfChanged(Window(), spin_.Text());
    // A value set from code or by the arrows is read from its end, as after typing.
    LPARAM end = static_cast<LPARAM>(spin_.Text().size());
    SendMessageA(Window(), EM_SETSEL, static_cast<WPARAM>(end), end);
  }
  bool enabled = spin_.EffectivelyEnabled();
  if ((IsWindowEnabled(arrows_) != FALSE) != enabled) EnableWindow(arrows_, enabled);
}

void SpinEditPeer::RefreshVisibility() {
  WindowPeer::RefreshVisibility();
  if (!IsWindow(arrows_)) return;
  bool show = ShouldShow();
  bool shown = (GetWindowLongA(arrows_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (show != shown) ShowWindow(arrows_, show ? SW_SHOWNA : SW_HIDE);
}

void SpinEditPeer::OnCommand(int code) {
  if (refreshing_) return;  // our own SetWindowText sends EN_CHANGE too
  if (code == EN_CHANGE) {
    std::string text = WindowText(Window());
    Host().Guarded([this, &text] { spin_.UserType(text); });
    return;
  }
  if (code == EN_KILLFOCUS) Host().Guarded([this] { spin_.LoseFocus(); });
}

bool SpinEditPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != arrows_ || header.code != UDN_DELTAPOS) return false;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  int step = change.iDelta > 0 ? 1 : -1;
  Host().Guarded([this, step] { spin_.Step(step); });
  result = 1;  // the arrows keep no position of their own
  return true;
}

}  // namespace zelvio
