// A recording stand-in for the whole operating system, for headless runs of the main window.
// Its file system is FakeFiles (doubles/fake_files.h) and its code page FakeCodePage, so a
// test of one of those alone uses that double; all of them write to the one log.
//
// Every call that shows something or changes the outside world is appended to `log` as one
// readable line, in call order (the file system's lines are listed in fake_files.h):
//   "message: Receiver application not found"          ShowMessage
//   "error: 'abc' is not a valid integer value."        ShowError
//   "copydata: Create$864$480$528$300$0$0000FF"         SendCopyData to the overlay
//   "copydata to hook: ..."                              SendCopyData to another window
//   "close: hook" / "close: overlay"                     SendCloseMessage
//   "start: Programs\HookCursor.exe flags=0x20"          StartProcess (" wait" when waiting
//                                                        for input idle, " (failed)" when refused)
//   "sleep: 500"  "process messages"                     WaitMilliseconds, ProcessMessages
//   "register: 1 mods=0 vk=0x70"                         AddHotkey (" (refused)" on failure)
//   "unregister: 1"                                      RemoveHotkey
//   "browse: Set path for videos -> D:\Videos"           BrowseForFolder ("-> cancel")
//   "choose colour: 0000FF -> 00FF00"                    ChooseColour ("-> cancel")
//   "set placement: show=0 flags=0 min=-1,-1 max=-1,-1 normal=100,80,660,560"
//   "window state: normal" / "window state: maximized"   SetMainWindowMaximized
//   "post minimize"  "clear layered styles"
//   "save bitmap: 528,300,1392,780 -> C:\...\Screenshot_....bmp"
//
// Questions that change nothing (FindTopWindow, WindowExists, WindowRectOf, GetScreenSize, Now,
// ProcessRunning, GetPlacement, MainWindowVisible, ProgramMinimized, PixelsPerInch, and the
// file system's) are logged only while `logQueries` is on, as
// "find: TFormHookCursor 'FormHookCursor' -> none", "is window: overlay -> yes",
// "window rect: overlay", "screen size", "now", "running?: 17 -> no", "get placement",
// "visible?", "minimized?", "pixels per inch".
//
// Header-only, so the fuzz targets can use it without a library of their own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "fake_code_page.h"
#include "fake_files.h"
#include "platform/platform.h"

