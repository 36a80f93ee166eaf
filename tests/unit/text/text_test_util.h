// Helpers for the text tests: fonts by parameters, a surface with a font, ink counts and
// whole-picture comparison.
#pragma once

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>

#include "pixels.h"

namespace tt {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

struct FontSpec {
    int height = -12;
    const wchar_t* face = L"DejaVu Sans";
    int weight = FW_NORMAL;
    bool italic = false, underline = false, strikeOut = false;
    BYTE quality = DEFAULT_QUALITY;
    BYTE pitchAndFamily = DEFAULT_PITCH;
};

// Selects a font made from a spec into a DC for the scope and deletes it afterwards.
class ScopedFont {
public:
    explicit ScopedFont(HDC dc, const FontSpec& s = FontSpec())
        : dc_(dc),
          font_(CreateFontW(s.height, 0, 0, 0, s.weight, s.italic, s.underline, s.strikeOut, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, s.quality, s.pitchAndFamily, s.face)),
          old_(SelectObject(dc, font_)) {}
    ~ScopedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    HFONT font() const { return font_; }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

// A surface with a font selected: DejaVu Sans at -12 (tmHeight 14, tmAscent 11; "Hello"
// is 29 wide) unless told otherwise.
struct TextSurface : kt::Surface {
    explicit TextSurface(int cx, int cy, COLORREF fill = kWhite, const FontSpec& spec = FontSpec())
        : kt::Surface(cx, cy, fill), font(dc(), spec) {}
    ScopedFont font;
};

// Pixels outside [r) that are not the background colour; an empty r counts every one.
inline int InkOutside(const kt::Surface& s, const RECT& r, COLORREF background = kWhite) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if ((x < r.left || x >= r.right || y < r.top || y >= r.bottom) && s.at(x, y) != background) ++n;
    return n;
}
inline int Ink(const kt::Surface& s, COLORREF background = kWhite) { return InkOutside(s, RECT{}, background); }

// Number of pixels that differ between two surfaces of the same size.
inline int DiffCount(const kt::Surface& a, const kt::Surface& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.at(x, y) != b.at(x, y);
    return n;
}

// Pixels that differ between two pictures drawn on white cx x cy surfaces with the font.
using Draw = std::function<void(HDC)>;
inline int PictureDiff(int cx, int cy, const Draw& a, const Draw& b) {
    TextSurface sa(cx, cy), sb(cx, cy);
    a(sa.dc());
    b(sb.dc());
    return DiffCount(sa, sb);
}
// The same against TextOut of `text` at (x, y).
inline int DiffFromTextOut(int cx, int cy, const Draw& a, int x, int y, const wchar_t* text) {
    return PictureDiff(cx, cy, a, [&](HDC dc) { TextOutW(dc, x, y, text, int(wcslen(text))); });
}

// DrawText of `text` in a copy of rc.
inline Draw DrawTextIn(const RECT& rc, const wchar_t* text, UINT format) {
    return [=](HDC dc) {
        RECT box = rc;
        DrawTextW(dc, text, -1, &box, format);
    };
}

inline int Width(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

inline TEXTMETRICW Metrics(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm;
}

}  // namespace tt
