// Putting glyph runs on a surface: alignment, background fills, coverage blending,
// decorations, and the ExtTextOutW/TextOutW entry points built on it.
//
// Index
//   1. Surface helpers   clamped mapping, clipped fills, pixel blending
//   2. DrawRun           one line of glyphs
//   3. Entry points      ExtTextOutW, TextOutW
#include <algorithm>
#include <cstring>

#include "text_private.h"

namespace text {
namespace {

// ---- 1. Surface helpers -------------------------------------------------------------------
// Logical coordinates this far out are off every surface; clamping keeps the mapping
// arithmetic from overflowing whatever the caller passes.
constexpr int64_t kCoordLimit = int64_t(1) << 28;
int ClampCoord(int64_t v) {
    return int(std::clamp<int64_t>(v, -kCoordLimit, kCoordLimit));
}

struct SurfaceRect64 {
    int64_t left, top, right, bottom;
};

// Intersects a 64-bit surface rectangle with a clip; false when nothing is left.
bool ClipTo(const SurfaceRect64& r, const RECT& clip, RECT* out) {
    const int64_t l = std::max<int64_t>(r.left, clip.left), t = std::max<int64_t>(r.top, clip.top);
    const int64_t rr = std::min<int64_t>(r.right, clip.right), b = std::min<int64_t>(r.bottom, clip.bottom);
    if (l >= rr || t >= b) return false;
    *out = RECT{LONG(l), LONG(t), LONG(rr), LONG(b)};
    return true;
}

// The part of the surface this DC may touch, also bounded by the surface itself.
bool BaseClip(gdi::DC* dc, gdi::Bitmap* bmp, RECT* out) {
    RECT clip = gdi::EffectiveClip(dc);
    const RECT bounds{0, 0, bmp->width, bmp->height};
    return gdi::ClipRect(clip, bounds) && (*out = clip, true);
}

SurfaceRect64 LogicalRectToSurface(gdi::DC* dc, const RECT& logical_rect) {
    const POINT a = gdi::LogicalToSurface(dc, ClampCoord(logical_rect.left), ClampCoord(logical_rect.top));
    const POINT b = gdi::LogicalToSurface(dc, ClampCoord(logical_rect.right), ClampCoord(logical_rect.bottom));
    return SurfaceRect64{std::min<int64_t>(a.x, b.x), std::min<int64_t>(a.y, b.y), std::max<int64_t>(a.x, b.x),
                         std::max<int64_t>(a.y, b.y)};
}

// Monochrome surfaces hold only black and white: a colour becomes whichever is nearer.
inline uint32_t ToMono(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 77 + g * 150 + b * 29) >= 128u * 256u ? 0xFFFFFFu : 0u;
}

// Four pixels per store: a 16-byte memcpy becomes one unaligned vector store.
void FillRow(uint32_t* row, LONG count, uint32_t pixel) {
    const uint32_t quad[4] = {pixel, pixel, pixel, pixel};
    LONG i = 0;
    for (; i + 4 <= count; i += 4) std::memcpy(row + i, quad, sizeof quad);
    for (; i < count; ++i) row[i] = pixel;
}

// The first row is filled, the others are copies of it.
void FillSurface(gdi::Bitmap* bmp, const RECT& surface_rect, uint32_t pixel) {
    if (bmp->IsMono()) pixel = ToMono(pixel);
    const LONG width = surface_rect.right - surface_rect.left;
    if (width <= 0 || surface_rect.bottom <= surface_rect.top) return;
    const uint32_t* first = bmp->Row(surface_rect.top) + surface_rect.left;
    FillRow(bmp->Row(surface_rect.top) + surface_rect.left, width, pixel);
    for (LONG y = surface_rect.top + 1; y < surface_rect.bottom; ++y)
        std::memcpy(bmp->Row(y) + surface_rect.left, first, size_t(width) * sizeof(uint32_t));
}

// Per channel (s a + d (255 - a) + 127) / 255. Red and blue are worked in two 16-bit
// lanes of one word (every sum stays below 65153, so no lane carries into the next), and
// t / 255 is (t + 1 + (t >> 8)) >> 8, which is exact for t < 65535.
inline uint32_t Blend(uint32_t dst, uint32_t src, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t rb = (src & 0xFF00FF) * a + (dst & 0xFF00FF) * na + 0x7F007F;
    uint32_t g = ((src >> 8) & 0xFF) * a + ((dst >> 8) & 0xFF) * na + 0x7F;
    rb = ((rb + 0x10001 + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + 1 + (g >> 8)) >> 8) & 0xFF;
    return rb | (g << 8);
}

struct GlyphBlit {
    gdi::Bitmap* bmp;
    RECT clip;       // surface
    uint32_t pixel;  // text colour
    bool mono;
};

// Blends one glyph's coverage with its top-left at (surface_x, surface_y).
void BlitGlyph(const GlyphBlit& b, const gdi::FontFace::Glyph& g, int64_t surface_x, int64_t surface_y) {
    if (g.width == 0 || g.height == 0) return;
    RECT dst;
    if (!ClipTo(SurfaceRect64{surface_x, surface_y, surface_x + g.width, surface_y + g.height}, b.clip, &dst)) return;
    const int64_t srcX0 = dst.left - surface_x;
    for (LONG y = dst.top; y < dst.bottom; ++y) {
        const uint8_t* cov = &g.coverage[size_t(y - surface_y) * size_t(g.width) + size_t(srcX0)];
        uint32_t* row = b.bmp->Row(y);
        for (LONG x = dst.left; x < dst.right; ++x, ++cov) {
            const uint32_t a = *cov;
            if (a == 0) continue;
            const uint32_t v = a == 255 ? b.pixel : Blend(row[x] & 0xFFFFFF, b.pixel, a);
            row[x] = b.mono ? ToMono(v) : v;
        }
    }
}

}  // namespace

