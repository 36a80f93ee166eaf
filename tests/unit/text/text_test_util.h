// Helpers for the text tests: fonts by parameters, the inked bounding box of a surface
// and whole-surface comparison.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "pixels.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"

namespace tt {

struct FontSpec {
    int height = -12;
    const wchar_t* face = L"DejaVu Sans";
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    BYTE quality = DEFAULT_QUALITY;
    BYTE pitchAndFamily = DEFAULT_PITCH;
};

inline HFONT MakeFont(const FontSpec& s) {
    return CreateFontW(s.height, 0, 0, 0, s.weight, s.italic, s.underline, s.strikeOut, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, s.quality, s.pitchAndFamily, s.face);
}

// Selects a font into a DC for the scope and deletes it afterwards.
class ScopedFont {
public:
    ScopedFont(HDC dc, const FontSpec& spec = FontSpec()) : dc_(dc), font_(MakeFont(spec)) {
        old_ = SelectObject(dc_, font_);
    }
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

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right/bottom exclusive
    bool empty = true;
};

// Bounding box of every pixel that differs from the background colour.
inline Box InkBox(const kt::Surface& s, COLORREF background) {
    Box b;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            if (s.at(x, y) == background) continue;
            if (b.empty) {
                b = Box{x, y, x + 1, y + 1, false};
            } else {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
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

// Pixels outside [r) that are not the background colour.
inline int InkOutside(const kt::Surface& s, const RECT& r, COLORREF background) {
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
