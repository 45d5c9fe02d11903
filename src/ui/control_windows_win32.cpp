#include "ui/control_windows_win32.h"

#include "platform/dpi_scale.h"
#include "common/win32/handles.h"
#include "platform/wide_text_win32.h"
#include "ui/control_table.h"
#include "ui/control_peers_win32.h"

namespace zelvio {

namespace {

// At 96 dpi: how far a drop-down list reaches below its box when it opens (the colour list
// holds more entries) ...
constexpr int kDropDownHeight = 220;
constexpr int kColourDropDownHeight = kDropDownHeight + 80;
// ... the width the audio format list scrolls to (format descriptions are long) ...
constexpr int kFormatListExtent = 700;
// ... and the width of a spin edit's arrows.
constexpr int kSpinArrowsWidth = 17;

// The rectangle of the control's own window: a drop-down list's window reaches down over
// its list.
RECT WindowRectOf(ControlKind kind, const ChildWindowPlacement& placement) {
  RECT r = placement.rect;
  if (kind == ControlKind::ComboBox) r.bottom += ScaleForDpi(kDropDownHeight, placement.dpi);
  if (kind == ControlKind::ColorBox) r.bottom += ScaleForDpi(kColourDropDownHeight, placement.dpi);
  return r;
}

// A spin edit's arrows sit right of its edit box.
RECT SpinArrowsRect(const ChildWindowPlacement& placement) {
  return RECT{placement.rect.right, placement.rect.top,
              placement.rect.right + ScaleForDpi(kSpinArrowsWidth, placement.dpi), placement.rect.bottom};
}

HWND CreateChild(const ChildWindowPlacement& placement, const char* windowClass, const std::string& text,
                 DWORD style, DWORD exStyle, const RECT& r, int id) {
  // Unicode windows: an edit box created through the ANSI function may keep its text in the
  // ANSI code page, and a folder name in another script would not survive it.
  HWND window = CreateWindowExW(
      exStyle, Widen(windowClass).c_str(), Widen(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, r.left,
      r.top, r.right - r.left, r.bottom - r.top, placement.parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), placement.instance, nullptr);
  if (window && placement.font)
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(placement.font), FALSE);
  return window;
}

// A group box draws only its frame and caption. All control windows are siblings, so
// nothing would paint its inside: it fills the inside itself, before its frame, with the
// background its parent names for it, as it does for the caption.
LRESULT CALLBACK FillGroupInterior(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(window), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(window)));
    FillRect(dc, &paint.rcPaint, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    DefSubclassProc(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, FillGroupInterior, id);
  return DefSubclassProc(window, message, wParam, lParam);
}

HWND CreateGroupBox(const ChildWindowPlacement& placement, const Control& control, int id) {
  HWND window = CreateChild(placement, "BUTTON", control.Caption(), BS_GROUPBOX, 0, placement.rect, id);
  SetWindowSubclass(window, FillGroupInterior, 1, 0);
  return window;
}

DWORD LabelStyle(unsigned flags) {
  if (flags & kLayoutWrap) return SS_LEFT | SS_NOPREFIX;
  if (flags & kLayoutRight) return SS_RIGHT | SS_NOPREFIX;
  if (flags & kLayoutCentre) return SS_CENTER | SS_NOPREFIX;
  return SS_LEFTNOWORDWRAP | SS_NOPREFIX;
}

DWORD TrackBarStyle(const TrackBar& bar, unsigned flags) {
  DWORD style = WS_TABSTOP | ((flags & kLayoutTicks) ? TBS_AUTOTICKS : TBS_NOTICKS);
  if (bar.GetOrientation() == TrackBar::Orientation::Vertical) return style | TBS_VERT | TBS_RIGHT;
  return style | TBS_HORZ | TBS_BOTTOM;
}

