#include "probe_checks.h"
#include "probe_process.h"
#include "probe_screen.h"

#include "common/overlay_command.h"

#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* kCommandLine = "Programs\\ZelvioCapturer.exe";
using zelvio::kOverlayCaption;
constexpr const char* kFrameClass = zelvio::kOverlayWindowClass;
constexpr const char* kBackdropClass = "TFormZelvioBackdrop";
constexpr const char* kDefaultRegion = "Create$864$480$528$300$0$0000FF";

// The default region, 864 x 480 at (528, 300), grown by the 8-pixel frame.
constexpr LONG kOuterLeft = 520, kOuterTop = 292, kOuterRight = 1400, kOuterBottom = 788;

const COLORREF kCanvasColor = RGB(0xFF, 0x00, 0xFF);
const COLORREF kRed = RGB(0xFF, 0x00, 0x00);
const COLORREF kYellow = RGB(0xFF, 0xFF, 0x00);
const COLORREF kBackdropColor = RGB(0x00, 0xFF, 0x80);
constexpr DWORD kPaintWaitMs = 2000;

struct Point {
  int x;
  int y;
};

// Pixels of the 8-pixel band: corners and the middle of each side.
const Point kBandPoints[] = {{520, 292},  {527, 299}, {523, 540},  {960, 296},
                             {1396, 540}, {960, 784}, {1399, 787}, {1392, 780}};
// Pixels of the region itself (first and last row and column included) and just outside.
const Point kInsidePoints[] = {{528, 300}, {1391, 779}, {960, 540}, {528, 779}, {1391, 300}};
const Point kOutsidePoints[] = {{519, 540}, {1400, 540}, {960, 291}, {960, 788}};
// Far from the canvas and the frame: only the backdrop or the bare screen shows here.
constexpr Point kBarePoint = {50, 50};

struct Session {
  ztest::Report& report;
  ChildProcess process;
  Canvas canvas;
  HWND frame = nullptr;

  LRESULT Send(const std::string& text) { return SendCommandText(frame, canvas.Window(), text); }

  RECT FrameRect() const {
    RECT rect = {};
    GetWindowRect(frame, &rect);
    return rect;
  }
};

std::string At(Point p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

// Checks every listed pixel and reports the first that differs.
bool PixelsAre(const Point* points, size_t count, COLORREF expected, std::string& detail) {
  for (size_t i = 0; i < count; ++i) {
    COLORREF seen = WaitForPixel(points[i].x, points[i].y, expected, kPaintWaitMs);
    if (seen == expected) continue;
    detail = At(points[i]) + " is " + ColorText(seen) + ", want " + ColorText(expected);
    return false;
  }
  return true;
}

void MouseClickAt(int x, int y) {
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  inputs[0].mi.dx = (x * 65535 + width / 2) / (width - 1);
  inputs[0].mi.dy = (y * 65535 + height / 2) / (height - 1);
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
  PumpMessagesFor(300);
}

std::string ForegroundText() {
  HWND window = GetForegroundWindow();
  char name[128] = "none";
  if (window != nullptr) GetClassNameA(window, name, sizeof(name));
  return std::string("foreground is ") + name;
}

// A window with an empty window region shows nothing and takes no clicks.
bool HasEmptyShape(HWND window) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(window, shape);
  DeleteObject(shape);
  return kind == NULLREGION;
}

bool NoVisibleWindowBelow(HWND window) {
  for (HWND next = GetWindow(window, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (IsWindowVisible(next)) return false;
  }
  return true;
}

bool IsAbove(HWND upper, HWND lower) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == lower) return true;
  }
  return false;
}

// ---- launch -----------------------------------------------------------------------------

HWND WaitForFrame(DWORD deadline) {
  for (;;) {
    HWND frame = FindWindowA(kFrameClass, nullptr);
    if (frame != nullptr || static_cast<LONG>(GetTickCount() - deadline) >= 0) return frame;
    Sleep(10);
  }
}

