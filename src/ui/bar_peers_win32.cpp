// Track bars, tab controls and timers.
#include "ui/control_peers_win32.h"

namespace zelvio {

// ---- Track bar ---------------------------------------------------------------------------

void TrackBarPeer::RefreshState() {
  HWND w = Window();
  // The range goes first, so the position is never clamped by a range about to change.
  if (SendMessageA(w, TBM_GETRANGEMIN, 0, 0) != bar_.Min())
    SendMessageA(w, TBM_SETRANGEMIN, FALSE, bar_.Min());
  if (SendMessageA(w, TBM_GETRANGEMAX, 0, 0) != bar_.Max())
    SendMessageA(w, TBM_SETRANGEMAX, TRUE, bar_.Max());
  if (SendMessageA(w, TBM_GETPOS, 0, 0) != bar_.Position())
    SendMessageA(w, TBM_SETPOS, TRUE, bar_.Position());
}

void TrackBarPeer::OnScroll() {
  int position = static_cast<int>(SendMessageA(Window(), TBM_GETPOS, 0, 0));
  Host().Guarded([this, position] { bar_.SetPosition(position); });
  // The bar may have settled elsewhere (a handler that moved it, or a clamp).
  Refresh(bar_);
}

// ---- Page control ------------------------------------------------------------------------

PageControlPeer::PageControlPeer(PeerHost& host, Control& pages, HWND window, bool withImages)
    : WindowPeer(host, pages, window) {
  if (withImages) SendMessageA(window, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(host.TabImages()));
  int index = 0;
  for (Control* sheet : pages.Children()) {
    if (sheet->Kind() != ControlKind::TabSheet) continue;
    shownCaptions_.push_back(sheet->Caption());
    TCITEMA item{};
    item.mask = TCIF_TEXT | (withImages ? TCIF_IMAGE : 0);
    item.pszText = shownCaptions_.back().data();
    item.iImage = index;
    SendMessageA(window, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ++index;
  }
  SendMessageA(window, TCM_SETCURSEL, 0, 0);
}

int PageControlPeer::SheetIndex(const Control& sheet) const {
  int index = 0;
  for (const Control* child : GetControl().Children()) {
    if (child->Kind() != ControlKind::TabSheet) continue;
    if (child == &sheet) return index;
    ++index;
  }
  return -1;
}

int PageControlPeer::SelectedIndex() const {
  return static_cast<int>(SendMessageA(Window(), TCM_GETCURSEL, 0, 0));
}

void PageControlPeer::RefreshState() {
  int index = 0;
  for (Control* sheet : GetControl().Children()) {
    if (sheet->Kind() != ControlKind::TabSheet) continue;
    size_t i = static_cast<size_t>(index);
    if (i < shownCaptions_.size() && shownCaptions_[i] != sheet->Caption()) {
      shownCaptions_[i] = sheet->Caption();
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = shownCaptions_[i].data();
      SendMessageA(Window(), TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    ++index;
  }
}

bool PageControlPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != Window() || header.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  Host().PagesChanged();
  result = 0;
  return true;
}

// ---- Timer -------------------------------------------------------------------------------

TimerPeer::~TimerPeer() {
  if (running_ && IsWindow(main_)) KillTimer(main_, id_);
  if (timer_.Peer() == this) timer_.AttachPeer(nullptr);
}

void TimerPeer::Refresh(Control&) {
  bool run = timer_.Enabled();
  if (run == running_ && (!run || runningInterval_ == timer_.Interval())) return;
  if (!run) {
    KillTimer(main_, id_);
    running_ = false;
    return;
  }
  // SetTimer with the same ID replaces the running timer, with the new interval.
  running_ = SetTimer(main_, id_, timer_.Interval(), nullptr) != 0;
  runningInterval_ = timer_.Interval();
}

}  // namespace zelvio
