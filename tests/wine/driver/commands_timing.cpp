// time-click <designName> <folder> <pattern> [timeout_ms]: clicks a button of the main
// window and measures, with the performance counter, how long it takes until a file
// matching pattern appears in folder. The click is posted, so the handler's own waits after
// writing the file stay out of the figure; timing from inside Wine keeps the driver's start
// out of it too. The folder should hold no matching file before the click.
#include <windows.h>

#include <string>

#include "commands_desktop.h"
#include "control_lookup.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr long long kDefaultTimeoutMs = 30000;

// The first matching file's name, or "" while there is none.
std::string FirstMatch(const std::string& folder, const std::string& pattern) {
  WIN32_FIND_DATAA found = {};
  std::string query = folder + "\\" + pattern;
  HANDLE search = FindFirstFileA(query.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::string();
  FindClose(search);
  return found.cFileName;
}

long long ElapsedUs(const LARGE_INTEGER& begin, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  return (now.QuadPart - begin.QuadPart) * 1000000 / frequency.QuadPart;
}

}  // namespace

int TimeClickCommand(const Args& args) {
  long long timeoutMs = TimeoutArg(args, 3, kDefaultTimeoutMs);
  if (timeoutMs < 0) return Fail("bad time-out");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  FoundControl button = FindControl(main, args[0]);
  if (button.window == nullptr) return Fail(button.error);
  if (!FirstMatch(args[1], args[2]).empty()) return Fail("a matching file is already there");

  LARGE_INTEGER frequency = {};
  LARGE_INTEGER begin = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!PostMessageA(button.window, BM_CLICK, 0, 0)) return Fail("could not post BM_CLICK");
  for (;;) {
    std::string name = FirstMatch(args[1], args[2]);
    long long elapsed = ElapsedUs(begin, frequency);
    if (!name.empty()) {
      PrintField("file", name);
      PrintField("elapsed_us", elapsed);
      return 0;
    }
    if (elapsed / 1000 >= timeoutMs) return Fail("no matching file within the time-out");
    Sleep(1);
  }
}

}  // namespace zdriver
