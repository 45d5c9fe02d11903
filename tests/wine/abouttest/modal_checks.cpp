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
void CheckCentred(HWND about, CheckReport& report) {
  RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT frame{};
  GetWindowRect(about, &frame);
  int dx = (frame.left - desktop.left) - (desktop.right - frame.right);
  int dy = (frame.top - desktop.top) - (desktop.bottom - frame.bottom);
  report.Check("centred on the desktop, not in the work area", std::abs(dx) <= 1 && std::abs(dy) <= 1,
               "off by " + std::to_string(dx) + "," + std::to_string(dy));
}

// A taskbar 120 pixels high along the bottom of the screen; gives back what was there.
class TaskbarSizedWorkArea {
 public:
  explicit TaskbarSizedWorkArea(CheckReport& report) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
    RECT smaller{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 120};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0);
    RECT now{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
    report.Check("the work area is smaller than the screen for these checks", now.bottom == smaller.bottom,
                 "work area bottom " + std::to_string(now.bottom));
  }
  ~TaskbarSizedWorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
  TaskbarSizedWorkArea(const TaskbarSizedWorkArea&) = delete;
  TaskbarSizedWorkArea& operator=(const TaskbarSizedWorkArea&) = delete;

 private:
  RECT saved_{};
};

void CheckWhileShowing(const Session& s, CheckReport& report) {
  report.Check("shown", IsWindowVisible(s.about) != 0);
  report.Check("owner takes no input meanwhile", !IsWindowEnabled(s.owner));
  report.Check("the program's other window takes no input meanwhile", !IsWindowEnabled(s.other));
  report.Check("the about window itself takes input", IsWindowEnabled(s.about) != 0);
  CheckCentred(s.about, report);
  report.Check("the memo has the keyboard focus", GetFocus() == s.memo);
  HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  report.Check("hand pointer over the donation picture", CursorOver(s.donate) == hand);
  report.Check("no hand over the logo", CursorOver(s.logo) != hand);
}

void CheckAfterClosing(const Session& s, CheckReport& report, const std::string& how) {
  report.Check(how + ": hidden", !IsWindowVisible(s.about));
  report.Check(how + ": the same window lives on", IsWindow(s.about) != 0);
  report.Check(how + ": owner takes input again", IsWindowEnabled(s.owner) != 0);
  report.Check(how + ": the other window takes input again", IsWindowEnabled(s.other) != 0);
}

// First showing: the state while shown, a second call returning at once, a scroll, the Tab
// key's round, then the close box.
void FirstShowing(Session& s, CheckReport& report, int& scrolledTo) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([&] { CheckWhileShowing(s, report); });
  steps.Add([&] {
    zelvio::ShowAboutModal(s.about, s.owner);
    report.Check("a second call while shown returns at once", IsWindowVisible(s.about) != 0);
  });
  steps.Add([&] {
    SendMessageA(s.memo, EM_LINESCROLL, 0, 15);
    scrolledTo = FirstVisibleLine(s.memo);
    report.Check("the memo scrolls", scrolledTo > 0);
  });
  steps.Add([&] { PressKey(GetFocus(), VK_TAB); });
  steps.Add([&] {
    report.Check("Tab goes from the memo to \"Visit\"", GetFocus() == Control(s.about, "BitBtnVisit"));
    PressKey(GetFocus(), VK_TAB);
  });
  steps.Add([&] {
    report.Check("Tab goes on to \"Check Version\"", GetFocus() == Control(s.about, "BitBtnCheckVersion"));
    PressKey(GetFocus(), VK_TAB);
  });
  steps.Add([&] {
    report.Check("Tab comes round to the memo", GetFocus() == s.memo);
    report.Equal("Tab leaves the memo where it was scrolled", scrolledTo, FirstVisibleLine(s.memo));
    PressShiftTab(GetFocus());
  });
  steps.Add([&] {
    report.Check("Shift+Tab goes back to \"Check Version\"",
                 GetFocus() == Control(s.about, "BitBtnCheckVersion"));
    ReleaseShift();
    SetFocus(s.memo);
  });
  steps.Add([&] { SendMessageA(s.about, WM_SYSCOMMAND, SC_CLOSE, 0); });
  steps.Start(kStepMs);
  zelvio::ShowAboutModal(s.about, s.owner);
  report.Check("all steps of the first showing ran", steps.Done());
  CheckAfterClosing(s, report, "close box");
  report.Check("close box: owner is active", GetActiveWindow() == s.owner);
}

// Second showing: the memo as it was left; Escape closes.
void SecondShowing(Session& s, CheckReport& report, int scrolledTo) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([&] {
    report.Equal("scroll position kept between showings", scrolledTo, FirstVisibleLine(s.memo));
    report.Check("text unchanged", WindowText(s.memo) == zelvio::AboutUsageText());
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
  report.Check("Escape closes", !closedByHand);
  CheckAfterClosing(s, report, "Escape");
}

// Third showing: a quit request ends the showing and is left for the program's own loop.
void QuitWhileShowing(Session& s, CheckReport& report) {
  StepRunner steps;
  steps.Add([] {});
  steps.Add([] { PostQuitMessage(7); });
  steps.Start(kStepMs);
  zelvio::ShowAboutModal(s.about, s.owner);
  CheckAfterClosing(s, report, "quit request");
  MSG msg;
  bool quit = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  report.Check("the quit request is handed on with its exit code", quit && msg.wParam == 7);
}

}  // namespace

void RunModalChecks(HINSTANCE instance, CheckReport& report) {
  Session s;
  s.other = CreatePlainWindow(instance, "Another window of the program", 60, 60, 300, 200);
  s.owner = CreatePlainWindow(instance, "Stand-in main window", 120, 120, 640, 480);
  s.about = zelvio::CreateAboutWindow(instance, s.owner);
  if (!report.Check("about window created", s.about != nullptr)) return;
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
  report.Check("the about window goes with its owner", !IsWindow(s.about));
  DestroyWindow(s.other);
}

}  // namespace abouttest
