// The about window's own pictures: the turtle logo, the two button glyphs and the donation
// button, all painted when the window is built, at the size its dots per inch ask for (the
// sizes below are those at 96 dpi).
#pragma once

#include "about/artwork_win32.h"

namespace zelvio {

Artwork PaintLogo(int dpi);          // 80 x 80
Artwork PaintVisitGlyph(int dpi);    // 22 x 22, a globe
Artwork PaintCheckGlyph(int dpi);    // 22 x 22, a tick in a green disc
Artwork PaintDonateButton(int dpi);  // 62 x 30, a rounded yellow button saying "Donate"

}  // namespace zelvio
