// Rectangles, lines and single pixels.
//
// Index
//   1. Surface fills (FillSurfaceRect, ROP2 fills, RepeatFirstRow)
//   2. USER rectangle painting: FillRect, FrameRect, DrawFocusRect, DrawEdge
//   3. Lines: MoveToEx, LineTo, Polyline
//   4. Rectangle
//   5. Pixels
//
// Pens are solid whatever their style (dashes draw solid); a pen wider than one pixel
// stamps a width x width square on every pixel of the line, and Rectangle draws wide
// pens inside the rectangle, as PS_INSIDEFRAME does.
#include <algorithm>
#include <cstdlib>

#include "gdi_private.h"

namespace gdi {
namespace {

// Binary raster operation: bit (P << 1 | D) of (rop2 - 1) is the result.
uint32_t Rop2(int rop2, uint32_t p, uint32_t d) {
    switch (rop2) {
        case R2_COPYPEN:
            return p;
        case R2_XORPEN:
            return (p ^ d) & 0xFFFFFF;
        case R2_NOT:
            return ~d & 0xFFFFFF;
        case R2_BLACK:
            return 0;
        case R2_WHITE:
            return 0xFFFFFF;
        default: {
            const int code = rop2 - 1;
            uint32_t r = 0;
            for (int i = 0; i < 4; ++i)
                if ((code >> i) & 1) r |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
            return r & 0xFFFFFF;
        }
    }
}

// Fills an already clipped surface rectangle through the DC's ROP2. A plain fill sets
// the first row and repeats it.
void FillRop2(Bitmap* bmp, const RECT& rc, uint32_t pixel, int rop2) {
    if (rop2 == R2_COPYPEN) {
        uint32_t* first = bmp->Row(rc.top) + rc.left;
        FillPixels(first, size_t(rc.right - rc.left), pixel);
        RepeatFirstRow(reinterpret_cast<uint8_t*>(first), bmp->stride, size_t(rc.right - rc.left) * 4,
                       rc.bottom - rc.top);
        return;
    }
    for (int y = rc.top; y < rc.bottom; ++y) {
        uint32_t* row = bmp->Row(y);
        for (int x = rc.left; x < rc.right; ++x) row[x] = Rop2(rop2, pixel, row[x]);
    }
}

// Clips a surface rectangle (not normalised) and fills it.
void FillClipped(DC* dc, const Rect64& surface_rect, uint32_t pixel, int rop2) {
    Bitmap* bmp = dc->Surface();
    RECT rc;
    if (bmp && ClipRect64(surface_rect, EffectiveClip(dc), &rc)) FillRop2(bmp, rc, pixel, rop2);
}

}  // namespace

void RepeatFirstRow(uint8_t* first, ptrdiff_t stride, size_t rowBytes, int rows) {
    if (stride == ptrdiff_t(rowBytes)) {
        const size_t total = rowBytes * size_t(rows);
        for (size_t done = rowBytes; done < total;) {
            const size_t k = std::min(done, total - done);
            memcpy(first + done, first, k);
            done += k;
        }
        return;
    }
    if (rowBytes >= 16 && rowBytes <= 64) {
        // The row stays in four 16-byte pieces (overlapping when shorter): four stores a row.
        struct Piece {
            uint64_t lo, hi;
        };
        const size_t o1 = std::min<size_t>(16, rowBytes - 16), o2 = std::min<size_t>(32, rowBytes - 16);
        const size_t o3 = rowBytes - 16;
        Piece p0, p1, p2, p3;
        memcpy(&p0, first, 16);
        memcpy(&p1, first + o1, 16);
        memcpy(&p2, first + o2, 16);
        memcpy(&p3, first + o3, 16);
        uint8_t* row = first;
        for (int i = 1; i < rows; ++i) {
            row += stride;
            memcpy(row, &p0, 16);
            memcpy(row + o1, &p1, 16);
            memcpy(row + o2, &p2, 16);
            memcpy(row + o3, &p3, 16);
        }
        return;
    }
    for (int i = 1; i < rows; ++i) CopyRow(first + i * stride, first, rowBytes);
}

void FillSurfaceRect(DC* dc, RECT surface_rect, uint32_t pixel) {
    Bitmap* bmp = dc ? dc->Surface() : nullptr;
    if (!bmp) return;
    if (bmp->IsMono()) pixel = MonoPixel(pixel);
    FillClipped(dc, Rect64{surface_rect.left, surface_rect.top, surface_rect.right, surface_rect.bottom},
                pixel & 0xFFFFFF, R2_COPYPEN);
}

}  // namespace gdi

using namespace gdi;

