// Live GDI object counts, for tests and hosts that prove a paint leaks nothing.
#include "gdi_private.h"
#include "win32/runtime_ext.h"

namespace rt {

int GdiObjectCount(DWORD objType) {
    using gdi::Kind;
    switch (objType) {
        case OBJ_DC:
        case OBJ_MEMDC: return gdi::LiveCount(Kind::DC);
        case OBJ_BITMAP: return gdi::LiveCount(Kind::Bitmap);
        case OBJ_PEN: return gdi::LiveCount(Kind::Pen);
        case OBJ_BRUSH: return gdi::LiveCount(Kind::Brush);
        case OBJ_FONT: return gdi::LiveCount(Kind::Font);
        case OBJ_REGION: return gdi::LiveCount(Kind::Region);
        default: return 0;
    }
}

int GdiObjectTotal() {
    int n = 0;
    for (int k = 1; k < int(gdi::Kind::Count); ++k) n += gdi::LiveCount(gdi::Kind(k));
    return n;
}

}  // namespace rt
