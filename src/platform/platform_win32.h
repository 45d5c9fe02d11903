// The platform services on Win32, for the real program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The portable interface has methods named like these two Win32 macros; this program calls
// the ...A functions by their full names.
#undef FindWindow
#undef ReplaceFile

#include "platform/platform.h"
#include "tray/tray_icon_win32.h"

namespace zelvio {

// One class for every topic: they share the main window, the title of the boxes and the
// icon, and each user still sees only the topics it takes.
class Win32Platform : public Platform {
 public:
  // `applicationTitle` is the caption of every message box; `iconResource` names the
  // program's icon among its resources, which the tray icon shows too.
  Win32Platform(std::string applicationTitle, int iconResource)
      : title_(std::move(applicationTitle)), iconResource_(iconResource) {}

  // The window that owns message boxes and dialogs, receives hotkeys and whose placement
  // the settings keep. Set as soon as it exists.
  void SetMainWindow(HWND window) { main_ = window; }
  HWND MainWindow() const { return main_; }
  // The window that owns the main window and carries the taskbar button; without one the
  // main window carries it itself.
  void SetApplicationWindow(HWND application) { application_ = application; }
  HWND ButtonWindow() const { return application_ ? application_ : main_; }
  // Lets the host's keyboard navigation see messages that ProcessMessages dispatches.
  void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
  // How the host first shows the main window: maximised when the stored state asked for it
  // while the window was still hidden.
  int InitialShowCommand() const { return pendingMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL; }

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

  WindowHandle FindWindow(const std::string& className, const std::string& title) override;
  bool IsWindow(WindowHandle window) override;
  void SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) override;
  void SendCloseMessage(WindowHandle target) override;
  bool GetWindowRect(WindowHandle window, Rect& rect) override;

  bool StartProcess(const std::string& commandLine, uint32_t creationFlags, bool waitForInputIdle) override;
  void Sleep(unsigned milliseconds) override;
  ProcessIdentity CurrentProcess() override;
  bool ProcessRunning(const ProcessIdentity& process) override;
  uint64_t Milliseconds() override;
  void ProcessMessages() override;

  ScreenSize GetScreenSize() override;
  LocalTime Now() override;
  std::string CurrentDirectory() override;

  bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(int id) override;

  bool BrowseForFolder(const std::string& title, std::string& folder) override;
  bool ChooseColour(uint32_t& colour) override;

  std::string TextFromAnsi(const std::string& ansi) override;
  bool TextToAnsi(const std::string& text, std::string& ansi) override;
  std::string ExecutableDirectory() override;
  bool ReadFile(const std::string& path, std::string& contents) override;
  bool FileExists(const std::string& path) override;
  bool IsReadOnlyFile(const std::string& path) override;
  bool ReplaceFile(const std::string& path, const std::string& contents) override;
  bool RemoveFile(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override;

  WindowPlacement GetPlacement() override;
  void SetPlacement(const WindowPlacement& placement) override;
  bool MainWindowVisible() override;
  bool ProgramMinimized() override;
  void SetMainWindowMaximized(bool maximized) override;
  void PostMinimize() override;
  int PixelsPerInch() override;

  void AddTrayIcon() override;
  void RemoveTrayIcon() override;
  void SetTaskbarButton(bool show) override;
  void RestoreMainWindow() override;
  void BringProgramToFront() override;
  void CloseMainWindow() override;
  // The shell's taskbar came back: the icon, if shown, is added again.
  void ReAddTrayIcon();
  // Windows is ending or the window goes: the icon leaves quietly.
  void DropTrayIcon();

  void ClearLayeredStyles() override;
  void SaveScreenBitmap(const Rect& source, const std::string& path) override;

 private:
  std::string title_;
  int iconResource_;
  HWND main_ = nullptr;
  HWND application_ = nullptr;
  std::function<bool(MSG&)> filter_;
  bool pendingMaximized_ = false;
  bool trayIconShown_ = false;
};

// Handles to and from the portable form's window numbers.
inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace zelvio
