// Starts a program and measures how long its window takes to show. Launching from inside
// Wine keeps the driver's own start-up out of the figure.
#include <windows.h>

#include <string>

#include "commands.h"
#include "output.h"
#include "common/win32/handles.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr long long kDefaultTimeoutMs = 60000;
constexpr DWORD kPollMs = 5;

bool ShownWindow(const std::string& className) {
  HWND window = FindWindowA(className.c_str(), nullptr);
  return window != nullptr && IsWindowVisible(window);
}

// Milliseconds since construction, from the performance counter.
class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&begin_);
  }
  long long ElapsedMs() const {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return (now.QuadPart - begin_.QuadPart) * 1000 / frequency_.QuadPart;
  }
  // The start on the counter every Wine process shares, so a traced program's own marks
  // can be put on this time line.
  long long BeginMicroseconds() const {
    return begin_.QuadPart / frequency_.QuadPart * 1000000 +
           begin_.QuadPart % frequency_.QuadPart * 1000000 / frequency_.QuadPart;
  }

 private:
  LARGE_INTEGER frequency_ = {};
  LARGE_INTEGER begin_ = {};
};

bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder,
                  PROCESS_INFORMATION* out) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, out) != FALSE;
}

}  // namespace

// start-timed <exe> <folder> <class> [timeout_ms] [arguments]: starts exe (with the
// arguments, when given, as one piece of its command line) with folder as its current
// directory and waits until a visible top-level window of class exists. The program is left
// running.
int StartTimedCommand(const Args& args) {
  long long timeout = TimeoutArg(args, 3, kDefaultTimeoutMs);
  if (timeout < 0) return Fail("bad time-out");
  Stopwatch stopwatch;
  PROCESS_INFORMATION process = {};
  std::string arguments = args.size() > 4 ? args[4] : std::string();
  if (!StartProgram(args[0], arguments, args[1], &process)) {
    return Fail("could not start " + args[0] + " (error " + std::to_string(GetLastError()) + ")");
  }
  zelvio::UniqueHandle processHandle(process.hProcess);
  zelvio::UniqueHandle threadHandle(process.hThread);
  PrintField("pid", static_cast<long long>(process.dwProcessId));
  PrintField("start_us", stopwatch.BeginMicroseconds());
  for (;;) {
    long long elapsedMs = stopwatch.ElapsedMs();
    if (ShownWindow(args[2])) {
      PrintField("elapsed_ms", elapsedMs);
      return 0;
    }
    if (elapsedMs >= timeout) return Fail("no visible " + args[2] + " within the time-out");
    if (WaitForSingleObject(processHandle.get(), kPollMs) == WAIT_OBJECT_0) {
      return Fail("the program ended before its window showed");
    }
  }
}

}  // namespace zdriver
