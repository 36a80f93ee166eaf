// The afx classes' one-call fills on Windows: none; CDC makes the system's calls.
#include "text/fill_rects.h"

namespace text {

bool FillSolidRects(HDC, const RECT*, int, COLORREF) {
    return false;
}

}  // namespace text
