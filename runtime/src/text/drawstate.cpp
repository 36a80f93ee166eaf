// DrawStateW for text, prefixed text, callback-drawn images and bitmaps, in the normal,
// mono and disabled looks. A normal text is DrawText's, in the DC's own colours and mode;
// every other look goes through a monochrome image of cx x cy whose black pixels are
// painted, so only that ink reaches the DC, and the DC's colours and modes are left as
// they were.
//
// Index
//   1. Text        DST_TEXT / DST_PREFIXTEXT
//   2. Images      DST_COMPLEX (callback) and DST_BITMAP
//   3. DrawStateW
#include <algorithm>
#include <cwchar>

#include "text_private.h"

namespace {

// Coordinates are kept within a range where adding a size or the (+1, +1) offset of the
// disabled look cannot overflow; anything that far out is off every surface anyway.
int Clamp(int64_t v) {
    return int(std::clamp<int64_t>(v, -(int64_t(1) << 29), int64_t(1) << 29));
}

RECT RectAt(int x, int y, int cx, int cy) {
    return RECT{Clamp(x), Clamp(y), Clamp(int64_t(x) + cx), Clamp(int64_t(y) + cy)};
}

struct StateLook {
    bool disabled = false;  // DSS_DISABLED: highlight copy at (+1, +1), then shadow
    bool mono = false;      // DSS_MONO: drawn in the hbrFore colour
    COLORREF monoColor = 0;
};

StateLook LookOf(gdi::DC* dc, HBRUSH hbrFore, UINT flags) {
    StateLook look;
    look.disabled = (flags & DSS_DISABLED) != 0;
    look.mono = !look.disabled && (flags & DSS_MONO) != 0;
    if (look.mono && !gdi::BrushColor(hbrFore, dc, &look.monoColor)) look.monoColor = RGB(0, 0, 0);
    return look;
}

// Calls draw(color, dx, dy) once for the mono look, twice for the disabled look.
template <class Draw>
void ForEachPass(const StateLook& look, Draw draw) {
    if (look.disabled) {
        draw(COLORREF(GetSysColor(COLOR_3DHILIGHT)), 1, 1);
        draw(COLORREF(GetSysColor(COLOR_3DSHADOW)), 0, 0);
    } else {
        draw(look.monoColor, 0, 0);
    }
}

// ---- 1. Text ------------------------------------------------------------------------------
struct TextState {
    const wchar_t* text;
    int count;
    UINT format;  // DrawText flags: DT_NOCLIP, DT_NOPREFIX for DST_TEXT, the DSS_ prefix flags
};

// Draws the text at the image's origin; the other looks' mask image is drawn this way.
BOOL CALLBACK DrawTextImage(HDC hdc, LPARAM lData, WPARAM, int cx, int cy) {
    const auto* t = reinterpret_cast<const TextState*>(lData);
    RECT r{0, 0, cx, cy};
    DrawTextW(hdc, t->text, t->count, &r, t->format);
    return TRUE;
}

// ---- 2. Images --------------------------------------------------------------------------------
void PaintBitmap(gdi::DC* dc, const StateLook& look, const gdi::Bitmap& image, int x, int y, int cx, int cy) {
    if (!look.disabled && !look.mono) {
        text::PaintImage(dc, image, text::ImageParams{x, y, cx, cy, false, 0});
        return;
    }
    ForEachPass(look, [&](COLORREF color, int dx, int dy) {
        text::PaintImage(dc, image, text::ImageParams{Clamp(x) + dx, Clamp(y) + dy, cx, cy, true, color});
    });
}

// A normal callback image draws straight on the DC with the origin moved to (x, y) and
// the clip narrowed to the image; the other looks go through a white monochrome scratch
// bitmap whose black pixels form the mask.
BOOL DrawStateComplex(HDC hdc, gdi::DC* dc, const StateLook& look, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData,
                      int x, int y, int cx, int cy) {
    if (!proc || cx <= 0 || cy <= 0) return FALSE;
    if (!look.disabled && !look.mono) {
        const gdi::DCState saved = dc->s;
        const RECT logical_clip = RectAt(x, y, cx, cy);
        IntersectClipRect(hdc, logical_clip.left, logical_clip.top, logical_clip.right, logical_clip.bottom);
        OffsetViewportOrgEx(hdc, Clamp(x), Clamp(y), nullptr);
        const BOOL ok = proc(hdc, lData, wData, cx, cy);
        SetViewportOrgEx(hdc, saved.viewportOrg.x, saved.viewportOrg.y, nullptr);
        dc->s.hasClip = saved.hasClip;
        dc->s.clip = saved.clip;
        return ok;
    }
    if (int64_t(cx) * cy > (int64_t(1) << 26)) return FALSE;  // no scratch image that large
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP bmp = CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ oldBmp = (mem && bmp) ? SelectObject(mem, bmp) : nullptr;
    gdi::Bitmap* image = gdi::Get<gdi::Bitmap>(bmp);
    BOOL ok = FALSE;
    if (oldBmp && image) {
        PatBlt(mem, 0, 0, cx, cy, WHITENESS);
        HGDIOBJ oldFont = dc->s.font ? SelectObject(mem, dc->s.font) : nullptr;
        SetTextColor(mem, RGB(0, 0, 0));
        SetBkMode(mem, TRANSPARENT);
        ok = proc(mem, lData, wData, cx, cy);
        if (oldFont) SelectObject(mem, oldFont);
        PaintBitmap(dc, look, *image, x, y, cx, cy);
        SelectObject(mem, oldBmp);
    }
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
    return ok;
}

}  // namespace