bool CheckLaunch(Session& s) {
  ztest::Report& r = s.report;
  if (!r.Check(s.process.Start(kCommandLine), "overlay: starts from Programs\\ZelvioCapturer.exe")) {
    return false;
  }
  DWORD start = GetTickCount();
  r.Check(s.process.WaitIdle(10000), "overlay: becomes idle for input");
  // The recorder waits for idle and then 500 ms more; the window must exist by then.
  // (Wine's idle wait returns at once while the new process is still initialising, so
  // on Wine those 500 ms are all there is.)
  s.frame = WaitForFrame(start + 500);
  bool inTime = s.frame != nullptr;
  if (!inTime) s.frame = WaitForFrame(start + 10000);  // late is a failure, but go on
  std::string found = s.frame ? "found " + std::to_string(GetTickCount() - start) + " ms after start"
                              : "not found within 10 s";
  if (s.process.WaitExit(0)) found += ", process ended with code " + std::to_string(s.process.ExitCode());
  r.Check(inTime, "overlay: FindWindowA(\"TFormMainCapturer\") within the launch steps", found);
  if (s.frame == nullptr) return false;
  r.Note("overlay window " + found);
  DWORD owner = 0;
  GetWindowThreadProcessId(s.frame, &owner);
  r.Check(owner == s.process.Id(), "overlay: window belongs to the started process");
  r.Check(WindowText(s.frame) == kOverlayCaption, "overlay: initial caption",
          "got \"" + WindowText(s.frame) + "\"");
  return true;
}

void CheckStyles(Session& s) {
  LONG style = GetWindowLongA(s.frame, GWL_STYLE);
  LONG exStyle = GetWindowLongA(s.frame, GWL_EXSTYLE);
  ztest::Report& r = s.report;
  r.Check((style & WS_POPUP) != 0 && (style & WS_CAPTION) == 0 && (style & WS_THICKFRAME) == 0,
          "overlay: plain popup without caption or sizing border");
  r.Check(GetParent(s.frame) == nullptr, "overlay: top-level window");
  r.Check((exStyle & WS_EX_TOPMOST) != 0, "overlay: always on top");
  r.Check((exStyle & WS_EX_NOACTIVATE) != 0, "overlay: never activates");
  r.Check((exStyle & WS_EX_TOOLWINDOW) != 0 && (exStyle & WS_EX_APPWINDOW) == 0,
          "overlay: no taskbar button");
}

// ---- region -----------------------------------------------------------------------------

void CheckRegionShape(Session& s) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(s.frame, shape);
  RECT box = {};
  GetRgnBox(shape, &box);
  bool band = kind != ERROR && SameRect(box, 0, 0, 880, 496) && PtInRegion(shape, 0, 0) &&
              PtInRegion(shape, 7, 7) && PtInRegion(shape, 879, 495) && PtInRegion(shape, 440, 4) &&
              !PtInRegion(shape, 8, 8) && !PtInRegion(shape, 440, 248) && !PtInRegion(shape, 871, 487);
  DeleteObject(shape);
  s.report.Check(band, "overlay: window shape is the 8-pixel band only", "box " + RectText(box));
}

void CheckDefaultRegion(Session& s) {
  ztest::Report& r = s.report;
  r.Check(s.Send(kDefaultRegion) == TRUE, "overlay: takes the default Create");
  RECT rect = s.FrameRect();
  r.Check(SameRect(rect, kOuterLeft, kOuterTop, kOuterRight, kOuterBottom),
          "overlay: Create$864$480$528$300 gives window rect (520,292,1400,788)", RectText(rect));
  r.Check(IsWindowVisible(s.frame), "overlay: visible after Create");
  CheckRegionShape(s);
}

// Regions at negative coordinates and larger than the screen are placed as they come.
void CheckOtherRegions(Session& s) {
  ztest::Report& r = s.report;
  s.Send("Create$200$100$-50$-30$0$0000FF");
  RECT rect = s.FrameRect();
  r.Check(SameRect(rect, -58, -38, 158, 78), "overlay: region at negative position", RectText(rect));

  s.Send("Create$1920$1080$0$0$0$0000FF");
  rect = s.FrameRect();
  r.Check(SameRect(rect, -8, -8, 1928, 1088), "overlay: full-screen region is not trimmed", RectText(rect));

  s.Send("Create$4000$3000$-1040$-960$0$0000FF");
  rect = s.FrameRect();
  r.Check(SameRect(rect, -1048, -968, 2968, 2048), "overlay: region larger than the screen", RectText(rect));

  // No preset selected: a region without area still moves the frame, which closes around
  // the point, so the snapshot and the screen source read back an empty region.
  r.Check(s.Send("Create$0$0$960$540$0$0000FF") == TRUE, "overlay: takes a region without area");
  rect = s.FrameRect();
  r.Check(SameRect(rect, 952, 532, 968, 548),
          "overlay: Create$0$0$960$540 gives window rect (952,532,968,548)", RectText(rect));
  s.Send("Create$0$480$100$200$0$0000FF");
  rect = s.FrameRect();
  r.Check(SameRect(rect, 92, 192, 108, 688), "overlay: zero width, 480 high", RectText(rect));

  s.Send(kDefaultRegion);
  rect = s.FrameRect();
  r.Check(SameRect(rect, kOuterLeft, kOuterTop, kOuterRight, kOuterBottom),
          "overlay: back to the default region", RectText(rect));
  CheckRegionShape(s);
}

