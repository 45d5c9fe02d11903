#include "probe_checks.h"
#include "probe_process.h"

#include <string>

namespace {

constexpr const char* kCommandLine = "Programs\\HookCursor.exe";

HWND FindHookWindow() { return FindWindowA("TFormHookCursor", "FormHookCursor"); }

// The recorder starts the program without waiting; its window appears a moment later.
HWND WaitForHookWindow(DWORD processId) {
  for (int i = 0; i < 250; ++i) {
    HWND window = FindProcessWindow(processId, "TFormHookCursor");
    if (window != nullptr) return window;
    Sleep(20);
  }
  return nullptr;
}

bool CloseLikeTheRecorder() {
  HWND window = FindHookWindow();
  if (window == nullptr) return false;
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
}

void CheckOneRun(ztest::Report& report) {
  ChildProcess process;
  if (!report.Check(process.Start(kCommandLine), "hook: starts from Programs\\HookCursor.exe")) {
    return;
  }
  HWND window = WaitForHookWindow(process.Id());
  if (!report.Check(window != nullptr, "hook: has a TFormHookCursor window")) return;
  report.Check(FindHookWindow() == window, "hook: FindWindowA(class, \"FormHookCursor\") finds it");
  report.Check(GetParent(window) == nullptr && GetWindow(window, GW_OWNER) == nullptr,
               "hook: window is top-level");
  report.Check(!IsWindowVisible(window), "hook: window stays hidden");
  report.Check(CloseLikeTheRecorder(), "hook: accepts WM_CLOSE");
  report.Check(process.WaitExit(5000), "hook: process ends after WM_CLOSE");
  report.Check(process.ExitCode() == 0, "hook: exit code 0", "got " + std::to_string(process.ExitCode()));
}

// Toggling the cursor option twice starts two processes; each WM_CLOSE ends one of them.
void CheckTwoRuns(ztest::Report& report) {
  ChildProcess first;
  ChildProcess second;
  bool started = first.Start(kCommandLine) && second.Start(kCommandLine);
  if (!report.Check(started, "hook: two instances start")) return;
  bool bothUp = WaitForHookWindow(first.Id()) && WaitForHookWindow(second.Id());
  if (!report.Check(bothUp, "hook: both instances have their window")) return;

  CloseLikeTheRecorder();
  HANDLE both[2] = {first.Handle(), second.Handle()};
  bool oneEnded = WaitForMultipleObjects(2, both, FALSE, 5000) != WAIT_TIMEOUT;
  Sleep(200);
  bool otherRuns = !first.WaitExit(0) || !second.WaitExit(0);
  report.Check(oneEnded && otherRuns, "hook: first WM_CLOSE ends exactly one instance");
  CloseLikeTheRecorder();
  report.Check(first.WaitExit(5000) && second.WaitExit(5000), "hook: second WM_CLOSE ends the other");
  report.Check(FindHookWindow() == nullptr, "hook: no window left");
}

}  // namespace

void RunHookCursorChecks(ztest::Report& report) {
  CheckOneRun(report);
  CheckTwoRuns(report);
}
