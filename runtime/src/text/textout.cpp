// Putting glyph runs on a surface: background fills, coverage blending,
// decorations, and the ExtTextOutW/TextOutW entry points built on it.
//
// Index
//   1. Surface helpers   clamped mapping, clipped fills
//   2. Coverage blending glyph masks onto a row, four pixels at a time where SSE2 exists
//   3. Fills and images  FillLogical, PaintImage
//   4. DrawRun           one line of glyphs
//   5. Entry points      ExtTextOutW, TextOutW
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The part of the surface this DC may touch (EffectiveClip lies within the surface).
bool BaseClip(gdi::DC* dc, gdi::Bitmap* bmp, RECT* out) {
    *out = gdi::EffectiveClip(dc, bmp);
    return out->left < out->right;
}

// Normalised, with the logical coordinates clamped and then moved by origin, the surface
// position of logical (0, 0). Sums stay far inside 64 bits; every result is clipped to the
// surface before use, so nothing needs saturating.
SurfaceRect64 LogicalRectToSurface(const gdi::Point64& origin, const RECT& logical_rect) {
    const int64_t l = origin.x + ClampCoord(logical_rect.left), r = origin.x + ClampCoord(logical_rect.right);
    const int64_t t = origin.y + ClampCoord(logical_rect.top), b = origin.y + ClampCoord(logical_rect.bottom);
    return SurfaceRect64{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}
SurfaceRect64 LogicalRectToSurface(gdi::DC* dc, const RECT& logical_rect) {
    return LogicalRectToSurface(gdi::LogicalToSurface64(dc, 0, 0), logical_rect);
}

// Monochrome surfaces hold only black and white: a colour becomes whichever is nearer.
inline uint32_t ToMono(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 77 + g * 150 + b * 29) >= 128u * 256u ? 0xFFFFFFu : 0u;
}

// Rows narrower than this are stored directly: a memcpy call per row costs more than the
// stores themselves (borders, separators, the cells of a tab strip). Wider rectangles
// fill their first row and copy it down.
constexpr LONG kCopyRowsFrom = 64;

void FillSurface(gdi::Bitmap* bmp, const RECT& surface_rect, uint32_t pixel) {
    if (bmp->IsMono()) pixel = ToMono(pixel);
    const LONG width = surface_rect.right - surface_rect.left;
    if (width <= 0 || surface_rect.bottom <= surface_rect.top) return;
    if (ptrdiff_t(width) * 4 == bmp->stride) {
        // Whole rows of a top-down surface are one block: a small one is stored as one
        // run, a larger one has its first row copied in doubling steps instead of row by
        // row (a narrow element's background).
        uint32_t* first = bmp->Row(surface_rect.top);
        const size_t pixels = size_t(width) * size_t(surface_rect.bottom - surface_rect.top);
        if (pixels < size_t(kCopyRowsFrom) * 4) {
            gdi::FillPixels(first, pixels, pixel);
            return;
        }
        gdi::FillPixels(first, size_t(width), pixel);
        gdi::RepeatFirstRow(reinterpret_cast<uint8_t*>(first), bmp->stride, size_t(width) * sizeof(uint32_t),
                            int(surface_rect.bottom - surface_rect.top));
        return;
    }
    if (width == 1) {  // a vertical line
        for (LONG y = surface_rect.top; y < surface_rect.bottom; ++y) bmp->Row(y)[surface_rect.left] = pixel;
        return;
    }
    if (width < kCopyRowsFrom) {
        for (LONG y = surface_rect.top; y < surface_rect.bottom; ++y)
            gdi::FillPixels(bmp->Row(y) + surface_rect.left, size_t(width), pixel);
        return;
    }
    const uint32_t* first = bmp->Row(surface_rect.top) + surface_rect.left;
    gdi::FillPixels(bmp->Row(surface_rect.top) + surface_rect.left, size_t(width), pixel);
    for (LONG y = surface_rect.top + 1; y < surface_rect.bottom; ++y)
        std::memcpy(bmp->Row(y) + surface_rect.left, first, size_t(width) * sizeof(uint32_t));
}

}  // namespace

