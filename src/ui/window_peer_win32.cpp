#include "ui/window_peer_win32.h"

#include <vector>

#include "platform/wide_text_win32.h"

namespace zelvio {

WindowPeer::~WindowPeer() {
  if (control_.Peer() == this) control_.AttachPeer(nullptr);
}

bool WindowPeer::ShouldShow() const {
  for (const Control* c = &control_; c; c = c->Parent()) {
    if (!c->Visible()) return false;
  }
  return host_.OnSelectedPages(control_);
}

void WindowPeer::Refresh(Control&) {
  if (!IsWindow(window_)) return;
  ScopedFlag writing(refreshing_);
  bool enabled = control_.EffectivelyEnabled();
  if ((IsWindowEnabled(window_) != FALSE) != enabled) EnableWindow(window_, enabled);
  RefreshState();
  RefreshVisibility();
}

void WindowPeer::RefreshVisibility() {
  if (!IsWindow(window_)) return;
  bool show = ShouldShow();
  bool shown = (GetWindowLongA(window_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (show != shown) ShowWindow(window_, show ? SW_SHOWNA : SW_HIDE);
}

HBRUSH WindowPeer::OnControlColour(HDC dc) {
  SetBkColor(dc, host_.BackgroundColour(control_));
  return host_.BackgroundBrush(control_);
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), length + 1);
  return NarrowBounded(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (WindowText(window) == text) return;
  SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace zelvio
