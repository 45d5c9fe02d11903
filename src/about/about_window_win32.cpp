#include "about/about_window_win32.h"

#include <shellapi.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "about/about_artwork_win32.h"
#include "about/about_controls.h"
#include "about/about_text.h"
#include "about/modal_session_win32.h"
#include "about/owner_drawn_win32.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/fonts_win32.h"
#include "common/win32/handles.h"

namespace zelvio {

namespace {

// A tool window: small caption with a close box, fixed size, no minimise or maximise.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

struct AboutState {
  int dpi = kDesignDpi;  // of the window's monitor; the sizes in AboutControls() are at 96
  UniqueFont font;
  UniqueFont captionFont;
  std::vector<std::pair<int, Artwork>> pictures;  // by control ID: pictures and glyphs
  HWND memo = nullptr;
  HWND donate = nullptr;
  HWND lastFocus = nullptr;
  bool showing = false;
};

LRESULT CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

AboutState* StateOf(HWND window) {
  if (!IsWindow(window)) return nullptr;
  // Only our own windows carry an AboutState in their user data.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) != AboutProcedure) return nullptr;
  return reinterpret_cast<AboutState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// ---- building ----

SIZE TextSize(HFONT font, std::string_view text) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.Get(), font);
  SIZE size{0, 0};
  GetTextExtentPoint32A(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

struct ChildClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ChildClass ClassFor(AboutControlKind kind) {
  switch (kind) {
    case AboutControlKind::Picture:
      // SS_NOTIFY lets the picture take clicks and show its own mouse pointer.
      return {"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
    case AboutControlKind::Label:
    case AboutControlKind::CaptionLabel:
      return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case AboutControlKind::Memo:
      // No horizontal scrolling, so the edit wraps long lines.
      return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case AboutControlKind::GlyphButton:
      return {"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
  }
  return {"STATIC", 0, 0};
}

HFONT FontFor(const AboutState& state, const AboutControlEntry& entry) {
  return entry.kind == AboutControlKind::CaptionLabel ? state.captionFont.get() : state.font.get();
}

// Where the entry's control sits at the window's dots per inch; a label takes the size of
// its text in its font.
RECT PlaceOf(const AboutState& state, const AboutControlEntry& entry) {
  RECT place{ScaleForDpi(entry.left, state.dpi), ScaleForDpi(entry.top, state.dpi), 0, 0};
  SIZE size{ScaleForDpi(entry.width, state.dpi), ScaleForDpi(entry.height, state.dpi)};
  if (size.cx == 0 && size.cy == 0) size = TextSize(FontFor(state, entry), entry.text);
  place.right = place.left + size.cx;
  place.bottom = place.top + size.cy;
  return place;
}

HWND CreateChild(HWND parent, const AboutState& state, const AboutControlEntry& entry) {
  ChildClass child = ClassFor(entry.kind);
  const RECT place = PlaceOf(state, entry);
  std::string text(entry.text);
  HWND window =
      CreateWindowExA(child.exStyle, child.className, text.c_str(), WS_CHILD | WS_VISIBLE | child.style,
                      place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (window) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(state, entry)), FALSE);
  return window;
}

void MakeFontsAndPictures(AboutState& state) {
  state.font = TahomaFont(8, FW_NORMAL, state.dpi);
  state.captionFont = TahomaFont(16, FW_BOLD, state.dpi);
  state.pictures.clear();
  state.pictures.emplace_back(AboutControlIdFor("ImageLogo"), PaintLogo(state.dpi));
  state.pictures.emplace_back(AboutControlIdFor("ImageDonate"), PaintDonateButton(state.dpi));
  state.pictures.emplace_back(AboutControlIdFor("BitBtnVisit"), PaintVisitGlyph(state.dpi));
  state.pictures.emplace_back(AboutControlIdFor("BitBtnCheckVersion"), PaintCheckGlyph(state.dpi));
}

void SetMemoMargins(const AboutState& state) {
  const int margin = ScaleForDpi(3, state.dpi);
  SendMessageA(state.memo, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
}

bool BuildContents(HWND window, AboutState& state) {
  state.dpi = WindowDpi(window);
  MakeFontsAndPictures(state);
  for (const AboutControlEntry& entry : AboutControls()) {
    HWND child = CreateChild(window, state, entry);
    if (!child) return false;
    if (entry.kind == AboutControlKind::Memo) state.memo = child;
  }
  state.donate = GetDlgItem(window, AboutControlIdFor("ImageDonate"));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
  SetMemoMargins(state);
  SetWindowTextA(state.memo, AboutUsageText().c_str());
  return true;
}

// Moved to a monitor of another scale: fonts, pictures and places follow, and the window
// takes the rectangle Windows suggests.
void OnDpiChanged(HWND window, AboutState& state, int dpi, const RECT& suggested) {
  if (dpi > 0 && dpi != state.dpi) {
    state.dpi = dpi;
    UniqueFont previousFont = std::move(state.font);
    UniqueFont previousCaptionFont = std::move(state.captionFont);
    MakeFontsAndPictures(state);
    for (const AboutControlEntry& entry : AboutControls()) {
      HWND child = GetDlgItem(window, entry.id);
      if (!child) continue;
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(state, entry)), FALSE);
      const RECT place = PlaceOf(state, entry);
      SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
    SetMemoMargins(state);
  }
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, TRUE);
}

// ---- drawing ----

const Artwork* PictureFor(const AboutState& state, int id) {
  for (const auto& [pictureId, artwork] : state.pictures) {
    if (pictureId == id && !artwork.Empty()) return &artwork;
  }
  return nullptr;
}

void DrawItem(const AboutState& state, const DRAWITEMSTRUCT& item) {
  const Artwork* picture = PictureFor(state, static_cast<int>(item.CtlID));
  if (item.CtlType == ODT_BUTTON) {
    DrawGlyphButtonItem(item, picture, state.dpi);
    return;
  }
  bool centred = static_cast<int>(item.CtlID) == AboutControlIdFor("ImageLogo");
  DrawPictureItem(item, picture, centred);
}

// A read-only edit would otherwise be grey; the memo reads better on the window colour.
LRESULT MemoColours(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// ---- reacting ----

std::string_view LinkFor(int id) {
  AboutLinkAddresses links = AboutLinks();
  if (id == AboutControlIdFor("BitBtnVisit")) return links.product;
  if (id == AboutControlIdFor("BitBtnCheckVersion")) return links.download;
  if (id == AboutControlIdFor("ImageDonate")) return links.donate;
  return {};
}

// The browser reports its own troubles; there is nothing for us to add, so the result of
// ShellExecute is left alone and the window stays open.
void OpenLink(HWND window, std::string_view address) {
  std::string file(address);
  ShellExecuteA(window, "open", file.c_str(), nullptr, nullptr, SW_HIDE);
}

void OnCommand(HWND window, WPARAM wParam) {
  int id = LOWORD(wParam);
  if (id == IDCANCEL) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  // BN_CLICKED and STN_CLICKED are both 0.
  if (HIWORD(wParam) != BN_CLICKED) return;
  std::string_view link = LinkFor(id);
  if (!link.empty()) OpenLink(window, link);
}

// Closing ends the showing; the window lives on, hidden, for the next one.
void OnClose(HWND window, AboutState& state) {
  if (!state.showing) {
    ShowWindow(window, SW_HIDE);
    return;
  }
  state.showing = false;
  // A close sent from elsewhere is handled inside GetMessage; this wakes the modal loop.
  PostMessageA(window, WM_NULL, 0, 0);
}

// Keyboard focus comes back to where it was, the memo the first time.
void OnActivate(HWND window, AboutState& state, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) state.lastFocus = focus;
    return;
  }
  bool remembered = state.lastFocus && IsChild(window, state.lastFocus);
  SetFocus(remembered ? state.lastFocus : state.memo);
}

LRESULT Dispatch(HWND window, AboutState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return BuildContents(window, state) ? 0 : -1;
    case WM_DPICHANGED:
      OnDpiChanged(window, state, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      OnClose(window, state);
      return 0;
    case WM_COMMAND:
      OnCommand(window, wParam);
      return 0;
    case WM_DRAWITEM:
      DrawItem(state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      OnActivate(window, state, wParam);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == state.memo) return MemoColours(reinterpret_cast<HDC>(wParam));
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == state.donate && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    EnableNonClientScaling(window);
    auto* fresh = new (std::nothrow) AboutState;
    if (!fresh) return FALSE;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh));
  }
  auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete state;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  return Dispatch(window, *state, message, wParam, lParam);
}