// ---- 2. Coverage blending -------------------------------------------------------------------------
// Per channel (s a + d (255 - a) + 127) / 255 with t / 255 computed as
// (t + 1 + (t >> 8)) >> 8, which is exact for t < 65535 (every t here is below 65153).
// Coverage 0 leaves the pixel as it is, 255 stores the colour; a blended pixel's top byte
// is 0. Red and blue share one word in two 16-bit lanes that never carry into each other.
uint32_t BlendPixel(uint32_t dst, uint32_t src, uint32_t a) {
    if (a == 0) return dst;
    if (a == 255) return src;
    dst &= 0xFFFFFF;
    const uint32_t na = 255 - a;
    uint32_t rb = (src & 0xFF00FF) * a + (dst & 0xFF00FF) * na + 0x7F007F;
    uint32_t g = ((src >> 8) & 0xFF) * a + ((dst >> 8) & 0xFF) * na + 0x7F;
    rb = ((rb + 0x10001 + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + 1 + (g >> 8)) >> 8) & 0xFF;
    return rb | (g << 8);
}

#if defined(__SSE2__)
namespace {

// The same rule on four pixels at once, every channel in a 16-bit lane, and with the
// division done as ((t + 127 + 1) * 257) >> 16, which equals (t + 127) / 255 rounded down
// for every t up to 255 * 255 (the tests try every channel value). With the top byte of dst
// masked off and src's top byte 0, coverage 255 gives src exactly, so only coverage 0
// needs a select (it must keep dst's top byte).
struct QuadBlender {
    __m128i zero = _mm_setzero_si128();
    __m128i src16;  // two copies of src, one channel per lane
    __m128i lanes255 = _mm_set1_epi16(255);
    __m128i round = _mm_set1_epi16(128);
    __m128i by257 = _mm_set1_epi16(257);
    __m128i rgb = _mm_set1_epi32(0x00FFFFFF);

    explicit QuadBlender(uint32_t src) : src16(_mm_unpacklo_epi8(_mm_set1_epi32(int(src)), _mm_setzero_si128())) {}

    __m128i Half(__m128i d16, __m128i a16) const {
        const __m128i na16 = _mm_sub_epi16(lanes255, a16);
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(src16, a16), _mm_mullo_epi16(d16, na16));
        return _mm_mulhi_epu16(_mm_add_epi16(t, round), by257);
    }

    // cov4: the four coverage bytes, first pixel in the low byte.
    __m128i Blend(__m128i d, uint32_t cov4) const {
        __m128i a = _mm_cvtsi32_si128(int(cov4));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each pixel's coverage in its four bytes
        const __m128i keep = _mm_cmpeq_epi8(a, zero);
        const __m128i dm = _mm_and_si128(d, rgb);
        const __m128i lo = Half(_mm_unpacklo_epi8(dm, zero), _mm_unpacklo_epi8(a, zero));
        const __m128i hi = Half(_mm_unpackhi_epi8(dm, zero), _mm_unpackhi_epi8(a, zero));
        const __m128i blended = _mm_packus_epi16(lo, hi);
        return _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended));
    }

    // Two pixels: the low half of a quad.
    __m128i BlendPair(__m128i d, uint32_t cov2) const {
        __m128i a = _mm_cvtsi32_si128(int(cov2));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);
        const __m128i keep = _mm_cmpeq_epi8(a, zero);
        const __m128i lo = Half(_mm_unpacklo_epi8(_mm_and_si128(d, rgb), zero), _mm_unpacklo_epi8(a, zero));
        const __m128i blended = _mm_packus_epi16(lo, lo);
        return _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended));
    }

    void Quad(uint32_t* px, uint32_t cov4) const {
        if (cov4 == 0) return;
        auto* p = reinterpret_cast<__m128i*>(px);
        _mm_storeu_si128(p, Blend(_mm_loadu_si128(p), cov4));
    }

    void Pair(uint32_t* px, uint32_t cov2) const {
        if (cov2 == 0) return;
        auto* p = reinterpret_cast<__m128i*>(px);
        _mm_storel_epi64(p, BlendPair(_mm_loadl_epi64(p), cov2));
    }
};

inline uint32_t LoadCoverage4(const uint8_t* cov) {
    uint32_t c;
    std::memcpy(&c, cov, 4);
    return c;
}