// ---- pixels -----------------------------------------------------------------------------

void CheckFramePixels(Session& s, const ProbeOptions& options) {
  ztest::Report& r = s.report;
  r.Check(s.Send("ChangeFormColor$FF0000$0") == TRUE, "overlay: takes ChangeFormColor$FF0000$0");
  std::string detail;
  r.Check(PixelsAre(kBandPoints, std::size(kBandPoints), kRed, detail),
          "overlay: band is drawn red (red first in RRGGBB)", detail);
  r.Check(PixelsAre(kInsidePoints, std::size(kInsidePoints), kCanvasColor, detail),
          "overlay: region shows the window beneath", detail);
  r.Check(PixelsAre(kOutsidePoints, std::size(kOutsidePoints), kCanvasColor, detail),
          "overlay: nothing drawn outside the band", detail);
  if (options.holdMs > 0) {
    r.Note("holding the red frame on the screen for " + std::to_string(options.holdMs) + " ms");
    PumpMessagesFor(options.holdMs);
  }
}

void CheckFlash(Session& s) {
  ztest::Report& r = s.report;
  Point band = kBandPoints[2];
  r.Check(s.Send("ChangeFormColor$FFFF00$400") == TRUE, "overlay: takes ChangeFormColor$FFFF00$400");
  COLORREF seen = WaitForPixel(band.x, band.y, kYellow, kPaintWaitMs);
  r.Check(seen == kYellow, "overlay: flash shows yellow", ColorText(seen));
  PumpMessagesFor(400);
  seen = WaitForPixel(band.x, band.y, kRed, kPaintWaitMs);
  r.Check(seen == kRed, "overlay: flash returns to the state colour", ColorText(seen));

  s.Send("ChangeFormColor$C0C0C0$0");
  seen = WaitForPixel(band.x, band.y, RGB(0xC0, 0xC0, 0xC0), kPaintWaitMs);
  r.Check(seen == RGB(0xC0, 0xC0, 0xC0), "overlay: grey state colour", ColorText(seen));

  // A state colour arriving during a flash wins, and the flash's end does not undo it.
  s.Send("ChangeFormColor$FFFF00$300");
  s.Send("ChangeFormColor$FF0000$0");
  PumpMessagesFor(600);
  seen = WaitForPixel(band.x, band.y, kRed, kPaintWaitMs);
  r.Check(seen == kRed, "overlay: state colour during a flash stays", ColorText(seen));
}

// ---- caption ----------------------------------------------------------------------------

void CheckCaption(Session& s) {
  ztest::Report& r = s.report;
  r.Check(s.Send("ChangeFormCaption$FormMainCapturer@25") == TRUE, "overlay: takes ChangeFormCaption");
  r.Check(WindowText(s.frame) == "FormMainCapturer@25", "overlay: caption carries the frame rate",
          "got \"" + WindowText(s.frame) + "\"");
  r.Check(FindWindowA(kFrameClass, "FormMainCapturer@25") == s.frame,
          "overlay: found by class and new caption");
}

// ---- malformed input --------------------------------------------------------------------

