// The peer of one control: a real child window of the main window that shows the control's
// state, and the way the user's actions on that window reach the control.
//
// Every control window is a direct child of the main window, whatever group box or tab it
// sits in, so its notifications arrive at one window procedure and a driver finds it with
// GetDlgItem(main window, ID).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/peer_host_win32.h"

namespace zelvio {

class WindowPeer : public ControlPeer {
 public:
  WindowPeer(PeerHost& host, Control& control, HWND window)
      : host_(host), control_(control), window_(window) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  HWND Window() const { return window_; }
  // Windows that belong to the control besides Window(), such as a spin edit's arrows.
  virtual std::vector<HWND> ExtraWindows() const { return {}; }
  Control& GetControl() const { return control_; }

  // Mirrors everything the control holds: the common visible and enabled state first,
  // then the kind's own state.
  void Refresh(Control& control) final;
  // Only the shown state, after another tab page was selected.
  virtual void RefreshVisibility();

  // User actions, routed here by the main window. Each returns whether it handled the message.
  virtual void OnCommand(int /*code*/) {}
  virtual void OnScroll() {}
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  // What the peer posted itself for later (kMessageDeferredPeerAction).
  virtual void OnDeferred() {}
  // WM_CTLCOLORSTATIC / WM_CTLCOLORBTN: the brush to paint the background with, or nullptr
  // for the system's default. By default the control blends into what lies behind it.
  virtual HBRUSH OnControlColour(HDC dc);

 protected:
  virtual void RefreshState() {}
  // Whether the control may show at all; the carrier labels say no, always.
  bool ShouldShow() const;
  PeerHost& Host() const { return host_; }

  // Set while the peer writes into its window, so the notifications that writing causes
  // are not taken for the user's doing.
  bool refreshing_ = false;

 private:
  PeerHost& host_;
  Control& control_;
  HWND window_;
};

// Runs `action` with `flag` set, so re-entrant notifications can tell.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = previous_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

// The window text, in UTF-8 like every text of the program.
std::string WindowText(HWND window);
// Sets the text only when it differs, so nothing flickers and no EN_CHANGE is sent for nothing.
void SetWindowTextIfChanged(HWND window, const std::string& text);

}  // namespace zelvio
