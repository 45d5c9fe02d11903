// Windows, messages, processes, clock, hotkeys and the main window's placement.
#include "platform/platform_win32.h"

#include <vector>

#include "common/win32/handles.h"
#include "platform/wide_text_win32.h"
#include "platform/startup_trace_win32.h"

namespace zelvio {

namespace {

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---- Message boxes ----------------------------------------------------------------------

void Win32Platform::ShowMessage(const std::string& text) {
  MessageBoxW(main_, Widen(text).c_str(), Widen(title_).c_str(), MB_OK);
}

void Win32Platform::ShowError(const std::string& text) {
  MessageBoxW(main_, Widen(text).c_str(), Widen(title_).c_str(), MB_OK | MB_ICONERROR);
}

// ---- Other programs' windows ------------------------------------------------------------

WindowHandle Win32Platform::FindWindow(const std::string& className, const std::string& title) {
  const char* titleOrAny = title.empty() ? nullptr : title.c_str();
  return FromHwnd(FindWindowA(className.c_str(), titleOrAny));
}

bool Win32Platform::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

void Win32Platform::SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) {
  // The receiver may keep nothing but reads while we block; a private copy keeps the
  // caller's buffer const.
  std::vector<uint8_t> data(bytes);
  COPYDATASTRUCT message{};
  message.dwData = 0;
  message.cbData = static_cast<DWORD>(data.size());
  message.lpData = data.empty() ? nullptr : data.data();
  SendMessageA(ToHwnd(target), WM_COPYDATA, reinterpret_cast<WPARAM>(main_),
               reinterpret_cast<LPARAM>(&message));
  StartupTraceMark("overlay command " + std::string(bytes.begin(), bytes.end() - (bytes.empty() ? 0 : 1)));
}

void Win32Platform::SendCloseMessage(WindowHandle target) { SendMessageA(ToHwnd(target), WM_CLOSE, 0, 0); }

bool Win32Platform::GetWindowRect(WindowHandle window, Rect& rect) {
  RECT r{};
  if (!::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = FromRECT(r);
  return true;
}

// ---- Processes and messages ---------------------------------------------------------------

bool Win32Platform::StartProcess(const std::string& commandLine, uint32_t creationFlags,
                                 bool waitForInputIdle) {
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                      &startup, &process)) {
    StartupTraceMark("could not start " + commandLine);
    return false;
  }
  StartupTraceMark("started " + commandLine);
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  if (waitForInputIdle) {
    WaitForInputIdle(process.hProcess, INFINITE);
    StartupTraceMark("idle: " + commandLine);
  }
  return true;
}

uint64_t Win32Platform::Milliseconds() {
  // The performance counter rather than the tick count, whose steps on Windows are as
  // coarse as 16 ms.
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  uint64_t ticks = static_cast<uint64_t>(now.QuadPart);
  uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

void Win32Platform::Sleep(unsigned milliseconds) {
  StartupTraceMark("sleep begins");
  ::Sleep(milliseconds);
  StartupTraceMark("sleep ends");
}

namespace {

uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

ProcessIdentity Win32Platform::CurrentProcess() {
  return ProcessIdentity{GetCurrentProcessId(), CreationTime(GetCurrentProcess())};
}

// The id alone is not enough: Windows hands ids out again, so the creation time must match.
bool Win32Platform::ProcessRunning(const ProcessIdentity& process) {
  UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id));
  // A process of another user may refuse to be asked; it is there, and maybe it records.
  if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  if (!GetExitCodeProcess(handle.get(), &code) || code != STILL_ACTIVE) return false;
  return CreationTime(handle.get()) == process.started;
}

void Win32Platform::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit belongs to the main loop: leave it for that loop to find.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (filter_ && filter_(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- Screen, clock, folders ---------------------------------------------------------------

ScreenSize Win32Platform::GetScreenSize() {
  return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LocalTime Win32Platform::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string Win32Platform::CurrentDirectory() {
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  DWORD length = GetCurrentDirectoryW(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return Narrow(folder);
}

int Win32Platform::PixelsPerInch() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

// ---- Hotkeys --------------------------------------------------------------------------------

bool Win32Platform::RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) {
  bool registered = ::RegisterHotKey(main_, id, modifiers, virtualKey) != FALSE;
  StartupTraceMark("hotkey " + std::to_string(id) + " registered");
  return registered;
}

void Win32Platform::UnregisterHotKey(int id) { ::UnregisterHotKey(main_, id); }

// ---- The main window ----------------------------------------------------------------------

WindowPlacement Win32Platform::GetPlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(main_, &wp);
  WindowPlacement p;
  p.flags = static_cast<int>(wp.flags);
  p.showCmd = static_cast<int>(wp.showCmd);
  p.minX = wp.ptMinPosition.x;
  p.minY = wp.ptMinPosition.y;
  p.maxX = wp.ptMaxPosition.x;
  p.maxY = wp.ptMaxPosition.y;
  p.normal = FromRECT(wp.rcNormalPosition);
  return p;
}

void Win32Platform::SetPlacement(const WindowPlacement& p) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  wp.flags = static_cast<UINT>(p.flags);
  wp.showCmd = static_cast<UINT>(p.showCmd);
  wp.ptMinPosition = POINT{p.minX, p.minY};
  wp.ptMaxPosition = POINT{p.maxX, p.maxY};
  wp.rcNormalPosition = ToRECT(p.normal);
  SetWindowPlacement(main_, &wp);
}

bool Win32Platform::MainWindowVisible() { return IsWindowVisible(main_) != FALSE; }

bool Win32Platform::ProgramMinimized() { return IsIconic(ButtonWindow()) != FALSE; }

void Win32Platform::SetMainWindowMaximized(bool maximized) {
  // Before the first showing the state is only remembered: ShowWindow would show the
  // window ahead of its show steps.
  if (!IsWindowVisible(main_)) {
    pendingMaximized_ = maximized;
    return;
  }
  if (maximized == (IsZoomed(main_) != FALSE)) return;
  ShowWindow(main_, maximized ? SW_MAXIMIZE : SW_RESTORE);
}

void Win32Platform::PostMinimize() { PostMessageA(ButtonWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

}  // namespace zelvio
