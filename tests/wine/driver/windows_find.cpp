#include "windows_find.h"

#include "platform/wide_text_win32.h"

namespace zdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kTextTimeoutMs = 2000;

}  // namespace

HWND FindTopLevel(const std::string& className, const std::string& title) {
  return FindWindowA(className.c_str(), title.empty() ? nullptr : title.c_str());
}

HWND WaitForTopLevel(const std::string& className, const std::string& title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindTopLevel(className, title);
    if (window != nullptr) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitForTopLevelGone(const std::string& className, const std::string& title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (FindTopLevel(className, title) == nullptr) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

HWND MainWindow() { return FindWindowA(kMainWindowClass, nullptr); }

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// Asked in UTF-16 and printed as UTF-8, so a folder name in any script reads back whole.
std::string WindowText(HWND window) {
  wchar_t buffer[4096] = {};
  DWORD_PTR copied = 0;
  LRESULT ok = SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                                   SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied);
  if (ok == 0) return std::string();
  return zelvio::NarrowBounded(buffer, static_cast<size_t>(copied));
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  int length = GetClassNameA(window, buffer, sizeof(buffer));
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace zdriver