namespace zelvio {

// One object for every topic, so that all of them write to the one log and share the one
// machine state; Services() hands it to the form as the set of topics.
class FakePlatform : public FakeFiles,
                     public FakeCodePage,
                     public PlatformBoxes,
                     public PlatformWindows,
                     public PlatformProcesses,
                     public PlatformClock,
                     public PlatformMessages,
                     public PlatformScreen,
                     public PlatformMainWindow,
                     public PlatformHotkeys,
                     public PlatformTray,
                     public PlatformDialogs {
 public:
  static constexpr WindowHandle kOverlayWindow = 0x1001;
  static constexpr WindowHandle kHookWindow = 0x1002;

  // ---- What the tests configure ------------------------------------------------------------
  ScreenSize screen{1920, 1080};
  LocalTime now{2024, 5, 17, 14, 3, 9};

  // Which windows of the companion programs exist. With `startOpensWindows`, starting a
  // companion program opens its window; a close message or the overlay's "Close" command
  // closes it again.
  bool overlayWindow = true;
  bool hookWindow = false;
  bool startOpensWindows = false;
  Rect overlayRect{520, 292, 1400, 788};
  std::set<std::string> failingPrograms;  // command lines whose start fails
  // This program, and the other programs that run now (by id and creation time).
  ProcessIdentity process{4242, 133'000'000'000'000'000ULL};
  std::set<std::pair<uint32_t, uint64_t>> runningProcesses;

  // The clock that Milliseconds() reads; WaitMilliseconds moves it on, and so may a test's own steps to
  // stand for work that takes time. A started program becomes idle for input
  // `programStartupMs` after its start, so waiting for that moves the clock on as much.
  uint64_t clockMs = 0;
  uint64_t programStartupMs = 0;

  std::set<int> refusedHotkeys;  // hotkey ids whose registration fails

  // Answers of the dialogs, used front first; an empty queue or std::nullopt is a cancel.
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::optional<uint32_t>> colourAnswers;

  // The main window. SetPlacement stores what it gets, except that a hidden showCmd (0)
  // keeps the previous one: the host shows the window right after the settings load.
  WindowPlacement placement = DefaultPlacement();
  bool mainWindowVisible = false;
  bool minimized = false;
  int pixelsPerInch = 96;

  // A text makes SaveScreenBitmap throw ZelvioError with it.
  std::optional<std::string> bitmapError;
  // Runs inside SaveScreenBitmap, so a test can look at the window while the picture is taken.
  std::function<void()> whileSavingBitmap;
  // The notification area and the taskbar button.
  bool trayRefused = false;
  bool trayRemovalFails = false;
  bool trayIcon = false;
  bool taskbarButton = true;

  // Runs while a box is open, once per box, the way a box's own message loop runs what
  // arrives meanwhile (timer ticks, hotkeys, another close request). Gets the log line.
  std::function<void(const std::string&)> whileBoxOpen;

  static WindowPlacement DefaultPlacement() {
    WindowPlacement p;
    p.flags = 0;
    p.showCmd = 1;
    p.minX = -1;
    p.minY = -1;
    p.maxX = -1;
    p.maxY = -1;
    p.normal = Rect{100, 80, 660, 560};
    return p;
  }

  Platform Services() {
    return Platform{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this};
  }

  // ---- Platform --------------------------------------------------------------------------------
  void ShowMessage(const std::string& text) override { Box("message: " + text); }
  void ShowError(const std::string& text) override { Box("error: " + text); }

  WindowHandle FindTopWindow(const std::string& className, const std::string& title) override {
    WindowHandle found = 0;
    if (className == "TFormMainCapturer" && overlayWindow) found = kOverlayWindow;
    if (className == "TFormHookCursor" && (title.empty() || title == "FormHookCursor") && hookWindow) {
      found = kHookWindow;
    }
    Query("find: " + className + " '" + title + "' -> " + WindowName(found));
    return found;
  }

  bool WindowExists(WindowHandle window) override {
    bool exists = (window == kOverlayWindow && overlayWindow) || (window == kHookWindow && hookWindow);
    Query("is window: " + WindowName(window) + (exists ? " -> yes" : " -> no"));
    return exists;
  }

  void SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) override {
    // The command text ends at the first zero byte, as the receiver reads it.
    std::string text;
    for (uint8_t byte : bytes) {
      if (byte == 0) break;
      text += static_cast<char>(byte);
    }
    if (target == kOverlayWindow) {
      log.push_back("copydata: " + text);
      if (startOpensWindows && text == "Close") overlayWindow = false;
      return;
    }
    log.push_back("copydata to " + WindowName(target) + ": " + text);
  }

  void SendCloseMessage(WindowHandle target) override {
    log.push_back("close: " + WindowName(target));
    if (target == kHookWindow) hookWindow = false;
    if (target == kOverlayWindow) overlayWindow = false;
  }

  bool WindowRectOf(WindowHandle window, Rect& rect) override {
    Query("window rect: " + WindowName(window));
    if (window != kOverlayWindow || !overlayWindow) return false;
    rect = overlayRect;
    return true;
  }

  bool StartProcess(const std::string& commandLine, uint32_t creationFlags, bool waitForInputIdle) override {
    bool started = failingPrograms.count(commandLine) == 0;
    std::string line = "start: " + commandLine + " flags=" + Hex(creationFlags);
    if (waitForInputIdle) line += " wait";
    if (!started) line += " (failed)";
    log.push_back(line);
    if (started && startOpensWindows) OpenWindowOf(commandLine);
    if (started && waitForInputIdle) clockMs += programStartupMs;
    return started;
  }

  ProcessIdentity CurrentProcess() override { return process; }
  bool ProcessRunning(const ProcessIdentity& other) override {
    bool running = (other.id == process.id && other.started == process.started) ||
                   runningProcesses.count({other.id, other.started}) != 0;
    Query("running?: " + std::to_string(other.id) + (running ? " -> yes" : " -> no"));
    return running;
  }
  void WaitMilliseconds(unsigned milliseconds) override {
    log.push_back("sleep: " + std::to_string(milliseconds));
    clockMs += milliseconds;
  }
  uint64_t Milliseconds() override { return clockMs; }
  void ProcessMessages() override { log.push_back("process messages"); }

  ScreenSize GetScreenSize() override {
    Query("screen size");
    return screen;
  }
  LocalTime Now() override {
    Query("now");
    return now;
  }
  bool AddHotkey(int id, unsigned modifiers, unsigned virtualKey) override {
    bool refused = refusedHotkeys.count(id) != 0;
    log.push_back("register: " + std::to_string(id) + " mods=" + std::to_string(modifiers) +
                  " vk=" + Hex(virtualKey) + (refused ? " (refused)" : ""));
    return !refused;
  }
  void RemoveHotkey(int id) override { log.push_back("unregister: " + std::to_string(id)); }

  bool BrowseForFolder(const std::string& title, std::string& folder) override {
    std::optional<std::string> answer = TakeFront(folderAnswers);
    log.push_back("browse: " + title + " -> " + (answer ? *answer : "cancel"));
    if (!answer) return false;
    folder = *answer;
    return true;
  }

  bool ChooseColour(uint32_t& colour) override {
    std::optional<uint32_t> answer = TakeFront(colourAnswers);
    log.push_back("choose colour: " + ColourHex(colour) + " -> " + (answer ? ColourHex(*answer) : "cancel"));
    if (!answer) return false;
    colour = *answer;
    return true;
  }

  WindowPlacement GetPlacement() override {
    Query("get placement");
    return placement;
  }

  void SetPlacement(const WindowPlacement& p) override {
    log.push_back("set placement: show=" + std::to_string(p.showCmd) + " flags=" + std::to_string(p.flags) +
                  " min=" + Pair(p.minX, p.minY) + " max=" + Pair(p.maxX, p.maxY) + " normal=" +
                  Pair(p.normal.left, p.normal.top) + "," + Pair(p.normal.right, p.normal.bottom));
    int shown = placement.showCmd;
    placement = p;
    if (p.showCmd == 0) placement.showCmd = shown;
  }

  bool MainWindowVisible() override {
    Query("visible?");
    return mainWindowVisible;
  }
  bool ProgramMinimized() override {
    Query("minimized?");
    return minimized;
  }

  void SetMainWindowMaximized(bool maximized) override {
    log.push_back(maximized ? "window state: maximized" : "window state: normal");
    placement.showCmd = maximized ? 3 : 1;
  }

  void PostMinimize() override { log.push_back("post minimize"); }

  int PixelsPerInch() override {
    Query("pixels per inch");
    return pixelsPerInch;
  }

  void AddTrayIcon() override {
    log.push_back(std::string("tray icon: add") + (trayRefused ? " (refused)" : ""));
    if (trayRefused) throw ZelvioError("Cannot create shell notification icon");
    trayIcon = true;
  }
  void RemoveTrayIcon() override {
    log.push_back(std::string("tray icon: remove") + (trayRemovalFails ? " (failed)" : ""));
    if (trayRemovalFails) throw ZelvioError("Cannot remove shell notification icon");
    trayIcon = false;
  }
  void SetTaskbarButton(bool show) override {
    log.push_back(std::string("taskbar button: ") + (show ? "show" : "hide"));
    taskbarButton = show;
  }
  void RestoreMainWindow() override {
    log.push_back("restore main window");
    minimized = false;
  }
  void BringProgramToFront() override { log.push_back("bring to front"); }
  void CloseMainWindow() override { log.push_back("close main window"); }

  void ClearLayeredStyles() override { log.push_back("clear layered styles"); }

  void SaveScreenBitmap(const Rect& source, const std::string& path) override {
    log.push_back("save bitmap: " + Pair(source.left, source.top) + "," + Pair(source.right, source.bottom) +
                  " -> " + path);
    if (whileSavingBitmap) whileSavingBitmap();
    if (bitmapError) throw ZelvioError(*bitmapError);
    files[path] = File{"bitmap " + std::to_string(source.right - source.left) + "x" +
                           std::to_string(source.bottom - source.top),
                       false};
  }

 private:
  void Box(const std::string& line) {
    log.push_back(line);
    if (whileBoxOpen) whileBoxOpen(line);
  }

  void OpenWindowOf(const std::string& commandLine) {
    if (commandLine == "Programs\\ZelvioCapturer.exe") overlayWindow = true;
    if (commandLine == "Programs\\HookCursor.exe") hookWindow = true;
  }

  template <typename T>
  static std::optional<T> TakeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> front = queue.front();
    queue.pop_front();
    return front;
  }

  static std::string WindowName(WindowHandle window) {
    if (window == 0) return "none";
    if (window == kOverlayWindow) return "overlay";
    if (window == kHookWindow) return "hook";
    return "window " + Hex(static_cast<uint32_t>(window));
  }

  static std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
  }

  // Red, green, blue, as the overlay commands write colours.
  static std::string ColourHex(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
  }

  static std::string Pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
};

}  // namespace zelvio