// ---- 2. USER rectangle painting ---------------------------------------------------------------
int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DC* dc = Get<DC>(hDC);
    COLORREF c;
    if (!dc || !lprc || !dc->Surface() || !BrushColor(hbr, dc, &c)) return 0;
    // A PatBlt of the rectangle's width and height: one drawn right to left or bottom to top
    // is not normalised but covers the pixels a negative size gives.
    const Rect64 r = PatBltRect(LogicalToSurface64(dc, lprc->left, lprc->top), int64_t(lprc->right) - lprc->left,
                                int64_t(lprc->bottom) - lprc->top);
    FillClipped(dc, r, SurfacePixel(dc->Surface(), c), R2_COPYPEN);
    return 1;
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DC* dc = Get<DC>(hDC);
    COLORREF c;
    if (!dc || !lprc || !dc->Surface() || !BrushColor(hbr, dc, &c)) return 0;
    const Rect64 r = LogicalRectToSurface(dc, *lprc);
    if (r.left >= r.right || r.top >= r.bottom) return 0;  // an empty frame fails
    const uint32_t pixel = SurfacePixel(dc->Surface(), c);
    FillClipped(dc, Rect64{r.left, r.top, r.right, r.top + 1}, pixel, R2_COPYPEN);
    FillClipped(dc, Rect64{r.left, r.bottom - 1, r.right, r.bottom}, pixel, R2_COPYPEN);
    FillClipped(dc, Rect64{r.left, r.top + 1, r.left + 1, r.bottom - 1}, pixel, R2_COPYPEN);
    FillClipped(dc, Rect64{r.right - 1, r.top + 1, r.right, r.bottom - 1}, pixel, R2_COPYPEN);
    return 1;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc) {
    DC* dc = Get<DC>(hDC);
    Bitmap* bmp = dc ? dc->Surface() : nullptr;
    if (!bmp || !lprc) return FALSE;
    const Rect64 r = LogicalRectToSurface(dc, *lprc);
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    const RECT clip = EffectiveClip(dc);
    const uint64_t parity = uint64_t(r.right - 1 + r.top) & 1;
    auto invertRun = [&](int64_t y, int64_t x0, int64_t x1) {  // outline pixels of row y in [x0, x1)
        if (y < clip.top || y >= clip.bottom) return;
        x0 = std::max<int64_t>(x0, clip.left);
        x1 = std::min<int64_t>(x1, clip.right);
        uint32_t* row = bmp->Row(int(y));
        for (int64_t x = x0; x < x1; ++x)
            if ((uint64_t(x + y) & 1) == parity) row[x] ^= 0xFFFFFF;
    };
    // The dots are every other pixel of a walk round the outline from the top-right corner.
    // A rectangle one pixel wide or high walks its line there and back, so every dot but the
    // two ends is inverted twice: the start stays, the far end when the line is odd-long.
    // A single pixel is a walk of no length: nothing.
    const int64_t length = std::max(r.right - r.left, r.bottom - r.top);
    if (length == 1) return TRUE;
    if (r.right - r.left == 1 || r.bottom - r.top == 1) {
        invertRun(r.top, r.right - 1, r.right);
        const int64_t farX = r.left, farY = r.bottom - 1;
        if (length > 1 && length % 2 == 1 && farX >= clip.left && farX < clip.right && farY >= clip.top &&
            farY < clip.bottom)
            bmp->Row(int(farY))[farX] ^= 0xFFFFFF;
        return TRUE;
    }
    invertRun(r.top, r.left, r.right);
    invertRun(r.bottom - 1, r.left, r.right);
    const int64_t y0 = std::max<int64_t>(r.top + 1, clip.top), y1 = std::min<int64_t>(r.bottom - 1, clip.bottom);
    for (int64_t y = y0; y < y1; ++y) {
        invertRun(y, r.left, r.left + 1);
        invertRun(y, r.right - 1, r.right);
    }
    return TRUE;
}

