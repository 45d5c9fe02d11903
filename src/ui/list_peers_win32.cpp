// Drop-down lists, the list box and the colour list.
#include "ui/control_peers_win32.h"

#include "platform/dpi_scale.h"
#include "common/win32/handles.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

namespace {

void FillComboItems(HWND window, const std::vector<std::string>& items) {
  SendMessageA(window, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void SelectComboItem(HWND window, int index) {
  if (SendMessageA(window, CB_GETCURSEL, 0, 0) != index)
    SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace

// ---- Drop-down list ----------------------------------------------------------------------

void ComboBoxPeer::RefreshState() {
  // Refilling closes an open list and loses the user's place in it, so only real changes do.
  if (shownItems_ != box_.Items()) {
    shownItems_ = box_.Items();
    FillComboItems(Window(), shownItems_);
  }
  SelectComboItem(Window(), box_.ItemIndex());
}

void ComboBoxPeer::OnCommand(int code) {
  if (code != CBN_SELCHANGE) return;
  int index = static_cast<int>(SendMessageA(Window(), CB_GETCURSEL, 0, 0));
  Host().Guarded([this, index] { box_.UserSelect(index); });
  Refresh(box_);
}

// ---- List box ----------------------------------------------------------------------------

void ListBoxPeer::RefreshState() {
  HWND w = Window();
  if (shownItems_ != box_.Items()) {
    shownItems_ = box_.Items();
    SendMessageA(w, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : shownItems_)
      SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  }
  if (SendMessageA(w, LB_GETCURSEL, 0, 0) != box_.ItemIndex()) {
    SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(box_.ItemIndex()), 0);
  }
}

void ListBoxPeer::OnCommand(int code) {
  if (code != LBN_SELCHANGE) return;
  int index = static_cast<int>(SendMessageA(Window(), LB_GETCURSEL, 0, 0));
  Host().Guarded([this, index] { box_.UserSelect(index); });
  Refresh(box_);
}

// ---- Colour list -------------------------------------------------------------------------

ColorBoxPeer::ColorBoxPeer(PeerHost& host, ColorBox& box, HWND window)
    : WindowPeer(host, box, window), box_(box) {
  std::vector<std::string> names;
  for (const ColorBox::Entry& entry : box_.Entries()) names.push_back(entry.name);
  FillComboItems(window, names);
}

void ColorBoxPeer::RefreshState() {
  std::vector<uint32_t> colours;
  for (const ColorBox::Entry& entry : box_.Entries()) colours.push_back(entry.colour);
  if (colours != shownColours_) {
    shownColours_ = colours;
    InvalidateRect(Window(), nullptr, TRUE);
  }
  SelectComboItem(Window(), box_.ItemIndex());
}

void ColorBoxPeer::OnCommand(int code) {
  if (code != CBN_SELCHANGE) return;
  int index = static_cast<int>(SendMessageA(Window(), CB_GETCURSEL, 0, 0));
  if (index == 0) {
    // The colour dialog waits until the drop-down has finished closing.
    PostMessageA(Host().MainWindow(), kMessageDeferredPeerAction, static_cast<WPARAM>(GetDlgCtrlID(Window())),
                 0);
    return;
  }
  Host().Guarded([this, index] { box_.UserSelect(index); });
  Refresh(box_);
}

void ColorBoxPeer::OnDeferred() {
  if (SendMessageA(Window(), CB_GETCURSEL, 0, 0) != 0) return;
  uint32_t colour = box_.Entries().front().colour;
  if (Host().ChooseColour(colour)) {
    Host().Guarded([this, colour] { box_.UserSelectCustom(colour); });
  }
  // Cancelled: the list shows the entry it had before.
  Refresh(box_);
}

bool ColorBoxPeer::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != Window()) return false;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const auto& entries = box_.Entries();
  if (item.itemID >= entries.size()) return true;  // an empty list: nothing to draw
  const ColorBox::Entry& entry = entries[item.itemID];

  const int dpi = Host().Dpi();
  const int margin = ScaleForDpi(2, dpi);
  RECT swatch{r.left + margin, r.top + margin, r.left + ScaleForDpi(24, dpi), r.bottom - margin};
  UniqueBrush fill(CreateSolidBrush(entry.colour));
  FillRect(dc, &swatch, fill.get());
  FrameRect(dc, &swatch, GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));

  RECT text{swatch.right + ScaleForDpi(4, dpi), r.top, r.right - margin, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc,
               GetSysColor(disabled ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)));
  DrawTextA(dc, entry.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &r);
  return true;
}

}  // namespace zelvio
