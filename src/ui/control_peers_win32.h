// The window peers, one class per kind of control. Each mirrors its control into the
// window in RefreshState and passes the user's actions on that window to the control's
// own setters, wrapped like a handler, so the user and the program share one path.
#pragma once

#include <string>
#include <vector>

#include "ui/window_peer_win32.h"

namespace zelvio {

// ---- Buttons (button_peers_win32.cpp) --------------------------------------------------

class ButtonPeer : public WindowPeer {
 public:
  ButtonPeer(PeerHost& host, Button& button, HWND window)
      : WindowPeer(host, button, window), button_(button) {}
  void OnCommand(int code) override;

 protected:
  void RefreshState() override;

 private:
  Button& button_;
};

// The picture is drawn over the button after the button has drawn itself, so the button
// keeps the system's own look in every state.
class ImageButtonPeer : public ButtonPeer {
 public:
  ImageButtonPeer(PeerHost& host, ImageButton& button, HWND window)
      : ButtonPeer(host, button, window), image_(button) {}
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 protected:
  void RefreshState() override;

 private:
  ImageButton& image_;
  int shownIndex_ = -1;
};

class CheckBoxPeer : public WindowPeer {
 public:
  CheckBoxPeer(PeerHost& host, CheckBox& box, HWND window) : WindowPeer(host, box, window), box_(box) {}
  void OnCommand(int code) override;

 protected:
  void RefreshState() override;

 private:
  CheckBox& box_;
};

class RadioButtonPeer : public WindowPeer {
 public:
  RadioButtonPeer(PeerHost& host, RadioButton& radio, HWND window)
      : WindowPeer(host, radio, window), radio_(radio) {}
  void OnCommand(int code) override;

 protected:
  void RefreshState() override;

 private:
  RadioButton& radio_;
};

// Group boxes and plain texts: only the caption to show.
class CaptionPeer : public WindowPeer {
 public:
  CaptionPeer(PeerHost& host, Control& control, HWND window, COLORREF textColour = CLR_INVALID)
      : WindowPeer(host, control, window), textColour_(textColour) {}
  HBRUSH OnControlColour(HDC dc) override;

 protected:
  void RefreshState() override;

 private:
  COLORREF textColour_;
};

// ---- Texts (text_peers_win32.cpp) ------------------------------------------------------

class EditPeer : public WindowPeer {
 public:
  EditPeer(PeerHost& host, Edit& edit, HWND window) : WindowPeer(host, edit, window), edit_(edit) {}
  void OnCommand(int code) override;
  // A disabled edit keeps the system's own look for a box that cannot be typed into.
  HBRUSH OnControlColour(HDC) override { return nullptr; }

 protected:
  void RefreshState() override;

 private:
  Edit& edit_;
};

// The edit shows the text; the arrows beside it are a window of their own that only ever
// reports a step: the spin edit decides the value.
class SpinEditPeer : public WindowPeer {
 public:
  SpinEditPeer(PeerHost& host, SpinEdit& spin, HWND edit, HWND arrows)
      : WindowPeer(host, spin, edit), spin_(spin), arrows_(arrows) {}
  std::vector<HWND> ExtraWindows() const override { return {arrows_}; }
  void OnCommand(int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void RefreshVisibility() override;
  HBRUSH OnControlColour(HDC) override { return nullptr; }

 protected:
  void RefreshState() override;

 private:
  SpinEdit& spin_;
  HWND arrows_;
};

// ---- Track bar and tabs (bar_peers_win32.cpp) --------------------------------------------

class TrackBarPeer : public WindowPeer {
 public:
  TrackBarPeer(PeerHost& host, TrackBar& bar, HWND window) : WindowPeer(host, bar, window), bar_(bar) {}
  void OnScroll() override;

 protected:
  void RefreshState() override;

 private:
  TrackBar& bar_;
};

// A page control: its tab sheets are the tabs, in child order.
class PageControlPeer : public WindowPeer {
 public:
  PageControlPeer(PeerHost& host, Control& pages, HWND window, bool withImages);
  // Position of the sheet among the tabs, -1 for a control that is no sheet of this one.
  int SheetIndex(const Control& sheet) const;
  int SelectedIndex() const;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 protected:
  void RefreshState() override;

 private:
  std::vector<std::string> shownCaptions_;
};

// ---- Lists (list_peers_win32.cpp) ----------------------------------------------------------

class ComboBoxPeer : public WindowPeer {
 public:
  ComboBoxPeer(PeerHost& host, ComboBox& box, HWND window) : WindowPeer(host, box, window), box_(box) {}
  void OnCommand(int code) override;

 protected:
  void RefreshState() override;

 private:
  ComboBox& box_;
  std::vector<std::string> shownItems_;
};

class ListBoxPeer : public WindowPeer {
 public:
  ListBoxPeer(PeerHost& host, ListBox& box, HWND window) : WindowPeer(host, box, window), box_(box) {}
  void OnCommand(int code) override;

 protected:
  void RefreshState() override;

 private:
  ListBox& box_;
  std::vector<std::string> shownItems_;
};

// The colour list draws a swatch and the name of each entry. Choosing "Custom..." asks the
// colour dialog first, once the drop-down has closed.
class ColorBoxPeer : public WindowPeer {
 public:
  ColorBoxPeer(PeerHost& host, ColorBox& box, HWND window);
  void OnCommand(int code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  // Runs the colour dialog after the list has closed.
  void OnDeferred() override;

 protected:
  void RefreshState() override;

 private:
  ColorBox& box_;
  std::vector<uint32_t> shownColours_;
};

// ---- Timer (bar_peers_win32.cpp) -------------------------------------------------------------

// A window timer of the main window, running exactly while the Timer control is enabled.
class TimerPeer : public ControlPeer {
 public:
  TimerPeer(HWND mainWindow, Timer& timer, UINT_PTR id) : main_(mainWindow), timer_(timer), id_(id) {}
  ~TimerPeer() override;
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;
  void Refresh(Control& control) override;
  Timer& GetTimer() const { return timer_; }
  UINT_PTR Id() const { return id_; }

 private:
  HWND main_;
  Timer& timer_;
  UINT_PTR id_;
  bool running_ = false;
  unsigned runningInterval_ = 0;
};

// Posted to the main window by a peer that must act after the current notification is
// over; wParam is the control's ID.
inline constexpr UINT kMessageDeferredPeerAction = WM_APP + 1;

}  // namespace zelvio