// Takes the edit as the arrows' buddy, which sets the arrows inside its right edge. At 96 dpi
// the arrows keep the width the platform gives them there, as they always have. On a scaled
// display they get our own width scaled: some platforms (Wine among them) size the arrows
// beside a buddy with a fixed width that does not grow with the scale. The edit gives up
// what the arrows gain, so together they keep their place.
void AttachSpinArrows(HWND edit, HWND arrows, int dpi) {
  SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  if (dpi <= 0 || dpi == kDesignDpi) return;
  const HWND parent = GetParent(arrows);
  RECT arrowsRect{};
  RECT editRect{};
  GetWindowRect(arrows, &arrowsRect);
  GetWindowRect(edit, &editRect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&arrowsRect), 2);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&editRect), 2);
  const int wanted = ScaleForDpi(kSpinArrowsWidth, dpi);
  const int grow = wanted - (arrowsRect.right - arrowsRect.left);
  if (grow == 0) return;
  SetWindowPos(arrows, nullptr, arrowsRect.left - grow, arrowsRect.top, wanted,
               arrowsRect.bottom - arrowsRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(edit, nullptr, 0, 0, editRect.right - editRect.left - grow, editRect.bottom - editRect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::unique_ptr<WindowPeer> CreateSpinEdit(PeerHost& host, SpinEdit& spin,
                                           const ChildWindowPlacement& placement, int id) {
  HWND edit = CreateChild(placement, "EDIT", spin.Text(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                          placement.rect, id);
  HWND arrows = CreateChild(placement, UPDOWN_CLASSA, "",
                            UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0,
                            SpinArrowsRect(placement), ControlIdFor(kSpinArrowsName));
  AttachSpinArrows(edit, arrows, placement.dpi);
  // The arrows never reach an end of their own range, so every click reports a step; the
  // spin edit keeps the real value and its limits.
  SendMessageA(arrows, UDM_SETRANGE32, static_cast<WPARAM>(-1000000), 1000000);
  SendMessageA(arrows, UDM_SETPOS32, 0, 0);
  return std::make_unique<SpinEditPeer>(host, spin, edit, arrows);
}

}  // namespace

int OwnerDrawItemHeight(HFONT font) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  return metrics.tmHeight + 2;
}

std::unique_ptr<WindowPeer> CreateControlWindow(PeerHost& host, Control& control,
                                                const ChildWindowPlacement& placement) {
  const int id = ControlIdFor(control.Name());
  const RECT& r = placement.rect;
  const unsigned flags = placement.layoutFlags;
  switch (control.Kind()) {
    case ControlKind::Form:
    case ControlKind::Panel:
    case ControlKind::TabSheet:
    case ControlKind::Timer:
      return nullptr;
    case ControlKind::GroupBox:
      return std::make_unique<CaptionPeer>(host, control, CreateGroupBox(placement, control, id));
    case ControlKind::PageControl:
      return std::make_unique<PageControlPeer>(
          host, control, CreateChild(placement, WC_TABCONTROLA, "", WS_TABSTOP, 0, r, id),
          (flags & kLayoutTabImages) != 0);
    case ControlKind::Label: {
      HWND w = CreateChild(placement, "STATIC", control.Caption(), LabelStyle(flags), 0, r, id);
      return std::make_unique<CaptionPeer>(host, control, w,
                                           (flags & kLayoutRedText) ? RGB(255, 0, 0) : CLR_INVALID);
    }
    case ControlKind::Edit:
      return std::make_unique<EditPeer>(host, static_cast<Edit&>(control),
                                        CreateChild(placement, "EDIT", control.Caption(),
                                                    WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, r, id));
    case ControlKind::Button:
      return std::make_unique<ButtonPeer>(
          host, static_cast<Button&>(control),
          CreateChild(placement, "BUTTON", control.Caption(), WS_TABSTOP | BS_PUSHBUTTON, 0, r, id));
    case ControlKind::ImageButton:
      return std::make_unique<ImageButtonPeer>(
          host, static_cast<ImageButton&>(control),
          CreateChild(placement, "BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON, 0, r, id));
    case ControlKind::CheckBox:
      // Not an automatic box: the control decides its state, the window only reports clicks.
      return std::make_unique<CheckBoxPeer>(
          host, static_cast<CheckBox&>(control),
          CreateChild(placement, "BUTTON", control.Caption(), WS_TABSTOP | BS_CHECKBOX, 0, r, id));
    case ControlKind::RadioButton:
      return std::make_unique<RadioButtonPeer>(
          host, static_cast<RadioButton&>(control),
          CreateChild(placement, "BUTTON", control.Caption(), WS_TABSTOP | BS_RADIOBUTTON, 0, r, id));
    case ControlKind::TrackBar: {
      auto& bar = static_cast<TrackBar&>(control);
      return std::make_unique<TrackBarPeer>(
          host, bar, CreateChild(placement, TRACKBAR_CLASSA, "", TrackBarStyle(bar, flags), 0, r, id));
    }
    case ControlKind::ComboBox:
      return std::make_unique<ComboBoxPeer>(
          host, static_cast<ComboBox&>(control),
          CreateChild(placement, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                      WindowRectOf(control.Kind(), placement), id));
    case ControlKind::ListBox: {
      HWND w = CreateChild(placement, "LISTBOX", "",
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           WS_EX_CLIENTEDGE, r, id);
      SendMessageA(w, LB_SETHORIZONTALEXTENT, ScaleForDpi(kFormatListExtent, placement.dpi), 0);
      return std::make_unique<ListBoxPeer>(host, static_cast<ListBox&>(control), w);
    }
    case ControlKind::ColorBox:
      return std::make_unique<ColorBoxPeer>(
          host, static_cast<ColorBox&>(control),
          CreateChild(placement, "COMBOBOX", "",
                      WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
                      WindowRectOf(control.Kind(), placement), id));
    case ControlKind::SpinEdit:
      return CreateSpinEdit(host, static_cast<SpinEdit&>(control), placement, id);
  }
  return nullptr;
}

void PlaceControlWindow(WindowPeer& peer, Control& control, const ChildWindowPlacement& placement) {
  const RECT r = WindowRectOf(control.Kind(), placement);
  HWND window = peer.Window();
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (placement.font) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(placement.font), TRUE);
  if (control.Kind() == ControlKind::ListBox)
    SendMessageA(window, LB_SETHORIZONTALEXTENT, ScaleForDpi(kFormatListExtent, placement.dpi), 0);
  if (control.Kind() == ControlKind::ColorBox) {
    // The box and its items were measured in the old font.
    const int itemHeight = OwnerDrawItemHeight(placement.font);
    SendMessageA(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    SendMessageA(window, CB_SETITEMHEIGHT, 0, itemHeight);
  }
  if (control.Kind() == ControlKind::SpinEdit) {
    const RECT arrows = SpinArrowsRect(placement);
    for (HWND extra : peer.ExtraWindows()) {
      SetWindowPos(extra, nullptr, arrows.left, arrows.top, arrows.right - arrows.left,
                   arrows.bottom - arrows.top, SWP_NOZORDER | SWP_NOACTIVATE);
      // Taking the edit as buddy again sets the arrows inside its right edge, as at creation.
      AttachSpinArrows(window, extra, placement.dpi);
    }
  }
}

}  // namespace zelvio