void FillLogical(gdi::DC* dc, const RECT& logical_rect, const RECT* logical_clip, COLORREF color) {
    gdi::Bitmap* bmp = dc->Surface();
    RECT clip;
    if (!bmp || !BaseClip(dc, bmp, &clip)) return;
    if (logical_clip && !ClipTo(LogicalRectToSurface(dc, *logical_clip), clip, &clip)) return;
    RECT dst;
    if (!ClipTo(LogicalRectToSurface(dc, logical_rect), clip, &dst)) return;
    FillSurface(bmp, dst, gdi::ToPixel(color));
}

void PaintImage(gdi::DC* dc, const gdi::Bitmap& src, const ImageParams& p) {
    gdi::Bitmap* bmp = dc->Surface();
    RECT clip;
    if (!bmp || !BaseClip(dc, bmp, &clip)) return;
    const int cx = std::min(p.cx, src.width), cy = std::min(p.cy, src.height);
    if (cx <= 0 || cy <= 0) return;
    const POINT origin = gdi::LogicalToSurface(dc, ClampCoord(p.x), ClampCoord(p.y));
    RECT dst;
    if (!ClipTo(SurfaceRect64{origin.x, origin.y, int64_t(origin.x) + cx, int64_t(origin.y) + cy}, clip, &dst)) return;
    uint32_t pixel = gdi::ToPixel(p.color);
    if (bmp->IsMono()) pixel = ToMono(pixel);
    for (LONG y = dst.top; y < dst.bottom; ++y) {
        const uint32_t* in = src.Row(int(y - origin.y));
        uint32_t* out = bmp->Row(y);
        for (LONG x = dst.left; x < dst.right; ++x) {
            const uint32_t s = in[x - origin.x] & 0xFFFFFF;
            if (!p.asMask)
                out[x] = bmp->IsMono() ? ToMono(s) : s;
            else if (s != 0xFFFFFF)
                out[x] = pixel;
        }
    }
}