namespace {

// One ring of DrawEdge: top and left in tl, right and bottom in br (so the top-right and
// bottom-left corners are br); then the ring's sides are taken off rc.
void EdgeRing(DC* dc, Rect64& rc, UINT flags, COLORREF tl, COLORREF br) {
    Bitmap* bmp = dc->Surface();
    const uint32_t ptl = SurfacePixel(bmp, tl), pbr = SurfacePixel(bmp, br);
    if (flags & BF_TOP) FillClipped(dc, Rect64{rc.left, rc.top, rc.right - 1, rc.top + 1}, ptl, R2_COPYPEN);
    if (flags & BF_LEFT) FillClipped(dc, Rect64{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, ptl, R2_COPYPEN);
    if (flags & BF_RIGHT) FillClipped(dc, Rect64{rc.right - 1, rc.top, rc.right, rc.bottom}, pbr, R2_COPYPEN);
    if (flags & BF_BOTTOM) FillClipped(dc, Rect64{rc.left, rc.bottom - 1, rc.right, rc.bottom}, pbr, R2_COPYPEN);
    if (flags & BF_LEFT) rc.left++;
    if (flags & BF_TOP) rc.top++;
    if (flags & BF_RIGHT) rc.right--;
    if (flags & BF_BOTTOM) rc.bottom--;
}

}  // namespace

// The classic 3D rings on the sides in grfFlags. BF_MIDDLE, BF_ADJUST, BF_FLAT and BF_MONO,
// which nothing here asks for, are not declared, so no caller can pass them.
BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
    DC* dc = Get<DC>(hdc);
    if (!dc || !qrc || !dc->Surface()) return FALSE;
    Rect64 rc = LogicalRectToSurface(dc, *qrc);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT), hilight = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (edge & BDR_RAISEDOUTER)
        EdgeRing(dc, rc, grfFlags, light, dark);
    else if (edge & BDR_SUNKENOUTER)
        EdgeRing(dc, rc, grfFlags, shadow, hilight);
    if (edge & BDR_RAISEDINNER)
        EdgeRing(dc, rc, grfFlags, hilight, shadow);
    else if (edge & BDR_SUNKENINNER)
        EdgeRing(dc, rc, grfFlags, dark, light);
    return TRUE;
}

