// DrawStateW for text and prefixed text, in the normal and disabled looks (the ones the
// elements and menus draw; the other types and looks are not declared in the headers). A
// normal text is DrawText's, in the DC's own colours and mode; the disabled look goes
// through a monochrome image of cx x cy whose black pixels are painted, so only that ink
// reaches the DC, and the DC's colours and modes are left as they were.
//
// Index
//   1. Text        DST_TEXT / DST_PREFIXTEXT
//   2. The disabled look's mask image
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

// ---- 1. Text ------------------------------------------------------------------------------
struct TextState {
    const wchar_t* text;
    int count;
    UINT format;  // DrawText flags: DT_NOCLIP, DT_NOPREFIX for DST_TEXT
};

// ---- 2. The disabled look's mask image ----------------------------------------------------------
// The text drawn black into a white monochrome scratch bitmap, whose black pixels are
// painted twice: the highlight copy at (+1, +1), then the shadow.
void DrawDisabled(HDC hdc, gdi::DC* dc, const TextState& t, int x, int y, int cx, int cy) {
    if (int64_t(cx) * cy > (int64_t(1) << 26)) return;  // no scratch image that large
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP bmp = CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ oldBmp = (mem && bmp) ? SelectObject(mem, bmp) : nullptr;
    gdi::Bitmap* image = gdi::Get<gdi::Bitmap>(bmp);
    if (oldBmp && image) {
        PatBlt(mem, 0, 0, cx, cy, WHITENESS);
        HGDIOBJ oldFont = dc->s.font ? SelectObject(mem, dc->s.font) : nullptr;
        SetTextColor(mem, RGB(0, 0, 0));
        SetBkMode(mem, TRANSPARENT);
        RECT r{0, 0, cx, cy};
        DrawTextW(mem, t.text, t.count, &r, t.format);
        if (oldFont) SelectObject(mem, oldFont);
        const COLORREF hilight = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_3DSHADOW);
        text::PaintImage(dc, *image, text::ImageParams{Clamp(x) + 1, Clamp(y) + 1, cx, cy, hilight});
        text::PaintImage(dc, *image, text::ImageParams{Clamp(x), Clamp(y), cx, cy, shadow});
        SelectObject(mem, oldBmp);
    }
    if (bmp) DeleteObject(bmp);
    if (mem) DeleteDC(mem);
}

}  // namespace

// ---- 3. DrawStateW ----------------------------------------------------------------------------------
BOOL DrawStateW(HDC hdc, HBRUSH, DRAWSTATEPROC qfnCallBack, LPARAM lData, WPARAM wData, int x, int y, int cx, int cy,
                UINT uFlags) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    const UINT type = uFlags & 0x000F;
    if (!dc || qfnCallBack || (type != DST_TEXT && type != DST_PREFIXTEXT)) return FALSE;
    const auto* str = reinterpret_cast<const wchar_t*>(lData);
    if (!str) return FALSE;
    TextState t{str, wData ? int(wData) : int(std::wcslen(str)), UINT(DT_NOCLIP)};
    if (type == DST_TEXT) t.format |= DT_NOPREFIX;
    if (!(uFlags & DSS_DISABLED)) {  // not cut to cx x cy; the result is DrawText's
        RECT logical_rect = RectAt(x, y, 0, 0);
        return DrawTextW(hdc, t.text, t.count, &logical_rect, t.format);
    }
    if (cx == 0 || cy == 0) {  // the extent of the whole string, '&'s included
        SIZE size{0, 0};
        GetTextExtentPoint32W(hdc, t.text, t.count, &size);
        if (cx == 0) cx = size.cx;
        if (cy == 0) cy = size.cy;
    }
    if (cx > 0 && cy > 0) DrawDisabled(hdc, dc, t, x, y, cx, cy);
    return TRUE;
}