void CheckMalformed(Session& s) {
  ztest::Report& r = s.report;
  const char* texts[] = {
      "Bogus$1",
      "Create$2000000000$480$528$300$0$0000FF",
      "Create$-864$480$528$300$0$0000FF",
      "Create$864$480$528$300$0",
      "Create$864$480$528$300$0$00FF",
      "Create$86x$480$528$300$0$0000FF",
      "ChangeFormColor$GG0000$0",
      "ChangeFormColor$00FF00$-5",
      "ChangeFormCaption",
      "Close$now",
      "",
  };
  bool allRefused = true;
  std::string refusedDetail;
  for (const char* text : texts) {
    if (s.Send(text) == FALSE) continue;
    allRefused = false;
    refusedDetail = std::string("accepted \"") + text + "\"";
  }

  std::string close = "Close";  // no terminating zero inside cbData
  allRefused &= SendBytes(s.frame, s.canvas.Window(), close.data(), DWORD(close.size())) == FALSE;
  allRefused &= SendBytes(s.frame, s.canvas.Window(), nullptr, 0) == FALSE;
  std::vector<char> huge(8192, 'A');
  huge.back() = '\0';
  allRefused &= SendBytes(s.frame, s.canvas.Window(), huge.data(), DWORD(huge.size())) == FALSE;
  r.Check(allRefused, "overlay: refuses malformed commands", refusedDetail);

  r.Check(!s.process.WaitExit(0), "overlay: still running after malformed commands");
  RECT rect = s.FrameRect();
  r.Check(SameRect(rect, kOuterLeft, kOuterTop, kOuterRight, kOuterBottom),
          "overlay: rect unchanged by malformed commands", RectText(rect));
  r.Check(WindowText(s.frame) == "FormMainCapturer@25", "overlay: caption unchanged by malformed commands");
  std::string detail;
  r.Check(PixelsAre(kBandPoints, 3, kRed, detail), "overlay: colour unchanged by malformed commands", detail);
}

// ---- focus and clicks -------------------------------------------------------------------

void CheckFocusAndClicks(Session& s) {
  ztest::Report& r = s.report;
  SetForegroundWindow(s.canvas.Window());
  PumpMessagesFor(100);
  s.Send(kDefaultRegion);
  s.Send("ChangeFormColor$FF0000$0");
  r.Check(GetForegroundWindow() != s.frame, "overlay: commands do not take the focus");

  int clicksBefore = s.canvas.Clicks();
  MouseClickAt(523, 540);
  r.Check(GetForegroundWindow() != s.frame, "overlay: a click on the band does not take the focus");
  r.Check(s.canvas.Clicks() == clicksBefore,
          "overlay: a click on the band does not reach the window beneath");

  MouseClickAt(960, 540);
  r.Check(s.canvas.Clicks() == clicksBefore + 1,
          "overlay: a click inside the region reaches the window beneath",
          "canvas clicks " + std::to_string(s.canvas.Clicks() - clicksBefore));
}

// ---- backdrop ---------------------------------------------------------------------------

