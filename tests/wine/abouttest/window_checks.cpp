#include "window_checks.h"

#include <cstdio>
#include <string>
#include <vector>

#include "about/about_controls.h"
#include "about/about_text.h"
#include "about/about_window_win32.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "test_windows.h"

namespace abouttest {

namespace {

using zelvio::AboutControlEntry;
using zelvio::AboutControlKind;
using zelvio::ScaleForDpi;

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT PlaceInParent(HWND child) {
  RECT place{};
  GetWindowRect(child, &place);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

bool HasStyle(HWND window, LONG_PTR bits) { return (GetWindowLongPtrA(window, GWL_STYLE) & bits) == bits; }
bool HasAnyStyle(HWND window, LONG_PTR bits) { return (GetWindowLongPtrA(window, GWL_STYLE) & bits) != 0; }

// Every size of the window is designed at 96 dpi and grows with the window's own dpi.
int Scaled(HWND about, int value) { return ScaleForDpi(value, zelvio::WindowDpi(about)); }

void CheckFrame(HWND about, ztest::Report& report) {
  report.Equal("window class", "TFormAbout", ClassOf(about));
  report.Equal("caption", "About", WindowText(about));
  report.Check(!IsWindowVisible(about), "hidden until shown");
  RECT client{};
  GetClientRect(about, &client);
  report.Equal("client width", Scaled(about, zelvio::kAboutClientWidth), client.right);
  report.Equal("client height", Scaled(about, zelvio::kAboutClientHeight), client.bottom);
  report.Check(HasStyle(about, WS_CAPTION | WS_SYSMENU), "caption with a close box");
  report.Check(!HasAnyStyle(about, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
               "not resizable, no minimise or maximise");
  report.Check((GetWindowLongPtrA(about, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0, "tool-window border");
}

void CheckControl(HWND about, const AboutControlEntry& entry, ztest::Report& report) {
  std::string name(entry.name);
  HWND child = GetDlgItem(about, entry.id);
  if (!report.Check(child != nullptr, name + " exists with ID " + std::to_string(entry.id))) return;
  RECT place = PlaceInParent(child);
  report.Equal(name + " left", Scaled(about, entry.left), place.left);
  report.Equal(name + " top", Scaled(about, entry.top), place.top);
  if (entry.width > 0) {
    report.Equal(name + " width", Scaled(about, entry.width), place.right - place.left);
    report.Equal(name + " height", Scaled(about, entry.height), place.bottom - place.top);
  } else {
    report.Check(place.right > place.left && place.bottom > place.top, name + " sized to its text");
  }
  if (entry.kind != AboutControlKind::Picture && entry.kind != AboutControlKind::Memo) {
    report.Equal(name + " text", std::string(entry.text), WindowText(child));
  }
}

// The labels size themselves to their text, so only the built window shows whether the
// big caption or "Ver." runs into a neighbour.
void CheckNothingOverlaps(HWND about, ztest::Report& report) {
  std::vector<std::pair<std::string, RECT>> places;
  for (const AboutControlEntry& entry : zelvio::AboutControls()) {
    HWND child = GetDlgItem(about, entry.id);
    if (child) places.emplace_back(std::string(entry.name), PlaceInParent(child));
  }
  RECT client{0, 0, Scaled(about, zelvio::kAboutClientWidth), Scaled(about, zelvio::kAboutClientHeight)};
  for (size_t i = 0; i < places.size(); ++i) {
    RECT inside{};
    IntersectRect(&inside, &places[i].second, &client);
    report.Check(EqualRect(&inside, &places[i].second) != 0, places[i].first + " lies inside the window");
    for (size_t j = i + 1; j < places.size(); ++j) {
      RECT common{};
      bool overlap = IntersectRect(&common, &places[i].second, &places[j].second) != 0;
      report.Check(!overlap, places[i].first + " and " + places[j].first + " apart");
    }
  }
}

void CheckMemo(HWND about, ztest::Report& report) {
  HWND memo = GetDlgItem(about, zelvio::AboutControlIdFor("MemoInfo"));
  if (!memo) return;
  report.Check(WindowText(memo) == zelvio::AboutUsageText(), "memo holds the usage text");
  report.Check(ClassOf(memo) == "Edit" && HasStyle(memo, ES_MULTILINE | ES_READONLY | WS_VSCROLL),
               "memo is a read-only multi-line edit with a vertical scroll bar");
  report.Check(!HasAnyStyle(memo, WS_HSCROLL | ES_AUTOHSCROLL), "memo wraps instead of scrolling sideways");
  std::string text = zelvio::AboutUsageText();
  long long textLines = 1;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++textLines;
  long long shownLines = SendMessageA(memo, EM_GETLINECOUNT, 0, 0);
  report.Check(shownLines > textLines, "long lines wrap in the memo",
               std::to_string(shownLines) + " shown for " + std::to_string(textLines));
  report.Check(GetNextDlgTabItem(about, nullptr, FALSE) == memo, "memo is the first stop of the Tab key");
}

LOGFONTA FontOf(HWND window) {
  LOGFONTA font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (handle) GetObjectA(handle, sizeof(font), &font);
  return font;
}

int PointsToPixels(int points) {
  HDC screen = GetDC(nullptr);
  int pixels = MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return pixels;
}

void CheckFonts(HWND about, ztest::Report& report) {
  for (const char* name : {"MemoInfo", "LabelMadeBy", "BitBtnVisit"}) {
    LOGFONTA font = FontOf(GetDlgItem(about, zelvio::AboutControlIdFor(name)));
    report.Equal(std::string(name) + " font", "Tahoma", font.lfFaceName);
    report.Equal(std::string(name) + " font height (8 point)", -PointsToPixels(8), font.lfHeight);
  }
  LOGFONTA caption = FontOf(GetDlgItem(about, zelvio::AboutControlIdFor("LabelCaption")));
  report.Equal("caption font", "Tahoma", caption.lfFaceName);
  report.Check(caption.lfWeight >= FW_BOLD, "caption font is bold");
  report.Equal("caption font height (16 point)", -PointsToPixels(16), caption.lfHeight);
}

}  // namespace

void CheckBuiltWindow(HWND about, ztest::Report& report) {
  std::printf("# about window at %d dpi\n", zelvio::WindowDpi(about));
  CheckFrame(about, report);
  for (const AboutControlEntry& entry : zelvio::AboutControls()) CheckControl(about, entry, report);
  CheckNothingOverlaps(about, report);
  CheckMemo(about, report);
  CheckFonts(about, report);
}

}  // namespace abouttest