inline uint32_t LoadCoverage2(const uint8_t* cov) {
    uint16_t c;
    std::memcpy(&c, cov, 2);
    return c;
}

void BlendScalar(uint32_t* row, const uint8_t* cov, int count, uint32_t src) {
    for (int x = 0; x < count; ++x) row[x] = BlendPixel(row[x], src, cov[x]);
}

// The one to three pixels after a row's whole quads: a pair and/or one pixel alone. No
// step starts over pixels the row's last quad just stored: a load that overlaps a
// recent wider store cannot take its data from the store buffer and stalls the row.
void BlendTail(const QuadBlender& q, uint32_t* row, const uint8_t* cov, int count, int x, uint32_t src) {
    if (count - x >= 2) {
        q.Pair(row + x, LoadCoverage2(cov + x));
        x += 2;
    }
    if (x < count) row[x] = BlendPixel(row[x], src, cov[x]);
}

}  // namespace

// Rows are worked in quads, then pairs; nothing outside the box is read or written.
void BlendCoverage(const CoverageBox& box, uint32_t src) {
    if (box.count <= 0 || box.rows <= 0) return;
    auto* rowBytes = reinterpret_cast<uint8_t*>(box.surfaceRow);
    const uint8_t* cov = box.coverage;
    const int count = box.count;
    if (src >> 24) {  // never from a COLORREF; the quad rule assumes a zero top byte
        for (int y = 0; y < box.rows; ++y, rowBytes += box.surfaceStride, cov += box.coverageStride)
            BlendScalar(reinterpret_cast<uint32_t*>(rowBytes), cov, count, src);
        return;
    }
    const QuadBlender q(src);
    for (int y = 0; y < box.rows; ++y, rowBytes += box.surfaceStride, cov += box.coverageStride) {
        auto* row = reinterpret_cast<uint32_t*>(rowBytes);
        int x = 0;
        for (; x + 4 <= count; x += 4) q.Quad(row + x, LoadCoverage4(cov + x));
        if (x < count) BlendTail(q, row, cov, count, x, src);
    }
}
#else
void BlendCoverage(const CoverageBox& box, uint32_t src) {
    auto* rowBytes = reinterpret_cast<uint8_t*>(box.surfaceRow);
    const uint8_t* cov = box.coverage;
    for (int y = 0; y < box.rows; ++y, rowBytes += box.surfaceStride, cov += box.coverageStride) {
        auto* row = reinterpret_cast<uint32_t*>(rowBytes);
        for (int x = 0; x < box.count; ++x) row[x] = BlendPixel(row[x], src, cov[x]);
    }
}
#endif

namespace {

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
    const size_t srcX0 = size_t(dst.left - surface_x);
    const int count = int(dst.right - dst.left);
    const uint8_t* cov = &g.coverage[size_t(dst.top - surface_y) * size_t(g.width) + srcX0];
    if (b.mono) {
        for (LONG y = dst.top; y < dst.bottom; ++y, cov += g.width) {
            uint32_t* row = b.bmp->Row(y) + dst.left;
            for (int x = 0; x < count; ++x)
                if (cov[x]) row[x] = ToMono(BlendPixel(row[x], b.pixel, cov[x]));
        }
        return;
    }
    const CoverageBox box{b.bmp->Row(dst.top) + dst.left, b.bmp->stride, cov, size_t(g.width), count,
                          int(dst.bottom - dst.top)};
    BlendCoverage(box, b.pixel);
}

}  // namespace

// ---- 3. Fills and images -------------------------------------------------------------------------
void FillLogical(gdi::DC* dc, const RECT& logical_rect, const RECT* logical_clip, COLORREF color) {
    gdi::Bitmap* bmp = dc->Surface();
    RECT clip;
    if (!bmp || !BaseClip(dc, bmp, &clip)) return;
    if (logical_clip && !ClipTo(LogicalRectToSurface(dc, *logical_clip), clip, &clip)) return;
    RECT dst;
    if (!ClipTo(LogicalRectToSurface(dc, logical_rect), clip, &dst)) return;
    FillSurface(bmp, dst, gdi::ToPixel(color));
}