void CheckBackdropOn(Session& s, HWND& backdrop) {
  ztest::Report& r = s.report;
  r.Check(s.Send("Create$864$480$528$300$-1$00FF80") == TRUE, "backdrop: takes Create with flag -1");
  RECT rect = s.FrameRect();
  r.Check(SameRect(rect, kOuterLeft, kOuterTop, kOuterRight, kOuterBottom),
          "backdrop: frame rect unchanged by the flag", RectText(rect));

  backdrop = FindProcessWindow(s.process.Id(), kBackdropClass);
  if (!r.Check(backdrop != nullptr && IsWindowVisible(backdrop) && !HasEmptyShape(backdrop),
               "backdrop: window shown")) {
    return;
  }
  RECT area = {};
  GetWindowRect(backdrop, &area);
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  r.Check(SameRect(area, left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                   top + GetSystemMetrics(SM_CYVIRTUALSCREEN)),
          "backdrop: covers the screen", RectText(area));
  r.Check((GetWindowLongA(backdrop, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0, "backdrop: never activates");
  r.Check(NoVisibleWindowBelow(backdrop) && IsAbove(s.canvas.Window(), backdrop),
          "backdrop: below every other window");
  r.Check(GetForegroundWindow() != backdrop, "backdrop: showing it does not activate it", ForegroundText());

  COLORREF seen = WaitForPixel(kBarePoint.x, kBarePoint.y, kBackdropColor, kPaintWaitMs);
  r.Check(seen == kBackdropColor, "backdrop: drawn in the Create colour 00FF80", ColorText(seen));
  std::string detail;
  r.Check(PixelsAre(kBandPoints, std::size(kBandPoints), kRed, detail),
          "backdrop: frame stays above it on the screen", detail);
}

// An application opened while the backdrop shows comes above it too.
void CheckLaterWindowShows(Session& s) {
  ztest::Report& r = s.report;
  Canvas later;
  const COLORREF kLaterColor = RGB(0x20, 0x40, 0xA0);
  if (!r.Check(later.Create(RECT{700, 400, 1200, 700}, kLaterColor), "probe: second canvas")) return;
  PumpMessagesFor(200);
  const Point inside[] = {{700, 400}, {960, 540}, {1199, 699}};
  std::string detail;
  r.Check(PixelsAre(inside, std::size(inside), kLaterColor, detail),
          "backdrop: an application window in the region shows above it", detail);
  r.Check(PixelsAre(kBandPoints, 3, kRed, detail), "backdrop: frame still above everything", detail);
}

void CheckBackdropStaysDown(Session& s, HWND backdrop) {
  ztest::Report& r = s.report;
  SetWindowPos(backdrop, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PumpMessagesFor(100);
  r.Check(NoVisibleWindowBelow(backdrop) && IsAbove(s.canvas.Window(), backdrop),
          "backdrop: stays at the bottom when raised");
  r.Check(GetForegroundWindow() != backdrop, "backdrop: raising it does not activate it", ForegroundText());

  MouseClickAt(kBarePoint.x, kBarePoint.y);
  r.Check(GetForegroundWindow() != backdrop, "backdrop: a click does not activate it", ForegroundText());
  r.Check(NoVisibleWindowBelow(backdrop) && IsAbove(s.canvas.Window(), backdrop),
          "backdrop: stays at the bottom when clicked");
  std::string detail;
  r.Check(PixelsAre(kBandPoints, 3, kRed, detail), "backdrop: frame still drawn after a click", detail);
}

void CheckBackdropOff(Session& s, HWND backdrop) {
  ztest::Report& r = s.report;
  r.Check(s.Send(kDefaultRegion) == TRUE, "backdrop: takes Create with flag 0");
  r.Check(!IsWindow(backdrop) || !IsWindowVisible(backdrop) || HasEmptyShape(backdrop),
          "backdrop: hidden by flag 0");
  PumpMessagesFor(200);
  COLORREF seen = ScreenPixel(kBarePoint.x, kBarePoint.y);
  r.Check(seen != kBackdropColor, "backdrop: gone from the screen", ColorText(seen));
}

void CheckBackdrop(Session& s) {
  HWND backdrop = nullptr;
  CheckBackdropOn(s, backdrop);
  if (backdrop == nullptr) return;
  CheckLaterWindowShows(s);
  CheckBackdropStaysDown(s, backdrop);
  CheckBackdropOff(s, backdrop);
}

// ---- close ------------------------------------------------------------------------------

void CheckClose(Session& s) {
  ztest::Report& r = s.report;
  r.Check(s.Send("Close") == TRUE, "overlay: takes Close");
  r.Check(s.process.WaitExit(5000), "overlay: process ends after Close");
  r.Check(s.process.ExitCode() == 0, "overlay: exit code 0", std::to_string(s.process.ExitCode()));
  r.Check(FindWindowA(kFrameClass, nullptr) == nullptr, "overlay: no TFormMainCapturer window left");
  r.Check(FindWindowA(kBackdropClass, nullptr) == nullptr, "overlay: no backdrop window left");
}

}  // namespace

void RunOverlayChecks(ztest::Report& report, const ProbeOptions& options) {
  // The pixel checks use fixed places laid out for a 1920 x 1080 test display.
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  if (!report.Check(width >= 1600 && height >= 960, "probe: screen of at least 1600 x 960",
                    std::to_string(width) + " x " + std::to_string(height))) {
    return;
  }
  if (!report.Check(FindWindowA(kFrameClass, nullptr) == nullptr, "overlay: no overlay running before")) {
    return;
  }
  // The recorder's own window exists before it starts the overlay, so the desktop is up by
  // then. Do the same: on Wine a GUI process started while the desktop process itself is
  // still starting was not found by FindWindowA at all.
  GetDesktopWindow();
  Session s{report, {}, {}, nullptr};
  if (!CheckLaunch(s)) return;
  // Opened after the overlay, like the applications a user records.
  if (!report.Check(s.canvas.Create(RECT{300, 150, 1600, 950}, kCanvasColor), "probe: canvas window")) {
    return;
  }
  PumpMessagesFor(200);
  CheckStyles(s);
  CheckDefaultRegion(s);
  CheckFramePixels(s, options);
  CheckFlash(s);
  CheckCaption(s);
  CheckMalformed(s);
  CheckFocusAndClicks(s);
  CheckOtherRegions(s);
  CheckBackdrop(s);
  CheckClose(s);
}