// Registers the class once; false when the name already belongs to another window
// procedure, whose windows would not be ours.
bool RegisterAboutClass(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kAboutWindowClass, &existing)) return existing.lpfnWndProc == AboutProcedure;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = AboutProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kAboutWindowClass;
  return RegisterClassExA(&wc) != 0;
}

bool IsShowing(HWND about) {
  AboutState* state = StateOf(about);
  return state && state->showing;
}

// Tab moves between the memo and the buttons here rather than in IsDialogMessage, which
// selects all of an edit's text on the way in and so scrolls the memo to its end.
bool HandleTabKey(HWND about, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != about && !IsChild(about, msg.hwnd)) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND next = GetNextDlgTabItem(about, GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next) SetFocus(next);
  // From now on the buttons show where the focus is.
  SendMessageA(about, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return true;
}

void RunModalLoop(HWND about) {
  MSG msg;
  while (IsShowing(about)) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The quit belongs to the program's own loop: hand it on.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HandleTabKey(about, msg) || IsDialogMessageA(about, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (AboutState* state = StateOf(about)) state->showing = false;
}

}  // namespace

HWND CreateAboutWindow(HINSTANCE instance, HWND owner) {
  if (!RegisterAboutClass(instance)) return nullptr;
  HWND about = CreateWindowExA(kExStyle, kAboutWindowClass, "About", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                               0, owner, nullptr, instance, nullptr);
  AboutState* state = StateOf(about);
  if (!state) return about;
  // The client area at the scale the window was built for.
  RECT frame{0, 0, ScaleForDpi(kAboutClientWidth, state->dpi), ScaleForDpi(kAboutClientHeight, state->dpi)};
  AdjustWindowRectForDpi(frame, kStyle, kExStyle, state->dpi);
  SetWindowPos(about, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return about;
}

void ShowAboutModal(HWND about, HWND owner) {
  AboutState* state = StateOf(about);
  if (!state || state->showing) return;
  if (owner) SetWindowLongPtrA(about, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  CentreOnDesktop(about);
  DisabledThreadWindows others(about, owner);
  state->showing = true;
  ShowWindow(about, SW_SHOW);
  RunModalLoop(about);
  // The others come back before the window hides, so Windows hands activation to the
  // owner rather than to some other program.
  others.Restore();
  if (IsWindow(about)) ShowWindow(about, SW_HIDE);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
}

}  // namespace zelvio