bool FillSolidRects(HDC hdc, const RECT* logical_rects, int count, COLORREF color) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc) return false;
    dc->s.bkColor = color;
    gdi::Bitmap* bmp = dc->SurfaceShape();
    RECT clip;
    if (!logical_rects || !bmp || !BaseClip(dc, bmp, &clip)) return true;
    const uint32_t pixel = gdi::ToPixel(color);
    const gdi::Point64 origin = gdi::LogicalToSurface64(dc, 0, 0);
    for (int i = 0; i < count; ++i) {
        RECT dst;
        if (!ClipTo(LogicalRectToSurface(origin, logical_rects[i]), clip, &dst)) continue;
        bmp->WillOverwrite(dst);
        FillSurface(bmp, dst, pixel);
    }
    return true;
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
            if ((in[x - origin.x] & 0xFFFFFF) != 0xFFFFFF) out[x] = pixel;
        }
    }
}

// ---- 4. DrawRun -----------------------------------------------------------------------------------
void DrawRun(gdi::DC* dc, const FontRef& font, const RunParams& p) {
    gdi::FontFace& face = *font.face;
    int64_t width = 0;
    if (p.dx && p.width >= 0)
        width = p.width;
    else
        for (int i = 0; i < p.count; ++i) width += p.dx ? p.dx[i] : face.Advance(uint32_t(p.text[i]));

    const int64_t left = p.x, top = p.y;

    gdi::Bitmap* bmp = dc->Surface();
    RECT clip;
    if (!bmp || !BaseClip(dc, bmp, &clip)) return;

    RECT dst;
    if ((p.options & ETO_OPAQUE) && p.rect && ClipTo(LogicalRectToSurface(dc, *p.rect), clip, &dst))
        FillSurface(bmp, dst, gdi::ToPixel(p.bkColor));
    if ((p.options & ETO_CLIPPED) && p.rect && !ClipTo(LogicalRectToSurface(dc, *p.rect), clip, &clip)) return;

    const POINT origin = gdi::LogicalToSurface(dc, ClampCoord(left), ClampCoord(top));
    const int64_t cellLeft = origin.x, cellTop = origin.y;
    const int64_t baseline = cellTop + face.ascent;
    if (p.opaqueCell && ClipTo(SurfaceRect64{cellLeft, cellTop, cellLeft + width, cellTop + face.height}, clip, &dst))
        FillSurface(bmp, dst, gdi::ToPixel(p.bkColor));

    const uint32_t pixel = gdi::ToPixel(p.textColor);
    const GlyphBlit blit{bmp, clip, pixel, bmp->IsMono()};
    int64_t pen = cellLeft;
    for (int i = 0; i < p.count; ++i) {
        const gdi::FontFace::Glyph& g = face.GlyphFor(uint32_t(p.text[i]));
        BlitGlyph(blit, g, pen + g.left, baseline - g.top);
        const int64_t advance = p.dx ? p.dx[i] : g.advance;
        // The prefix underline is a line from the character's left to its right - 1, one row
        // below the baseline row (top + ascent + 1); a line leaves out its end point, so the
        // last pixel drawn is right - 2.
        if (i == p.underlineChar && ClipTo(SurfaceRect64{pen, cellTop + face.ascent + 1, pen + advance - 1,
                                                         cellTop + face.ascent + 2},
                                            clip, &dst))
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
}

}  // namespace text

// ---- 5. Entry points -----------------------------------------------------------------------------
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc || (c > 0 && !lpString) || c > UINT(INT32_MAX)) return FALSE;
    if (c == 0) {
        // No glyphs (FillSolidRect's call): the opaque rectangle is all that can show,
        // and no font is needed for it.
        if ((options & ETO_OPAQUE) && lprect) text::FillLogical(dc, *lprect, nullptr, dc->s.bkColor);
        return TRUE;
    }
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return FALSE;
    text::RunParams p;
    p.x = x;
    p.y = y;
    p.options = options;
    p.rect = lprect;
    p.text = lpString;
    p.count = int(c);
    p.dx = lpDx;
    p.textColor = dc->s.textColor;
    p.bkColor = dc->s.bkColor;
    p.opaqueCell = dc->s.bkMode == OPAQUE;
    text::DrawRun(dc, font, p);
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
    if (c < 0) return FALSE;
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, UINT(c), nullptr);
}
