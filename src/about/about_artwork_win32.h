// The about window's own pictures: the turtle logo, the two button glyphs and the donation
// button, all painted at start-up.
#pragma once

#include "about/artwork_win32.h"

namespace zelvio {

Artwork PaintLogo();          // 80 x 80
Artwork PaintVisitGlyph();    // 22 x 22, a globe
Artwork PaintCheckGlyph();    // 22 x 22, a tick in a green disc
Artwork PaintDonateButton();  // 62 x 30, a rounded yellow button saying "Donate"

}  // namespace zelvio
