// Drawing for the about window's owner-drawn controls, answering WM_DRAWITEM.
#pragma once

#include <windows.h>

#include "about/artwork_win32.h"

namespace zelvio {

// A picture on the window's face colour: at the top left, or centred in the control.
void DrawPictureItem(const DRAWITEMSTRUCT& item, const Artwork* picture, bool centred);

// A push button with a glyph and its caption side by side, centred together; the gaps grow
// with the window's dots per inch.
void DrawGlyphButtonItem(const DRAWITEMSTRUCT& item, const Artwork* glyph, int dpi);

}  // namespace zelvio
