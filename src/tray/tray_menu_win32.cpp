#include "tray/tray_menu_win32.h"

#include <array>
#include <utility>

#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "common/win32/handles.h"

namespace zelvio {

namespace {

struct TrayItem {
  UINT id;
  const char* caption;
};

const std::array<TrayItem, 7> kItems = {{
    {kTrayRestore, "Restore"},
    {kTrayRecord, "Record"},
    {kTrayPause, "Pause"},
    {kTrayStop, "Stop"},
    {kTraySnapshot, "Snapshot"},
    {kTrayToggleBg, "Toggle Bg"},
    {kTrayExit, "Exit"},
}};

// The menu pictures, 16 x 16 at 96 dpi, drawn with GDI in the menu's own colours.
constexpr int kPictureSize = 16;

void DrawItemPicture(HDC dc, UINT id) {
  RECT all{0, 0, kPictureSize, kPictureSize};
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  SelectedObject brush(dc, GetStockObject(DC_BRUSH));
  SelectedObject pen(dc, GetStockObject(NULL_PEN));
  switch (id) {
    case kTrayRestore:
      SetDCBrushColor(dc, RGB(40, 90, 170));
      Rectangle(dc, 2, 3, 15, 14);
      SetDCBrushColor(dc, RGB(255, 255, 255));
      Rectangle(dc, 4, 6, 13, 12);
      break;
    case kTrayRecord:
      SetDCBrushColor(dc, RGB(220, 30, 30));
      Ellipse(dc, 2, 2, 15, 15);
      break;
    case kTrayPause:
      SetDCBrushColor(dc, RGB(60, 60, 60));
      Rectangle(dc, 3, 2, 7, 15);
      Rectangle(dc, 10, 2, 14, 15);
      break;
    case kTrayStop:
      SetDCBrushColor(dc, RGB(60, 60, 60));
      Rectangle(dc, 3, 3, 14, 14);
      break;
    case kTraySnapshot:
      SetDCBrushColor(dc, RGB(70, 70, 90));
      Rectangle(dc, 1, 5, 16, 15);
      Rectangle(dc, 5, 3, 11, 6);
      SetDCBrushColor(dc, RGB(160, 200, 240));
      Ellipse(dc, 5, 7, 12, 14);
      break;
    case kTrayToggleBg:
      SetDCBrushColor(dc, RGB(40, 60, 200));
      Rectangle(dc, 1, 1, 16, 16);
      SetDCBrushColor(dc, RGB(255, 255, 255));
      Rectangle(dc, 5, 5, 12, 12);
      break;
    case kTrayExit:
      SetDCBrushColor(dc, RGB(200, 40, 40));
      Rectangle(dc, 2, 7, 15, 10);
      SetDCBrushColor(dc, RGB(200, 40, 40));
      Rectangle(dc, 7, 2, 10, 15);
      break;
    default:
      break;
  }
}

// On a scaled display the same drawing is made larger through the DC's world transform.
// At 96 dpi the DC keeps its plain mode, whose rectangles leave out their right and bottom
// edges, so the pictures stay exactly as they were designed.
void ScaleDrawing(HDC dc, int size) {
  if (size == kPictureSize) return;
  SetGraphicsMode(dc, GM_ADVANCED);
  const FLOAT factor = static_cast<FLOAT>(size) / kPictureSize;
  XFORM scale{factor, 0, 0, factor, 0, 0};
  SetWorldTransform(dc, &scale);
}

// Pictures live for the whole run, or until the scale changes: the menu is rebuilt at every
// opening, its pictures not.
HBITMAP ItemPicture(UINT id, int dpi) {
  static std::array<UniqueBitmap, kItems.size()> pictures{};
  static int picturesDpi = 0;
  size_t index = id - kTrayRestore;
  if (index >= pictures.size()) return nullptr;
  if (picturesDpi != dpi) {
    for (UniqueBitmap& picture : pictures) picture.reset();
    picturesDpi = dpi;
  }
  if (pictures[index]) return pictures[index].get();
  const int size = ScaleForDpi(kPictureSize, dpi);
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), size, size));
  {
    SelectedObject selected(dc.get(), bitmap.get());
    ScaleDrawing(dc.get(), size);
    DrawItemPicture(dc.get(), id);
  }
  pictures[index] = std::move(bitmap);
  return pictures[index].get();
}

}  // namespace

void ShowTrayMenu(HWND owner, const TrayRecordingItems& recording) {
  // Built afresh at every opening, so the items show the recording state of this moment.
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  for (const TrayItem& item : kItems) {
    UINT flags = MF_STRING;
    if ((item.id == kTrayRecord && !recording.record) || (item.id == kTrayPause && !recording.pause) ||
        (item.id == kTrayStop && !recording.stop)) {
      flags |= MF_GRAYED;
    }
    AppendMenuA(menu.get(), flags, item.id, item.caption);
    HBITMAP picture = ItemPicture(item.id, WindowDpi(owner));
    SetMenuItemBitmaps(menu.get(), item.id, MF_BYCOMMAND, picture, picture);
  }
  POINT at{};
  GetCursorPos(&at);
  TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
}

}  // namespace zelvio