// ---- 3. DrawStateW ----------------------------------------------------------------------------------
BOOL DrawStateW(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData, WPARAM wData, int x, int y, int cx,
                int cy, UINT uFlags) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc) return FALSE;
    const StateLook look = LookOf(dc, hbrFore, uFlags);
    const UINT type = uFlags & 0x000F;

    if ((type == DST_TEXT || type == DST_PREFIXTEXT) && !qfnCallBack) {
        const auto* str = reinterpret_cast<const wchar_t*>(lData);
        if (!str) return FALSE;
        TextState t{str, wData ? int(wData) : int(std::wcslen(str)), UINT(DT_NOCLIP)};
        if (type == DST_TEXT) t.format |= DT_NOPREFIX;
        if (uFlags & DSS_HIDEPREFIX) t.format |= DT_HIDEPREFIX;
        if (uFlags & DSS_PREFIXONLY) t.format |= DT_PREFIXONLY;
        if (!look.disabled && !look.mono) {  // not cut to cx x cy; the result is DrawText's
            RECT logical_rect = RectAt(x, y, 0, 0);
            return DrawTextW(hdc, t.text, t.count, &logical_rect, t.format);
        }
        if (cx == 0 || cy == 0) {  // the extent of the whole string, '&'s included
            SIZE size{0, 0};
            GetTextExtentPoint32W(hdc, t.text, t.count, &size);
            if (cx == 0) cx = size.cx;
            if (cy == 0) cy = size.cy;
        }
        if (cx > 0 && cy > 0) DrawStateComplex(hdc, dc, look, DrawTextImage, LPARAM(&t), 0, x, y, cx, cy);
        return TRUE;
    }
    if (type == DST_COMPLEX || type == DST_TEXT || type == DST_PREFIXTEXT)
        return DrawStateComplex(hdc, dc, look, qfnCallBack, lData, wData, x, y, cx, cy);
    if (type == DST_BITMAP) {
        const gdi::Bitmap* image = gdi::Get<gdi::Bitmap>(reinterpret_cast<HGDIOBJ>(lData));
        if (!image) return FALSE;
        PaintBitmap(dc, look, *image, x, y, cx ? cx : image->width, cy ? cy : image->height);
        return TRUE;
    }
    return FALSE;  // icons are not drawn through DrawState here
}
