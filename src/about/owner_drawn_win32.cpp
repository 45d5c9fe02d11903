#include "about/owner_drawn_win32.h"

#include "platform/dpi_scale.h"
#include "common/win32/handles.h"

namespace zelvio {

namespace {
// At 96 dpi: room between a button's glyph and its caption, and between the button's edge
// and its focus rectangle.
constexpr int kGlyphGap = 4;
constexpr int kFocusInset = 4;
}  // namespace

void DrawPictureItem(const DRAWITEMSTRUCT& item, const Artwork* picture, bool centred) {
  const RECT& area = item.rcItem;
  FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
  if (!picture) return;
  int x = area.left;
  int y = area.top;
  if (centred) {
    x += (area.right - area.left - picture->Width()) / 2;
    y += (area.bottom - area.top - picture->Height()) / 2;
  }
  picture->Draw(item.hDC, x, y);
}

void DrawGlyphButtonItem(const DRAWITEMSTRUCT& item, const Artwork* glyph, int dpi) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  char caption[64] = "";
  int length = GetWindowTextA(item.hwndItem, caption, sizeof(caption));
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
  SelectedObject selected(dc, font);
  SIZE text{0, 0};
  GetTextExtentPoint32A(dc, caption, length, &text);
  int glyphWidth = glyph ? glyph->Width() + ScaleForDpi(kGlyphGap, dpi) : 0;
  int shift = pushed ? 1 : 0;
  int x = (area.left + area.right - glyphWidth - text.cx) / 2 + shift;
  int middle = (area.top + area.bottom) / 2 + shift;
  if (glyph) glyph->Draw(dc, x, middle - glyph->Height() / 2);
  SetBkMode(dc, TRANSPARENT);
  bool enabled = (item.itemState & ODS_DISABLED) == 0;
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  TextOutA(dc, x + glyphWidth, middle - text.cy / 2, caption, length);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    const int inset = ScaleForDpi(kFocusInset, dpi);
    InflateRect(&area, -inset, -inset);
    DrawFocusRect(dc, &area);
  }
}

}  // namespace zelvio
