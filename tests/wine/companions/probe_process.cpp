#include "probe_process.h"

#include "common/overlay_command.h"

#include <cstdio>

ChildProcess::~ChildProcess() {
  if (process_ == nullptr) return;
  if (!WaitExit(0)) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool ChildProcess::Start(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

bool ChildProcess::WaitIdle(DWORD timeoutMs) const { return WaitForInputIdle(process_, timeoutMs) == 0; }

bool ChildProcess::WaitExit(DWORD timeoutMs) const {
  return WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner != search->processId || lstrcmpA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

LRESULT SendBytes(HWND target, HWND sender, const void* data, DWORD size) {
  COPYDATASTRUCT copy = {};
  copy.dwData = 0;
  copy.cbData = size;
  copy.lpData = const_cast<void*>(data);
  DWORD_PTR answer = 0;
  // Bounded, so a hung overlay fails the check instead of hanging the probe.
  if (!SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                           reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 5000, &answer)) {
    return -1;
  }
  return static_cast<LRESULT>(answer);
}

LRESULT SendCommandText(HWND target, HWND sender, const std::string& text) {
  std::vector<uint8_t> bytes = zelvio::EncodeCommandBytes(text);
  return SendBytes(target, sender, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void PumpMessagesFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

std::string WindowText(HWND window) {
  char text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                      &length);
  return text;
}

std::string RectText(const RECT& rect) {
  char text[96];
  std::snprintf(text, sizeof(text), "(%ld,%ld,%ld,%ld)", static_cast<long>(rect.left),
                static_cast<long>(rect.top), static_cast<long>(rect.right), static_cast<long>(rect.bottom));
  return text;
}

bool SameRect(const RECT& a, LONG left, LONG top, LONG right, LONG bottom) {
  return a.left == left && a.top == top && a.right == right && a.bottom == bottom;
}
