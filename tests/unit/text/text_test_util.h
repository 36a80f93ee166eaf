// Helpers for the text tests: fonts by parameters, a surface with a font, the inked
// bounding box of a surface and whole-surface comparison.
#pragma once

#include <algorithm>
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

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right/bottom exclusive
    bool empty = true;
};

// Bounding box of every pixel that differs from the background colour.
inline Box InkBox(const kt::Surface& s, COLORREF background = kWhite) {
    Box b;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            if (s.at(x, y) == background) continue;
            b = b.empty ? Box{x, y, x + 1, y + 1, false}
                        : Box{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
                              std::max(b.bottom, y + 1), false};
        }
    return b;
}

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

// Pixels outside [r) that are not the background colour.
inline int InkOutside(const kt::Surface& s, const RECT& r, COLORREF background = kWhite) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if ((x < r.left || x >= r.right || y < r.top || y >= r.bottom) && s.at(x, y) != background) ++n;
    return n;
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