// ---- 2. DrawRun -----------------------------------------------------------------------------------
RunResult DrawRun(gdi::DC* dc, const FontRef& font, const RunParams& p) {
    gdi::FontFace& face = *font.face;
    RunResult res;
    for (int i = 0; i < p.count; ++i) res.width += p.dx ? p.dx[i] : face.Advance(uint32_t(p.text[i]));

    int64_t left = p.x;
    if ((p.align & TA_CENTER) == TA_CENTER)
        left -= res.width / 2;
    else if (p.align & TA_RIGHT)
        left -= res.width;
    int64_t top = p.y;
    if ((p.align & TA_BASELINE) == TA_BASELINE)
        top -= face.ascent;
    else if (p.align & TA_BOTTOM)
        top -= face.height;
    res.cellLeft = left;

    gdi::Bitmap* bmp = dc->Surface();
    RECT clip;
    if (!bmp || !BaseClip(dc, bmp, &clip)) return res;

    RECT dst;
    if ((p.options & ETO_OPAQUE) && p.rect && ClipTo(LogicalRectToSurface(dc, *p.rect), clip, &dst))
        FillSurface(bmp, dst, gdi::ToPixel(p.bkColor));
    if ((p.options & ETO_CLIPPED) && p.rect && !ClipTo(LogicalRectToSurface(dc, *p.rect), clip, &clip)) return res;

    const POINT origin = gdi::LogicalToSurface(dc, ClampCoord(left), ClampCoord(top));
    const int64_t cellLeft = origin.x, cellTop = origin.y;
    const int64_t baseline = cellTop + face.ascent;
    if (p.opaqueCell &&
        ClipTo(SurfaceRect64{cellLeft, cellTop, cellLeft + res.width, cellTop + face.height}, clip, &dst))
        FillSurface(bmp, dst, gdi::ToPixel(p.bkColor));

    const uint32_t pixel = gdi::ToPixel(p.textColor);
    const GlyphBlit blit{bmp, clip, pixel, bmp->IsMono()};
    int64_t pen = cellLeft;
    for (int i = 0; i < p.count; ++i) {
        const gdi::FontFace::Glyph& g = face.GlyphFor(uint32_t(p.text[i]));
        if (p.drawGlyphs) BlitGlyph(blit, g, pen + g.left, baseline - g.top);
        const int64_t advance = p.dx ? p.dx[i] : g.advance;
        // The prefix underline runs from the character's left to its right - 1, one row
        // below the baseline row (top + ascent + 1).
        if (i == p.underlineChar &&
            ClipTo(SurfaceRect64{pen, cellTop + face.ascent + 1, pen + advance, cellTop + face.ascent + 2}, clip, &dst))
            FillSurface(bmp, dst, pixel);
        pen += advance;
    }
    if (font.lf->lfUnderline) {
        const int64_t y = baseline + face.underlineOffset;
        if (ClipTo(SurfaceRect64{cellLeft, y, pen, y + face.underlineThickness}, clip, &dst))
            FillSurface(bmp, dst, pixel);
    }
    if (font.lf->lfStrikeOut) {
        const int64_t y = baseline + face.strikeOffset;
        if (ClipTo(SurfaceRect64{cellLeft, y, pen, y + face.strikeThickness}, clip, &dst)) FillSurface(bmp, dst, pixel);
    }
    return res;
}

}  // namespace text

// ---- 3. Entry points -----------------------------------------------------------------------------
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc || (c > 0 && !lpString) || c > UINT(INT32_MAX)) return FALSE;
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return FALSE;
    const bool updateCP = (dc->s.textAlign & TA_UPDATECP) != 0;
    if (c == 0 && !updateCP) {
        // No glyphs (FillSolidRect's call): the opaque rectangle is all that can show.
        if ((options & ETO_OPAQUE) && lprect) text::FillLogical(dc, *lprect, nullptr, dc->s.bkColor);
        return TRUE;
    }
    text::RunParams p;
    p.x = updateCP ? int(dc->s.curPos.x) : x;
    p.y = updateCP ? int(dc->s.curPos.y) : y;
    p.align = dc->s.textAlign;
    p.options = options;
    p.rect = lprect;
    p.text = lpString;
    p.count = int(c);
    p.dx = lpDx;
    p.textColor = dc->s.textColor;
    p.bkColor = dc->s.bkColor;
    p.opaqueCell = dc->s.bkMode == OPAQUE;
    const text::RunResult r = text::DrawRun(dc, font, p);
    if (updateCP) {
        // The current position moves to the end of the text for left alignment and to
        // its start for right alignment; centred text leaves it.
        const bool centred = (p.align & TA_CENTER) == TA_CENTER;
        if (!centred) dc->s.curPos.x = LONG(text::ClampCoord((p.align & TA_RIGHT) ? r.cellLeft : r.cellLeft + r.width));
    }
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
    if (c < 0) return FALSE;
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, UINT(c), nullptr);
}
