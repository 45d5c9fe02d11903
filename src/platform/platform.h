// The operating system as the program sees it: small sets of services by topic. The product
// uses the Win32 implementation; native tests use recording doubles that log every call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvio {

using WindowHandle = std::uintptr_t;  // 0 means none

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct WindowPlacement {
  int flags = 0;
  int showCmd = 0;
  int minX = 0, minY = 0;
  int maxX = 0, maxY = 0;
  Rect normal;
};

// A running program, told apart from a later one that got the same process id.
struct ProcessIdentity {
  uint32_t id = 0;
  uint64_t started = 0;  // creation time, FILETIME units
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// The services come in small interfaces, one per topic, and each user takes only the ones it
// calls: the settings file takes files and the code page, the capture pipeline takes the
// boxes. A reader sees a class's reach to the outside in its constructor, and a test double
// implements only what its test drives. The methods have names of their own, none the name
// of a Win32 function, so the Win32 side calls those by their plain names. `Platform` names
// one object per topic, for the form, which uses every topic.

// Modal boxes titled with the application title; both keep messages flowing.
class PlatformBoxes {
 public:
  virtual ~PlatformBoxes() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void ShowError(const std::string& text) = 0;
};

// Windows of other programs.
class PlatformWindows {
 public:
  virtual ~PlatformWindows() = default;
  // The top-level window of that class (and that title, unless empty); 0 for none.
  virtual WindowHandle FindTopWindow(const std::string& className, const std::string& title) = 0;
  virtual bool WindowExists(WindowHandle window) = 0;
  // WM_COPYDATA (dwData 0) from the main window, sent synchronously.
  virtual void SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) = 0;
  virtual void SendCloseMessage(WindowHandle target) = 0;
  // The window's rectangle on the screen; false when there is no such window.
  virtual bool WindowRectOf(WindowHandle window, Rect& rect) = 0;
};

// Programs as processes: starting one, and telling whether one still runs.
class PlatformProcesses {
 public:
  virtual ~PlatformProcesses() = default;
  // Returns whether the process was created; waits for it to become idle for input when
  // asked.
  virtual bool StartProcess(const std::string& commandLine, uint32_t creationFlags,
                            bool waitForInputIdle) = 0;
  // This program, and whether the program with that identity still runs (a process that
  // cannot be asked about counts as running).
  virtual ProcessIdentity CurrentProcess() = 0;
  virtual bool ProcessRunning(const ProcessIdentity& process) = 0;
};

// Time: the local date and time, a clock for measuring, and waiting.
class PlatformClock {
 public:
  virtual ~PlatformClock() = default;
  virtual LocalTime Now() = 0;
  // A clock in milliseconds that only moves forward, for measuring how long work took.
  virtual uint64_t Milliseconds() = 0;
  // Blocks the calling thread for that long; its window messages wait meanwhile.
  virtual void WaitMilliseconds(unsigned milliseconds) = 0;
};

// This program's window messages.
class PlatformMessages {
 public:
  virtual ~PlatformMessages() = default;
  // Handles every window message that is waiting.
  virtual void ProcessMessages() = 0;
};

// Files and folders (paths in UTF-8, like every text).
class PlatformFiles {
 public:
  virtual ~PlatformFiles() = default;
  virtual std::string CurrentDirectory() = 0;
  virtual std::string ExecutableDirectory() = 0;
  // The whole file; false when it cannot be read.
  virtual bool ReadWholeFile(const std::string& path, std::string& contents) = 0;
  // Whether something is at the path, readable or not. Only a definite "not found" is
  // false: when the answer cannot be had, the file counts as present.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool IsReadOnlyFile(const std::string& path) = 0;
  // The settings file is replaced in one step: the data goes to a temporary file in the
  // same folder first, so a failure half-way leaves the previous file intact.
  virtual bool ReplaceWholeFile(const std::string& path, const std::string& contents) = 0;
  // Deletes a file; false when it could not (a missing file counts as deleted).
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Names (not paths) of the files directly in `folder` whose names end with `suffix`
  // (letter case ignored), sorted; empty when the folder does not exist.
  virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) = 0;
};

// Texts of the program are UTF-8. The settings file has always been written in the ANSI
// code page, so these two carry its text across. ToAnsi is false when some character has
// no exact spelling there.
class PlatformText {
 public:
  virtual ~PlatformText() = default;
  virtual std::string TextFromAnsi(const std::string& ansi) = 0;
  virtual bool TextToAnsi(const std::string& text, std::string& ansi) = 0;
};

// The screen: its size and density, and pictures of it.
class PlatformScreen {
 public:
  virtual ~PlatformScreen() = default;
  virtual ScreenSize GetScreenSize() = 0;
  virtual int PixelsPerInch() = 0;
  // Clears WS_EX_LAYERED from every visible, non-minimised, titled top-level window but
  // the taskbar's, so such windows show in captures.
  virtual void ClearLayeredStyles() = 0;
  // Copies a screen rectangle into a bitmap file in the display's depth. Throws
  // ZelvioError with the user-facing text on failure and leaves no file behind.
  virtual void SaveScreenBitmap(const Rect& source, const std::string& path) = 0;
};

// The main window: its placement and state, its taskbar button, and bringing it back.
class PlatformMainWindow {
 public:
  virtual ~PlatformMainWindow() = default;
  virtual WindowPlacement GetPlacement() = 0;
  virtual void SetPlacement(const WindowPlacement& placement) = 0;
  virtual bool MainWindowVisible() = 0;
  virtual bool ProgramMinimized() = 0;
  virtual void SetMainWindowMaximized(bool maximized) = 0;
  virtual void PostMinimize() = 0;
  // Gives the window that carries the taskbar button its button back, or takes it away
  // (WS_EX_TOOLWINDOW) and keeps it hidden while the program sits in the tray.
  virtual void SetTaskbarButton(bool show) = 0;
  // Restores the minimised main window, focus included, and brings the program forward.
  virtual void RestoreMainWindow() = 0;
  virtual void BringProgramToFront() = 0;
  // Asks the main window to close through its normal close path.
  virtual void CloseMainWindow() = 0;
};

// Global hotkeys of the main window.
class PlatformHotkeys {
 public:
  virtual ~PlatformHotkeys() = default;
  // False when the system refuses the combination (another program holds it).
  virtual bool AddHotkey(int id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual void RemoveHotkey(int id) = 0;
};

// The notification-area icon.
class PlatformTray {
 public:
  virtual ~PlatformTray() = default;
  // The icon shows the application icon with the tip "Zelvio". Add throws
  // ZelvioError("Cannot create shell notification icon") when the shell refuses it,
  // Remove throws ZelvioError("Cannot remove shell notification icon").
  virtual void AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
};

// Dialogs. Both return false when the user cancels.
class PlatformDialogs {
 public:
  virtual ~PlatformDialogs() = default;
  virtual bool BrowseForFolder(const std::string& title, std::string& folder) = 0;
  virtual bool ChooseColour(uint32_t& colour) = 0;
};

// Every topic, one object each, as the form takes them. The objects belong to whoever made
// this; it only names them.
struct Platform {
  PlatformBoxes& boxes;
  PlatformWindows& windows;
  PlatformProcesses& processes;
  PlatformClock& clock;
  PlatformMessages& messages;
  PlatformFiles& files;
  PlatformText& text;
  PlatformScreen& screen;
  PlatformMainWindow& mainWindow;
  PlatformHotkeys& hotkeys;
  PlatformTray& tray;
  PlatformDialogs& dialogs;
};

}  // namespace zelvio
