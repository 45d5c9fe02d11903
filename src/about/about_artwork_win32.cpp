#include "about/about_artwork_win32.h"

#include <memory>
#include <type_traits>

#include "platform/dpi_scale.h"

namespace zelvio {

namespace {

using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;

// Not a colour GDI can paint, so free to mean "hollow".
constexpr COLORREF kNoFill = CLR_INVALID;

UniquePen RoundPen(COLORREF colour, int width) {
  if (width <= 0) return nullptr;
  LOGBRUSH brush{BS_SOLID, colour, 0};
  return UniquePen(
      ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &brush, 0, nullptr));
}

HGDIOBJ OrStock(HGDIOBJ object, int stock) { return object ? object : GetStockObject(stock); }

// A fill and an outline selected into the DC while the object lives. kNoFill leaves shapes
// hollow; a width of 0 leaves them without an outline.
class Tools {
 public:
  Tools(HDC dc, COLORREF fill, COLORREF line, int lineWidth)
      : brush_(fill == kNoFill ? nullptr : CreateSolidBrush(fill)),
        pen_(RoundPen(line, lineWidth)),
        selectedBrush_(dc, OrStock(brush_.get(), NULL_BRUSH)),
        selectedPen_(dc, OrStock(pen_.get(), NULL_PEN)) {}

 private:
  UniqueBrush brush_;
  UniquePen pen_;
  SelectedObject selectedBrush_;
  SelectedObject selectedPen_;
};

// Keeps later drawing inside an ellipse until the object goes.
class EllipseClip {
 public:
  EllipseClip(HDC dc, int left, int top, int right, int bottom) : dc_(dc) {
    BeginPath(dc);
    Ellipse(dc, left, top, right, bottom);
    EndPath(dc);
    SelectClipPath(dc, RGN_AND);
  }
  ~EllipseClip() { SelectClipRgn(dc_, nullptr); }
  EllipseClip(const EllipseClip&) = delete;
  EllipseClip& operator=(const EllipseClip&) = delete;

 private:
  HDC dc_;
};

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// ---- logo: a turtle seen from above, a red record light on its shell; 160 x 160 ----

constexpr COLORREF kSkin = RGB(134, 196, 84);
constexpr COLORREF kSkinLine = RGB(52, 104, 36);
constexpr COLORREF kShell = RGB(46, 125, 50);
constexpr COLORREF kShellLine = RGB(24, 68, 28);
constexpr COLORREF kPlate = RGB(76, 160, 72);
constexpr COLORREF kPlateLine = RGB(168, 214, 128);

void PaintTurtleLimbs(HDC dc) {
  Tools skin(dc, kSkin, kSkinLine, 4);
  Ellipse(dc, 12, 40, 54, 74);
  Ellipse(dc, 106, 40, 148, 74);
  Ellipse(dc, 14, 106, 54, 138);
  Ellipse(dc, 106, 106, 146, 138);
  POINT tail[] = {{70, 134}, {90, 134}, {80, 156}};
  Polygon(dc, tail, 3);
  Ellipse(dc, 58, 2, 102, 50);
  Tools eyes(dc, RGB(20, 30, 20), kNoFill, 0);
  Ellipse(dc, 66, 14, 76, 26);
  Ellipse(dc, 84, 14, 94, 26);
}

void PaintTurtleShell(HDC dc) {
  {
    Tools shell(dc, kShell, kShellLine, 6);
    Ellipse(dc, 28, 30, 132, 148);
  }
  // Spokes from the middle plate out to the rim.
  POINT plate[] = {{104, 89}, {92, 68}, {68, 68}, {56, 89}, {68, 110}, {92, 110}};
  {
    EllipseClip inside(dc, 31, 33, 129, 145);
    Tools spokes(dc, kNoFill, kPlateLine, 4);
    for (const POINT& corner : plate) Line(dc, 80, 89, 80 + (corner.x - 80) * 4, 89 + (corner.y - 89) * 4);
  }
  Tools middle(dc, kPlate, kPlateLine, 4);
  Polygon(dc, plate, 6);
  Tools light(dc, RGB(226, 36, 36), RGB(255, 240, 240), 4);
  Ellipse(dc, 68, 77, 92, 101);
}

void PaintLogoDesign(HDC dc) {
  PaintTurtleLimbs(dc);
  PaintTurtleShell(dc);
}

// ---- glyphs, 44 x 44 ----

void PaintDisc(HDC dc, COLORREF fill, COLORREF line) {
  Tools disc(dc, fill, line, 3);
  Ellipse(dc, 3, 3, 41, 41);
}

void PaintGlobe(HDC dc) {
  PaintDisc(dc, RGB(44, 122, 214), RGB(20, 66, 140));
  EllipseClip inside(dc, 5, 5, 39, 39);
  Tools grid(dc, kNoFill, RGB(255, 255, 255), 3);
  Ellipse(dc, 13, 3, 31, 41);
  Line(dc, 22, 2, 22, 42);
  Line(dc, 2, 22, 42, 22);
  Line(dc, 2, 12, 42, 12);
  Line(dc, 2, 32, 42, 32);
}

void PaintTick(HDC dc) {
  PaintDisc(dc, RGB(40, 160, 80), RGB(18, 98, 46));
  Tools tick(dc, kNoFill, RGB(255, 255, 255), 6);
  POINT stroke[] = {{12, 23}, {19, 30}, {32, 14}};
  Polyline(dc, stroke, 3);
}

// ---- donation button, 124 x 60 ----

UniqueFont DonateFont() {
  // Not smoothed by GDI: the picture is smoothed as a whole afterwards.
  return UniqueFont(CreateFontA(-27, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, "Tahoma"));
}

void PaintDonate(HDC dc) {
  {
    Tools body(dc, RGB(255, 196, 58), RGB(196, 134, 16), 3);
    RoundRect(dc, 2, 2, 122, 58, 50, 50);
  }
  {
    Tools shine(dc, RGB(255, 222, 122), kNoFill, 0);
    RoundRect(dc, 10, 6, 114, 30, 40, 22);
  }
  UniqueFont font = DonateFont();
  SelectedObject selected(dc, font.get());
  SetTextColor(dc, RGB(84, 44, 0));
  RECT area{0, 1, 124, 60};
  DrawTextA(dc, "Donate", -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The pictures are drawings, not pixels: at a higher scale they are painted larger, as sharp
// as at 96 dpi.
Artwork PaintScaled(int width, int height, int dpi, int designWidth, int designHeight, ArtworkPainter paint) {
  return PaintArtwork(ScaleForDpi(width, dpi), ScaleForDpi(height, dpi), designWidth, designHeight, paint);
}

}  // namespace

Artwork PaintLogo(int dpi) { return PaintScaled(80, 80, dpi, 160, 160, PaintLogoDesign); }
Artwork PaintVisitGlyph(int dpi) { return PaintScaled(22, 22, dpi, 44, 44, PaintGlobe); }
Artwork PaintCheckGlyph(int dpi) { return PaintScaled(22, 22, dpi, 44, 44, PaintTick); }
Artwork PaintDonateButton(int dpi) { return PaintScaled(62, 30, dpi, 124, 60, PaintDonate); }

}  // namespace zelvio
