#include "link_clicks.h"

#include <cstdio>
#include <string>

#include "about/about_controls.h"
#include "about/about_window_win32.h"
#include "step_runner.h"
#include "test_windows.h"

namespace abouttest {

namespace {

// The shell starts the handler asynchronously; give it time before looking again.
constexpr UINT kClickGapMs = 1500;

HWND Control(HWND about, const char* name) { return GetDlgItem(about, zelvio::AboutControlIdFor(name)); }

void ClickButton(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

// A picture is no button: it gets the mouse messages a real click would give it.
void ClickPicture(HWND picture) {
  RECT area{};
  GetClientRect(picture, &area);
  LPARAM middle = MAKELPARAM(area.right / 2, area.bottom / 2);
  SendMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  SendMessageA(picture, WM_LBUTTONUP, 0, middle);
}

}  // namespace

void ClickLinks(HINSTANCE instance, ztest::Report& report) {
  HWND owner = CreatePlainWindow(instance, "Stand-in main window", 120, 120, 640, 480);
  HWND about = zelvio::CreateAboutWindow(instance, owner);
  if (!report.Check(about != nullptr, "about window created")) return;
  StepRunner steps;
  steps.Add([] {});
  steps.Add([&] { ClickButton(Control(about, "BitBtnVisit")); });
  steps.Add([&] {
    report.Check(IsWindowVisible(about) != 0, "open after \"Visit\"");
    ClickButton(Control(about, "BitBtnCheckVersion"));
  });
  steps.Add([&] {
    report.Check(IsWindowVisible(about) != 0, "open after \"Check Version\"");
    ClickPicture(Control(about, "ImageDonate"));
  });
  steps.Add([&] {
    report.Check(IsWindowVisible(about) != 0, "open after the donation picture");
    PostMessageA(about, WM_CLOSE, 0, 0);
  });
  steps.Start(kClickGapMs);
  zelvio::ShowAboutModal(about, owner);
  report.Check(steps.Done(), "all clicks made");
  DestroyWindow(owner);
}

int RecordLink(const char* file, const char* address) {
  FILE* out = std::fopen(file, "a");
  if (!out) return 1;
  std::fprintf(out, "%s\n", address);
  std::fclose(out);
  return 0;
}

void HoldOpen(HINSTANCE instance, UINT milliseconds) {
  HWND owner = CreatePlainWindow(instance, "Zelvio - The Free Screen Recorder", 40, 40, 1000, 700);
  HWND about = zelvio::CreateAboutWindow(instance, owner);
  if (!about) return;
  StepRunner steps;
  // Where the window is, for whoever takes the picture.
  steps.Add([&] {
    RECT frame{};
    GetWindowRect(about, &frame);
    std::printf("window: %ldx%ld+%ld+%ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left,
                frame.top);
    std::fflush(stdout);
  });
  steps.Add([&] { PostMessageA(about, WM_CLOSE, 0, 0); });
  steps.Start(milliseconds / 2);
  zelvio::ShowAboutModal(about, owner);
  DestroyWindow(owner);
}

}  // namespace abouttest
