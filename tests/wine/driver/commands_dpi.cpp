// Driver commands for scaled displays: where every control of the main window sits and
// whether its text fits, and the awareness an executable declares in its manifest.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "commands_dpi.h"
#include "control_type.h"
#include "output.h"
#include "remote_buffer.h"
#include "platform/dpi_scale.h"
#include "ui/control_table.h"
#include "windows_find.h"

namespace zdriver {

namespace {

using zelvio::ScaleForDpi;

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// The screen's logical pixels per inch as this process sees them. GetDpiForWindow cannot
// be asked about another process's window here: Wine answers 96 for it whatever the scale.
int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

struct LayoutScan {
  HWND main;
  HFONT font;
  int dpi;
};

SIZE TextExtent(HDC dc, const std::string& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// Whether the control's caption fits its window, measured in the program's font at the
// window's scale: "1", "0", or "-" for a window whose text is not a caption (lists, edits,
// tab controls) or that has none. The allowances are those the controls draw at 96 dpi:
// the box or circle of a check or radio button and its gap, a group box's indent.
std::string TextFits(HDC dc, HWND window, const LayoutScan& scan) {
  std::string text = WindowText(window);
  std::string kind = ClassOf(window);
  if (text.empty()) return "-";
  RECT r{};
  GetClientRect(window, &r);
  const int width = r.right;
  const int height = r.bottom;
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const SIZE extent = TextExtent(dc, text);
  if (lstrcmpiA(kind.c_str(), "Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) return extent.cx + ScaleForDpi(16, scan.dpi) <= width ? "1" : "0";
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
        type == BS_AUTORADIOBUTTON) {
      const int box = ScaleForDpi(13 + 4, scan.dpi);
      return extent.cx + box <= width && metrics.tmHeight <= height ? "1" : "0";
    }
    return extent.cx + ScaleForDpi(6, scan.dpi) <= width && metrics.tmHeight <= height ? "1" : "0";
  }
  if (lstrcmpiA(kind.c_str(), "Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type == SS_LEFT) {
      RECT needed{0, 0, width, 0};
      DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      return needed.right <= width && needed.bottom <= height ? "1" : "0";
    }
    return extent.cx <= width && metrics.tmHeight <= height ? "1" : "0";
  }
  return "-";
}

// A tab control's page area (TCM_ADJUSTRECT) in the main window's client coordinates: the
// program lays its pages' controls out in it, and the row of tabs above it is as high as the
// font and the tab pictures make it. The rectangle is passed in the program's own process,
// since common controls do not carry it across.
bool PageArea(HWND tabs, const RECT& own, RECT& area) {
  RemoteBuffer remote(ProcessOf(tabs), sizeof(RECT));
  area = own;
  if (!remote.Valid() || !remote.Write(0, &area, sizeof(area))) return false;
  Query(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(remote.Address()));
  return remote.Read(0, &area, sizeof(area));
}

// The character height (TEXTMETRIC's tmHeight) of the program's font at the scanned dpi:
// what a row of tabs holds at the least.
long long FontHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

BOOL CALLBACK PrintPlace(HWND window, LPARAM context) {
  const auto& scan = *reinterpret_cast<const LayoutScan*>(context);
  if (GetParent(window) != scan.main) return TRUE;
  std::string name(zelvio::ControlNameFor(GetDlgCtrlID(window)));
  if (name.empty()) name = "?";
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, scan.main, reinterpret_cast<POINT*>(&r), 2);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, scan.font);
  std::string fits = TextFits(dc, window, scan);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  PrintField("place", name + " " + ClassOf(window) + " " + Rect(r) + " " + fits + " " +
                          ((GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) ? "shown" : "hidden"));
  RECT pages{};
  if (lstrcmpiA(ClassOf(window).c_str(), WC_TABCONTROLA) == 0 && PageArea(window, r, pages)) {
    const bool pictures = Query(window, TCM_GETIMAGELIST) != 0;
    PrintField("pages", name + " " + Rect(pages) + " " + (pictures ? "pictures" : "text"));
  }
  return TRUE;
}

}  // namespace

int LayoutCommand(const Args& args) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  // After a dpi change sent by dpi-changed, the window is at that dpi, not the system's.
  const int dpi = args.empty() ? SystemDpi() : std::atoi(args[0].c_str());
  if (dpi <= 0) return Fail("bad dpi " + args[0]);
  LayoutScan scan{main, nullptr, dpi};
  scan.font = CreateFontA(zelvio::FontHeightForDpi(8, scan.dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
  RECT client{};
  GetClientRect(main, &client);
  PrintField("dpi", scan.dpi);
  PrintField("client", Rect(client));
  PrintField("fontheight", FontHeight(scan.font));
  EnumChildWindows(main, PrintPlace, reinterpret_cast<LPARAM>(&scan));
  DeleteObject(scan.font);
  return 0;
}

// What Windows sends a per-monitor aware window that moves to a monitor of another scale:
// WM_DPICHANGED with the new dpi and the window rectangle it suggests. The rectangle goes
// through the program's own process, as Wine does not carry it across.
int DpiChangedCommand(const Args& args) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  const int dpi = std::atoi(args[0].c_str());
  RECT suggested{std::atoi(args[1].c_str()), std::atoi(args[2].c_str()), std::atoi(args[3].c_str()),
                 std::atoi(args[4].c_str())};
  RemoteBuffer remote(ProcessOf(main), sizeof(RECT));
  if (!remote.Valid() || !remote.Write(0, &suggested, sizeof(suggested)))
    return Fail("no memory in the program");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, 10000, &result))
    return Fail("WM_DPICHANGED not handled within 10 s");
  PrintField("sent", dpi);
  return 0;
}

// The two settings of the executable's manifest that decide its awareness, as written.
int ManifestCommand(const Args& args) {
  HMODULE module = LoadLibraryExA(args[0].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return Fail("cannot open " + args[0]);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  if (!found) {
    FreeLibrary(module);
    return Fail("no manifest resource in " + args[0]);
  }
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
  std::string text(bytes, SizeofResource(module, found));
  FreeLibrary(module);
  for (const char* element : {"dpiAware", "dpiAwareness"}) {
    const std::string open = std::string("<") + element + " ";
    const std::string close = std::string("</") + element + ">";
    size_t at = text.find(open);
    size_t start = at == std::string::npos ? at : text.find('>', at);
    size_t end = start == std::string::npos ? start : text.find(close, start);
    PrintField(element,
               end == std::string::npos ? std::string("(none)") : text.substr(start + 1, end - start - 1));
  }
  return 0;
}

}  // namespace zdriver
