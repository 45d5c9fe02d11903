#include "modal_checks.h"

#include <cstdlib>
#include <string>

#include "about/about_controls.h"
#include "about/about_text.h"
#include "about/about_window_win32.h"
#include "step_runner.h"
#include "test_windows.h"
#include "window_checks.h"

namespace abouttest {

namespace {

constexpr UINT kStepMs = 150;

struct Session {
  HWND owner = nullptr;
  HWND other = nullptr;
  HWND about = nullptr;
  HWND memo = nullptr;
  HWND donate = nullptr;
  HWND logo = nullptr;
};

HWND Control(HWND about, const char* name) { return GetDlgItem(about, zelvio::AboutControlIdFor(name)); }

int FirstVisibleLine(HWND memo) { return static_cast<int>(SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0)); }

// The cursor a window would show: what is set after it asks its parent and itself.
HCURSOR CursorOver(HWND child) {
  SetCursor(nullptr);
  SendMessageA(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

// Posted like typing, so it passes through the modal loop's keyboard handling.
void PressKey(HWND focus, WPARAM key) {
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// The shift state is the thread's, read when the Tab arrives; ReleaseShift lets it go.
void PressShiftTab(HWND focus) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(focus, WM_KEYDOWN, VK_TAB, 1);
  PostMessageA(focus, WM_KEYUP, VK_TAB, 0xC0000001);
}

void ReleaseShift() {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

// Centred on the whole desktop: the work area (the screen less a taskbar) plays no part.
// The checks shrink the work area as a taskbar at the bottom would, so the two differ.
void CheckCentred(HWND about, ztest::Report& report) {
  RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT frame{};
  GetWindowRect(about, &frame);
  int dx = (frame.left - desktop.left) - (desktop.right - frame.right);
  int dy = (frame.top - desktop.top) - (desktop.bottom - frame.bottom);
  report.Check(std::abs(dx) <= 1 && std::abs(dy) <= 1, "centred on the desktop, not in the work area",
               "off by " + std::to_string(dx) + "," + std::to_string(dy));
}

// A taskbar 120 pixels high along the bottom of the screen; gives back what was there.
class TaskbarSizedWorkArea {
 public:
  explicit TaskbarSizedWorkArea(ztest::Report& report) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
    RECT smaller{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 120};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0);
    RECT now{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
    report.Check(now.bottom == smaller.bottom, "the work area is smaller than the screen for these checks",
                 "work area bottom " + std::to_string(now.bottom));
  }
  ~TaskbarSizedWorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
  TaskbarSizedWorkArea(const TaskbarSizedWorkArea&) = delete;
  TaskbarSizedWorkArea& operator=(const TaskbarSizedWorkArea&) = delete;

 private:
  RECT saved_{};
};

void CheckWhileShowing(const Session& s, ztest::Report& report) {
  report.Check(IsWindowVisible(s.about) != 0, "shown");
  report.Check(!IsWindowEnabled(s.owner), "owner takes no input meanwhile");
  report.Check(!IsWindowEnabled(s.other), "the program's other window takes no input meanwhile");
  report.Check(IsWindowEnabled(s.about) != 0, "the about window itself takes input");
  CheckCentred(s.about, report);
  report.Check(GetFocus() == s.memo, "the memo has the keyboard focus");
  HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  report.Check(CursorOver(s.donate) == hand, "hand pointer over the donation picture");
  report.Check(CursorOver(s.logo) != hand, "no hand over the logo");
}

void CheckAfterClosing(const Session& s, ztest::Report& report, const std::string& how) {
  report.Check(!IsWindowVisible(s.about), how + ": hidden");
  report.Check(IsWindow(s.about) != 0, how + ": the same window lives on");
  report.Check(IsWindowEnabled(s.owner) != 0, how + ": owner takes input again");
  report.Check(IsWindowEnabled(s.other) != 0, how + ": the other window takes input again");
}

// First showing: the state while shown, a second call returning at once, a scroll, the Tab
// key's round, then the close box.
void FirstShowing(Session& s, ztest::Report& report, int& scrolledTo) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([&] { CheckWhileShowing(s, report); });
  steps.Add([&] {
    zelvio::ShowAboutModal(s.about, s.owner);
    report.Check(IsWindowVisible(s.about) != 0, "a second call while shown returns at once");
  });
  steps.Add([&] {
    SendMessageA(s.memo, EM_LINESCROLL, 0, 15);
    scrolledTo = FirstVisibleLine(s.memo);
    report.Check(scrolledTo > 0, "the memo scrolls");
  });
  steps.Add([&] { PressKey(GetFocus(), VK_TAB); });
  steps.Add([&] {
    report.Check(GetFocus() == Control(s.about, "BitBtnVisit"), "Tab goes from the memo to \"Visit\"");
    PressKey(GetFocus(), VK_TAB);
  });
  steps.Add([&] {
    report.Check(GetFocus() == Control(s.about, "BitBtnCheckVersion"), "Tab goes on to \"Check Version\"");
    PressKey(GetFocus(), VK_TAB);
  });
  steps.Add([&] {
    report.Check(GetFocus() == s.memo, "Tab comes round to the memo");
    report.Equal("Tab leaves the memo where it was scrolled", scrolledTo, FirstVisibleLine(s.memo));
    PressShiftTab(GetFocus());
  });
  steps.Add([&] {
    report.Check(GetFocus() == Control(s.about, "BitBtnCheckVersion"),
                 "Shift+Tab goes back to \"Check Version\"");
    ReleaseShift();
    SetFocus(s.memo);
  });
  steps.Add([&] { SendMessageA(s.about, WM_SYSCOMMAND, SC_CLOSE, 0); });
  steps.Start(kStepMs);
  zelvio::ShowAboutModal(s.about, s.owner);
  report.Check(steps.Done(), "all steps of the first showing ran");
  CheckAfterClosing(s, report, "close box");
  report.Check(GetActiveWindow() == s.owner, "close box: owner is active");
}

// Second showing: the memo as it was left; Escape closes.
void SecondShowing(Session& s, ztest::Report& report, int scrolledTo) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([&] {
    report.Equal("scroll position kept between showings", scrolledTo, FirstVisibleLine(s.memo));
    report.Check(WindowText(s.memo) == zelvio::AboutUsageText(), "text unchanged");
    PressKey(GetFocus(), VK_ESCAPE);
  });
  // Runs only while the window is still up after Escape.
  bool closedByHand = false;
  steps.Add([&] {
    closedByHand = true;
    PostMessageA(s.about, WM_CLOSE, 0, 0);
  });
  steps.Start(kStepMs);
  zelvio::ShowAboutModal(s.about, s.owner);
  report.Check(!closedByHand, "Escape closes");
  CheckAfterClosing(s, report, "Escape");
}

// Third showing: a quit request ends the showing and is left for the program's own loop.
void QuitWhileShowing(Session& s, ztest::Report& report) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([] { PostQuitMessage(7); });
  steps.Start(kStepMs);
  zelvio::ShowAboutModal(s.about, s.owner);
  CheckAfterClosing(s, report, "quit request");
  MSG msg;
  bool quit = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  report.Check(quit && msg.wParam == 7, "the quit request is handed on with its exit code");
}

}  // namespace

void RunModalChecks(HINSTANCE instance, ztest::Report& report) {
  Session s;
  s.other = CreatePlainWindow(instance, "Another window of the program", 60, 60, 300, 200);
  s.owner = CreatePlainWindow(instance, "Stand-in main window", 120, 120, 640, 480);
  s.about = zelvio::CreateAboutWindow(instance, s.owner);
  if (!report.Check(s.about != nullptr, "about window created")) return;
  s.memo = Control(s.about, "MemoInfo");
  s.donate = Control(s.about, "ImageDonate");
  s.logo = Control(s.about, "ImageLogo");
  CheckBuiltWindow(s.about, report);

  int scrolledTo = 0;
  TaskbarSizedWorkArea taskbar(report);
  FirstShowing(s, report, scrolledTo);
  SecondShowing(s, report, scrolledTo);
  QuitWhileShowing(s, report);

  DestroyWindow(s.owner);
  report.Check(!IsWindow(s.about), "the about window goes with its owner");
  DestroyWindow(s.other);
}

}  // namespace abouttest
