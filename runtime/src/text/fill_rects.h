// The afx classes' one-call fills (CDC::FillSolidRect, CDC::Draw3dRect).
#pragma once

#include "win32/windef.h"

namespace text {

// CDC::FillSolidRect for count rectangles: SetBkColor(color), then what a glyph-less
// ExtTextOut(ETO_OPAQUE) does with each rectangle, with one look-up of the DC, its
// surface and its clip. False, with nothing done, for an unknown DC or one that updates
// its current position (ExtTextOut's own path handles those). On Windows always false:
// the system's calls are the path.
bool FillSolidRects(HDC hdc, const RECT* logical_rects, int count, COLORREF color);

}  // namespace text
