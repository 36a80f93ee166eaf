// DrawStateW for text, prefixed text, callback-drawn images and bitmaps, in the normal,
// mono and disabled looks. The image is never drawn over a background fill: only its
// ink reaches the DC, and the DC's colours and modes are left as they were.
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
    if (look.mono && !gdi::BrushColor(hbrFore, dc, &look.monoColor)) look.monoColor = dc->s.textColor;
    return look;
}

// Calls draw(color, dx, dy) once for a normal or mono look, twice for the disabled look.
template <class Draw>
void ForEachPass(gdi::DC* dc, const StateLook& look, Draw draw) {
    if (look.disabled) {
        draw(COLORREF(GetSysColor(COLOR_3DHILIGHT)), 1, 1);
        draw(COLORREF(GetSysColor(COLOR_3DSHADOW)), 0, 0);
    } else {
        draw(look.mono ? look.monoColor : dc->s.textColor, 0, 0);
    }
}

// ---- 1. Text ------------------------------------------------------------------------------
struct TextState {
    const wchar_t* text;
    int count;
    bool prefixed;
    UINT prefixFlags;  // DT_HIDEPREFIX / DT_PREFIXONLY
};

SIZE TextSize(HDC hdc, const TextState& t) {
    if (t.prefixed) {
        RECT r{0, 0, 0, 0};
        DrawTextW(hdc, t.text, t.count, &r, DT_CALCRECT | DT_SINGLELINE | t.prefixFlags);
        return SIZE{r.right, r.bottom};
    }
    SIZE size{0, 0};
    GetTextExtentPoint32W(hdc, t.text, t.count, &size);
    return size;
}

BOOL DrawStateText(HDC hdc, gdi::DC* dc, const StateLook& look, const TextState& t, RECT logical_rect) {
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return FALSE;
    const gdi::DCState saved = dc->s;
    dc->s.bkMode = TRANSPARENT;
    ForEachPass(dc, look, [&](COLORREF color, int dx, int dy) {
        RECT r{logical_rect.left + dx, logical_rect.top + dy, logical_rect.right + dx, logical_rect.bottom + dy};
        dc->s.textColor = color;
        if (t.prefixed) {
            DrawTextW(hdc, t.text, t.count, &r, DT_SINGLELINE | DT_LEFT | DT_TOP | t.prefixFlags);
            return;
        }
        text::RunParams p;
        p.x = r.left;
        p.y = r.top;
        p.options = ETO_CLIPPED;
        p.rect = &r;
        p.text = t.text;
        p.count = t.count;
        p.textColor = color;
        text::DrawRun(dc, font, p);
    });
    dc->s.textColor = saved.textColor;
    dc->s.bkMode = saved.bkMode;
    return TRUE;
}

// ---- 2. Images --------------------------------------------------------------------------------
void PaintBitmap(gdi::DC* dc, const StateLook& look, const gdi::Bitmap& image, int x, int y, int cx, int cy) {
    if (!look.disabled && !look.mono) {
        text::PaintImage(dc, image, text::ImageParams{x, y, cx, cy, false, 0});
        return;
    }
    ForEachPass(dc, look, [&](COLORREF color, int dx, int dy) {
        text::PaintImage(dc, image, text::ImageParams{Clamp(x) + dx, Clamp(y) + dy, cx, cy, true, color});
    });
}

// A normal callback image draws straight on the DC with the origin moved to (x, y) and
// the clip narrowed to the image; the other looks go through a white scratch bitmap
// whose non-white pixels form the mask.
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
    HBITMAP bmp = CreateBitmap(cx, cy, 1, 32, nullptr);
    HGDIOBJ oldBmp = (mem && bmp) ? SelectObject(mem, bmp) : nullptr;
    gdi::Bitmap* image = gdi::Get<gdi::Bitmap>(bmp);
    BOOL ok = FALSE;
    if (oldBmp && image) {
        for (int row = 0; row < image->height; ++row)
            std::fill(image->Row(row), image->Row(row) + image->width, 0xFFFFFFu);
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
        TextState t{str, wData ? int(wData) : int(std::wcslen(str)), type == DST_PREFIXTEXT, 0};
        if (uFlags & DSS_HIDEPREFIX) t.prefixFlags |= DT_HIDEPREFIX;
        if (uFlags & DSS_PREFIXONLY) t.prefixFlags |= DT_PREFIXONLY;
        if (cx == 0 || cy == 0) {
            const SIZE size = TextSize(hdc, t);
            if (cx == 0) cx = size.cx;
            if (cy == 0) cy = size.cy;
        }
        return DrawStateText(hdc, dc, look, t, RectAt(x, y, cx, cy));
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