// ---- 3. Lines ------------------------------------------------------------------------------------
namespace gdi {
namespace {

__extension__ typedef __int128 Int128;  // products of two 33-bit line lengths

struct LinePen {
    Bitmap* bmp;
    RECT clip;
    uint32_t pixel;
    int rop2, width;
};

void Plot(const LinePen& pen, int64_t x, int64_t y) {
    if (pen.width == 1) {
        if (x < pen.clip.left || x >= pen.clip.right || y < pen.clip.top || y >= pen.clip.bottom) return;
        uint32_t* px = pen.bmp->Row(int(y)) + x;
        *px = Rop2(pen.rop2, pen.pixel, *px);
        return;
    }
    const int64_t x0 = x - pen.width / 2, y0 = y - pen.width / 2;
    RECT rc;
    if (ClipRect64(Rect64{x0, y0, x0 + pen.width, y0 + pen.width}, pen.clip, &rc))
        FillRop2(pen.bmp, rc, pen.pixel, pen.rop2);
}

// First i in [lo, hi) with pred(i) true, for a predicate that is false then true.
template <class Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (pred(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Draws from a up to but not including b (surface coordinates). Bresenham along the major
// axis; a tie between two minor positions goes to the smaller coordinate, which makes a line
// and its reverse pick the same pixels. Only the steps inside the clip are walked.
void DrawLine(const LinePen& pen, Point64 a, Point64 b) {
    const bool xMajor = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    const int64_t maj0 = xMajor ? a.x : a.y, min0 = xMajor ? a.y : a.x;
    const int64_t dMaj = xMajor ? b.x - a.x : b.y - a.y, dMin = xMajor ? b.y - a.y : b.x - a.x;
    const int64_t major = std::abs(dMaj), minor = std::abs(dMin);
    if (major == 0) return;
    const int64_t sMaj = dMaj > 0 ? 1 : -1, sMin = dMin >= 0 ? 1 : -1;
    const int64_t bias = sMin < 0 ? 1 : 0;  // step on a tie only when stepping lowers the coordinate
    // Minor steps taken after i major steps: round(i * minor / major), ties as above.
    auto steps = [&](int64_t i) { return int64_t((Int128(2) * i * minor + major - 1 + bias) / (Int128(2) * major)); };
    auto majorAt = [&](int64_t i) { return maj0 + sMaj * i; };
    auto minorAt = [&](int64_t i) { return min0 + sMin * steps(i); };

    const int64_t pad = pen.width / 2 + 1;  // wide pens reach past the clip by half their width
    const int64_t majLo = (xMajor ? pen.clip.left : pen.clip.top) - pad;
    const int64_t majHi = (xMajor ? pen.clip.right : pen.clip.bottom) + pad;
    const int64_t minLo = (xMajor ? pen.clip.top : pen.clip.left) - pad;
    const int64_t minHi = (xMajor ? pen.clip.bottom : pen.clip.right) + pad;
    int64_t i0 = sMaj > 0 ? majLo - maj0 : maj0 - majHi + 1;
    int64_t i1 = sMaj > 0 ? majHi - maj0 : maj0 - majLo + 1;
    i0 = std::max<int64_t>(i0, 0);
    i1 = std::min<int64_t>(i1, major);
    if (i0 >= i1) return;
    // The minor coordinate is monotonic in i: trim the steps before and after the clip band.
    if (sMin > 0) {
        i0 = FirstTrue(i0, i1, [&](int64_t i) { return minorAt(i) >= minLo; });
        i1 = FirstTrue(i0, i1, [&](int64_t i) { return minorAt(i) >= minHi; });
    } else {
        i0 = FirstTrue(i0, i1, [&](int64_t i) { return minorAt(i) < minHi; });
        i1 = FirstTrue(i0, i1, [&](int64_t i) { return minorAt(i) < minLo; });
    }
    if (i0 >= i1) return;

    int64_t k = steps(i0);
    int64_t err = int64_t(Int128(2) * minor * (i0 + 1) - major - Int128(2) * k * major);
    int64_t mn = min0 + sMin * k;
    for (int64_t i = i0; i < i1; ++i) {
        const int64_t mj = majorAt(i);
        xMajor ? Plot(pen, mj, mn) : Plot(pen, mn, mj);
        if (err + bias > 0) {
            mn += sMin;
            err -= 2 * major;
        }
        err += 2 * minor;
    }
}

bool MakeLinePen(DC* dc, LinePen* pen) {
    COLORREF c;
    int width;
    pen->bmp = dc->Surface();
    if (!pen->bmp || !PenColor(dc, &c, &width)) return false;
    pen->clip = EffectiveClip(dc);
    pen->pixel = SurfacePixel(pen->bmp, c);
    pen->rop2 = dc->s.rop2;
    pen->width = width;
    return true;
}

}  // namespace
}  // namespace gdi

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->s.curPos;
    dc->s.curPos = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return FALSE;
    LinePen pen;
    if (MakeLinePen(dc, &pen))
        DrawLine(pen, LogicalToSurface64(dc, dc->s.curPos.x, dc->s.curPos.y), LogicalToSurface64(dc, x, y));
    dc->s.curPos = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt) {
    DC* dc = Get<DC>(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    LinePen pen;
    if (!MakeLinePen(dc, &pen)) return TRUE;
    for (int i = 1; i < cpt; ++i)
        DrawLine(pen, LogicalToSurface64(dc, apt[i - 1].x, apt[i - 1].y), LogicalToSurface64(dc, apt[i].x, apt[i].y));
    return TRUE;
}

// ---- 4. Rectangle -----------------------------------------------------------------------------------
// The outline covers [left, right) x [top, bottom); the brush fills inside it. Without a
// pen the filled area is one pixel smaller to the right and bottom, as on Windows.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = Get<DC>(hdc);
    Bitmap* bmp = dc ? dc->Surface() : nullptr;
    if (!bmp) return FALSE;
    const Rect64 r = LogicalRectToSurface(
        dc, RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    COLORREF penColor, brushColor;
    int w = 0;
    const bool hasPen = PenColor(dc, &penColor, &w);
    Rect64 inside = hasPen ? Rect64{r.left + w, r.top + w, r.right - w, r.bottom - w}
                           : Rect64{r.left, r.top, r.right - 1, r.bottom - 1};
    if (BrushColor(dc->s.brush, dc, &brushColor)) FillClipped(dc, inside, SurfacePixel(bmp, brushColor), dc->s.rop2);
    if (hasPen && r.left < r.right && r.top < r.bottom) {
        const uint32_t p = SurfacePixel(bmp, penColor);
        const int64_t wx = std::min<int64_t>(w, r.right - r.left), wy = std::min<int64_t>(w, r.bottom - r.top);
        FillClipped(dc, Rect64{r.left, r.top, r.right, r.top + wy}, p, dc->s.rop2);
        FillClipped(dc, Rect64{r.left, std::max(r.top + wy, r.bottom - wy), r.right, r.bottom}, p, dc->s.rop2);
        FillClipped(dc, Rect64{r.left, r.top + wy, r.left + wx, r.bottom - wy}, p, dc->s.rop2);
        FillClipped(dc, Rect64{std::max(r.left + wx, r.right - wx), r.top + wy, r.right, r.bottom - wy}, p, dc->s.rop2);
    }
    return TRUE;
}

// ---- 5. Pixels ---------------------------------------------------------------------------------------
namespace {

uint32_t* PixelAt(DC* dc, int x, int y) {
    Bitmap* bmp = dc ? dc->Surface() : nullptr;
    if (!bmp) return nullptr;
    const RECT clip = EffectiveClip(dc);
    const Point64 p = LogicalToSurface64(dc, x, y);
    if (p.x < clip.left || p.x >= clip.right || p.y < clip.top || p.y >= clip.bottom) return nullptr;
    return bmp->Row(int(p.y)) + p.x;
}

}  // namespace

COLORREF GetPixel(HDC hdc, int x, int y) {
    const uint32_t* px = PixelAt(Get<DC>(hdc), x, y);
    return px ? ToColorRef(*px) : CLR_INVALID;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DC* dc = Get<DC>(hdc);
    uint32_t* px = PixelAt(dc, x, y);
    if (!px) return CLR_INVALID;
    *px = SurfacePixel(dc->Surface(), color);
    return ToColorRef(*px);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}
