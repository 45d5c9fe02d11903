// Message boxes, other programs' windows, processes, the clock, this program's messages and
// its hotkeys.
#include "platform/platform_win32.h"

#include <vector>

#include "common/win32/handles.h"
#include "platform/startup_trace_win32.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

// ---- Message boxes ----------------------------------------------------------------------

void Win32Boxes::ShowMessage(const std::string& text) {
  MessageBoxW(program_.main, Widen(text).c_str(), Widen(program_.title).c_str(), MB_OK);
}

void Win32Boxes::ShowError(const std::string& text) {
  MessageBoxW(program_.main, Widen(text).c_str(), Widen(program_.title).c_str(), MB_OK | MB_ICONERROR);
}

// ---- Other programs' windows ------------------------------------------------------------

WindowHandle Win32OtherWindows::FindTopWindow(const std::string& className, const std::string& title) {
  const char* titleOrAny = title.empty() ? nullptr : title.c_str();
  return FromHwnd(FindWindowA(className.c_str(), titleOrAny));
}

bool Win32OtherWindows::WindowExists(WindowHandle window) { return IsWindow(ToHwnd(window)) != FALSE; }

void Win32OtherWindows::SendCopyData(WindowHandle target, const std::vector<uint8_t>& bytes) {
  // The receiver may keep nothing but reads while we block; a private copy keeps the
  // caller's buffer const.
  std::vector<uint8_t> data(bytes);
  COPYDATASTRUCT message{};
  message.dwData = 0;
  message.cbData = static_cast<DWORD>(data.size());
  message.lpData = data.empty() ? nullptr : data.data();
  SendMessageA(ToHwnd(target), WM_COPYDATA, reinterpret_cast<WPARAM>(program_.main),
               reinterpret_cast<LPARAM>(&message));
  StartupTraceMark("overlay command " + std::string(bytes.begin(), bytes.end() - (bytes.empty() ? 0 : 1)));
}

void Win32OtherWindows::SendCloseMessage(WindowHandle target) {
  SendMessageA(ToHwnd(target), WM_CLOSE, 0, 0);
}

bool Win32OtherWindows::WindowRectOf(WindowHandle window, Rect& rect) {
  RECT r{};
  if (!GetWindowRect(ToHwnd(window), &r)) return false;
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

// ---- Processes ----------------------------------------------------------------------------

bool Win32Processes::StartProcess(const std::string& commandLine, uint32_t creationFlags,
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

namespace {

uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

ProcessIdentity Win32Processes::CurrentProcess() {
  return ProcessIdentity{GetCurrentProcessId(), CreationTime(GetCurrentProcess())};
}

// The id alone is not enough: Windows hands ids out again, so the creation time must match.
bool Win32Processes::ProcessRunning(const ProcessIdentity& process) {
  UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id));
  // A process of another user may refuse to be asked; it is there, and maybe it records.
  if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  if (!GetExitCodeProcess(handle.get(), &code) || code != STILL_ACTIVE) return false;
  return CreationTime(handle.get()) == process.started;
}

// ---- Clock --------------------------------------------------------------------------------

LocalTime Win32Clock::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

uint64_t Win32Clock::Milliseconds() {
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

void Win32Clock::WaitMilliseconds(unsigned milliseconds) {
  StartupTraceMark("sleep begins");
  Sleep(milliseconds);
  StartupTraceMark("sleep ends");
}

// ---- This program's messages ------------------------------------------------------------

void Win32Messages::ProcessMessages() {
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

// ---- Hotkeys --------------------------------------------------------------------------------

bool Win32Hotkeys::AddHotkey(int id, unsigned modifiers, unsigned virtualKey) {
  bool registered = RegisterHotKey(program_.main, id, modifiers, virtualKey) != FALSE;
  StartupTraceMark("hotkey " + std::to_string(id) + " registered");
  return registered;
}

void Win32Hotkeys::RemoveHotkey(int id) { UnregisterHotKey(program_.main, id); }

}  // namespace zelvio
