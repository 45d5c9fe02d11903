// Push buttons, image buttons, check boxes, radio buttons and plain captions.
#include "ui/control_peers_win32.h"

namespace zelvio {

namespace {

void SetCheck(HWND window, bool checked) {
  WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
  if (static_cast<WPARAM>(SendMessageA(window, BM_GETCHECK, 0, 0)) != state)
    SendMessageA(window, BM_SETCHECK, state, 0);
}

}  // namespace

void ButtonPeer::RefreshState() { SetWindowTextIfChanged(Window(), button_.Caption()); }

void ButtonPeer::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  Host().Guarded([this] { button_.Click(); });
}

void ImageButtonPeer::RefreshState() {
  if (shownIndex_ == image_.ImageIndex()) return;
  shownIndex_ = image_.ImageIndex();
  // The snapshot picture changes and changes back within one handler: paint it now.
  InvalidateRect(Window(), nullptr, TRUE);
  UpdateWindow(Window());
}

bool ImageButtonPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != Window() || header.code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
  const auto& draw = reinterpret_cast<const NMCUSTOMDRAW&>(header);
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYPOSTPAINT;
    return true;
  }
  if (draw.dwDrawStage != CDDS_POSTPAINT) {
    result = CDRF_DODEFAULT;
    return true;
  }
  bool enabled = (draw.uItemState & CDIS_DISABLED) == 0;
  HIMAGELIST images = Host().ButtonImages(enabled);
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(images, &width, &height);
  int pressed = (draw.uItemState & CDIS_SELECTED) ? 1 : 0;
  int x = (draw.rc.left + draw.rc.right - width) / 2 + pressed;
  int y = (draw.rc.top + draw.rc.bottom - height) / 2 + pressed;
  ImageList_Draw(images, image_.ImageIndex(), draw.hdc, x, y, ILD_TRANSPARENT);
  result = CDRF_DODEFAULT;
  return true;
}

void CheckBoxPeer::RefreshState() {
  SetWindowTextIfChanged(Window(), box_.Caption());
  SetCheck(Window(), box_.Checked());
}

void CheckBoxPeer::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  Host().Guarded([this] { box_.Click(); });
  // A handler that failed half-way may leave the box as it was: show what it holds.
  Refresh(box_);
}

void RadioButtonPeer::RefreshState() {
  SetWindowTextIfChanged(Window(), radio_.Caption());
  SetCheck(Window(), radio_.Checked());
}

void RadioButtonPeer::OnCommand(int code) {
  if (code != BN_CLICKED) return;
  Host().Guarded([this] { radio_.Click(); });
  Refresh(radio_);
}

void CaptionPeer::RefreshState() { SetWindowTextIfChanged(Window(), GetControl().Caption()); }

HBRUSH CaptionPeer::OnControlColour(HDC dc) {
  if (textColour_ != CLR_INVALID) SetTextColor(dc, textColour_);
  return WindowPeer::OnControlColour(dc);
}

}  // namespace zelvio
