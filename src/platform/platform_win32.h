// The platform services on Win32, for the real program: one small object per topic, and
// Win32Platform, which makes them all and hands the form the set.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zelvio {

// What several topics need to know of the program: its own windows, its title and its icon.
// The host fills the windows in as it makes them.
struct ProgramWindows {
  std::string title;     // the caption of every message box, and the tray icon's tip
  int iconResource = 0;  // the program's icon among its resources, which the tray shows too
  // The window that owns message boxes and dialogs, receives hotkeys and whose placement
  // the settings keep.
  HWND main = nullptr;
  // The window that owns the main window and carries the taskbar button; without one the
  // main window carries it itself.
  HWND application = nullptr;

  HWND ButtonWindow() const { return application ? application : main; }
};

class Win32Boxes : public PlatformBoxes {
 public:
  explicit Win32Boxes(const ProgramWindows& program) : program_(program) {}
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

 private:
  const ProgramWindows& program_;
};

class Win32OtherWindows : public PlatformWindows {
 public:
  explicit Win32OtherWindows(const ProgramWindows& program) : program_(program) {}
  WindowHandle FindTopWindow(const std::string& className, const std::string& title) override;
  bool WindowExists(WindowHandle window) override;
  void SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) override;
  void SendCloseMessage(WindowHandle target) override;
  bool WindowRectOf(WindowHandle window, Rect& rect) override;

 private:
  const ProgramWindows& program_;  // the main window is the sender of WM_COPYDATA
};

class Win32Processes : public PlatformProcesses {
 public:
  bool StartProcess(const std::string& commandLine, uint32_t creationFlags, bool waitForInputIdle) override;
  ProcessIdentity CurrentProcess() override;
  bool ProcessRunning(const ProcessIdentity& process) override;
};

class Win32Clock : public PlatformClock {
 public:
  LocalTime Now() override;
  uint64_t Milliseconds() override;
  void WaitMilliseconds(unsigned milliseconds) override;
};

class Win32Messages : public PlatformMessages {
 public:
  // Lets the host's keyboard navigation see messages that ProcessMessages dispatches.
  void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
  void ProcessMessages() override;

 private:
  std::function<bool(MSG&)> filter_;
};

class Win32Files : public PlatformFiles {
 public:
  std::string CurrentDirectory() override;
  std::string ExecutableDirectory() override;
  bool ReadWholeFile(const std::string& path, std::string& contents) override;
  bool FileExists(const std::string& path) override;
  bool IsReadOnlyFile(const std::string& path) override;
  bool ReplaceWholeFile(const std::string& path, const std::string& contents) override;
  bool RemoveFile(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override;
};

class Win32CodePage : public PlatformText {
 public:
  std::string TextFromAnsi(const std::string& ansi) override;
  bool TextToAnsi(const std::string& text, std::string& ansi) override;
};

class Win32Screen : public PlatformScreen {
 public:
  ScreenSize GetScreenSize() override;
  int PixelsPerInch() override;
  void ClearLayeredStyles() override;
  void SaveScreenBitmap(const Rect& source, const std::string& path) override;
};

class Win32MainWindow : public PlatformMainWindow {
 public:
  explicit Win32MainWindow(const ProgramWindows& program) : program_(program) {}
  // How the host first shows the main window: maximised when the stored state asked for it
  // while the window was still hidden.
  int InitialShowCommand() const { return pendingMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL; }

  WindowPlacement GetPlacement() override;
  void SetPlacement(const WindowPlacement& placement) override;
  bool MainWindowVisible() override;
  bool ProgramMinimized() override;
  void SetMainWindowMaximized(bool maximized) override;
  void PostMinimize() override;
  void SetTaskbarButton(bool show) override;
  void RestoreMainWindow() override;
  void BringProgramToFront() override;
  void CloseMainWindow() override;

 private:
  const ProgramWindows& program_;
  bool pendingMaximized_ = false;
};

class Win32Hotkeys : public PlatformHotkeys {
 public:
  explicit Win32Hotkeys(const ProgramWindows& program) : program_(program) {}
  bool AddHotkey(int id, unsigned modifiers, unsigned virtualKey) override;
  void RemoveHotkey(int id) override;

 private:
  const ProgramWindows& program_;  // the main window receives the hotkeys
};

// The notification-area icon (tray/tray_icon_win32.cpp).
class Win32Tray : public PlatformTray {
 public:
  explicit Win32Tray(const ProgramWindows& program) : program_(program) {}
  void AddTrayIcon() override;
  void RemoveTrayIcon() override;
  // The shell's taskbar came back: the icon, if shown, is added again.
  void ReAddTrayIcon();
  // Windows is ending or the window goes: the icon leaves quietly.
  void DropTrayIcon();

 private:
  const ProgramWindows& program_;
  bool shown_ = false;
};

class Win32Dialogs : public PlatformDialogs {
 public:
  explicit Win32Dialogs(const ProgramWindows& program) : program_(program) {}
  bool BrowseForFolder(const std::string& title, std::string& folder) override;
  bool ChooseColour(uint32_t& colour) override;

 private:
  const ProgramWindows& program_;  // the main window owns both dialogs
};

// Every topic on Win32, made together because several share the program's windows.
class Win32Platform {
 public:
  // `applicationTitle` is the caption of every message box; `iconResource` names the
  // program's icon among its resources.
  Win32Platform(std::string applicationTitle, int iconResource) {
    program.title = std::move(applicationTitle);
    program.iconResource = iconResource;
  }
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Set as soon as each window exists.
  void SetMainWindow(HWND window) { program.main = window; }
  void SetApplicationWindow(HWND application) { program.application = application; }

  // The topics as the form takes them.
  Platform Services() {
    return Platform{boxes, windows, processes,  clock,   messages, files,
                    text,  screen,  mainWindow, hotkeys, tray,     dialogs};
  }

  ProgramWindows program;
  Win32Boxes boxes{program};
  Win32OtherWindows windows{program};
  Win32Processes processes;
  Win32Clock clock;
  Win32Messages messages;
  Win32Files files;
  Win32CodePage text;
  Win32Screen screen;
  Win32MainWindow mainWindow{program};
  Win32Hotkeys hotkeys{program};
  Win32Tray tray{program};
  Win32Dialogs dialogs{program};
};

// Handles to and from the portable form's window numbers.
inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace zelvio
