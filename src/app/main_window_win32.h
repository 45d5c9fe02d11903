// The main window on Win32: one top-level window of class "TFormMain" with a child window
// for every control of the portable form, and the window procedure that hands the user's
// actions and the timers, hotkeys and close requests to the form.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <vector>

#include "app/form/form_main.h"
#include "common/win32/handles.h"
#include "platform/platform_win32.h"
#include "ui/control_windows_win32.h"
#include "ui/peer_host_win32.h"

namespace zelvio {

class WindowPeer;
class PageControlPeer;
class TimerPeer;

class MainWindowHost : public PeerHost {
 public:
  // `owner` is the application window that carries the taskbar button, if any.
  MainWindowHost(HINSTANCE instance, Win32Platform& platform, HWND owner = nullptr);
  ~MainWindowHost() override;
  MainWindowHost(const MainWindowHost&) = delete;
  MainWindowHost& operator=(const MainWindowHost&) = delete;

  // The top-level window exists, hidden and empty, from construction on.
  HWND Handle() const { return window_; }

  // Gives every control of the form its window and peer, and shows the form's state.
  void Attach(TFormMain& form);
  // Lets go of the form before it goes away: no peer refers to it afterwards.
  void Detach();

  // Puts the keyboard focus on the first control in Tab order, as a dialog does when it opens.
  void FocusFirstControl();
  // Keyboard navigation between the controls (Tab, arrows); true when the message is used.
  bool PreTranslate(MSG& msg);

  // ---- PeerHost ----
  HWND MainWindow() const override { return window_; }
  bool OnSelectedPages(const Control& control) const override;
  void Guarded(const std::function<void()>& action) override;
  HIMAGELIST ButtonImages(bool enabled) const override;
  HIMAGELIST TabImages() const override { return tabImages_.get(); }
  void PagesChanged() override;
  bool ChooseColour(uint32_t& colour) override { return platform_.dialogs.ChooseColour(colour); }
  int Dpi() const override { return dpi_; }
  COLORREF BackgroundColour(const Control& control) const override;
  HBRUSH BackgroundBrush(const Control& control) const override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  void LoadPictures();
  RECT ClientRectAtDpi() const;
  ChildWindowPlacement PlacementFor(const Control& control, const RECT& container) const;
  void CreateControlWindows(Control& control, const RECT& container);
  void PlaceControlWindows(Control& control, const RECT& container);
  void OnDpiChanged(int dpi, const RECT& suggested);
  RECT ContentOf(Control& control, const RECT& own) const;
  void StackContainersBelow();
  void CreateTooltips();
  void UpdateTooltipAreas();

  WindowPeer* PeerById(int id) const;
  WindowPeer* PeerByWindow(HWND child) const;
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnNotify(const NMHDR& header);
  void OnTimer(UINT_PTR id);
  void OnClose();
  void OnEndSession();
  void OnDestroy();
  void OnTrayIcon(LPARAM mouse);
  bool OnActivate(WPARAM wParam);
  void EraseBackground(HDC dc) const;
  int PageColourIndex() const;

  HINSTANCE instance_;
  Win32Platform& platform_;
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  TFormMain* form_ = nullptr;
  // The dots per inch of the window's monitor; sizes, font and pictures follow it.
  int dpi_ = 96;
  // Sent to top-level windows when the shell's taskbar is re-created.
  UINT taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  UniqueFont font_;
  UniqueImageList buttonImages_;
  UniqueImageList disabledButtonImages_;
  UniqueImageList tabImages_;
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;

  std::vector<std::unique_ptr<WindowPeer>> peers_;  // in creation order, containers first
  std::map<int, WindowPeer*> peersById_;
  std::map<const Control*, WindowPeer*> peersByControl_;
  std::map<const Control*, PageControlPeer*> pageControls_;
  std::vector<std::unique_ptr<TimerPeer>> timers_;
};

}  // namespace zelvio
