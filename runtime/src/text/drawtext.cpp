// DrawTextW: lines, prefixes, word breaking, tabs, ellipsis and alignment in a rectangle.
// Every line is drawn left/top aligned at the position computed here, whatever the DC's
// text alignment. An empty string measures one line's height (DT_CALCRECT makes the
// rectangle empty at its top-left), as the system does. Choices where the platform leaves
// room: DT_WORD_ELLIPSIS and DT_PATH_ELLIPSIS cut like DT_END_ELLIPSIS; DT_MODIFYSTRING,
// DT_RTLREADING and DT_INTERNAL are ignored. Flags nothing here asks for (DT_TABSTOP,
// DT_EDITCONTROL, DT_HIDEPREFIX, DT_PREFIXONLY) are not declared, so no caller can expect
// them; tab stops are every 8 average characters.
//
// Index
//   1. Scratch buffers   reused between calls so steady-state painting does not allocate
//   2. Prefixes          '&' processing of one source line
//   3. Line building     tab expansion, ellipsis, per-character advances
//   4. Word breaking     splitting a source line at spaces
//   5. DrawTextW
#include <algorithm>
#include <cwchar>
#include <memory>

#include "text_private.h"

namespace text {
namespace {

// ---- 1. Scratch buffers -------------------------------------------------------------------
// Grown to the longest text seen on this thread and never shrunk.
template <class T>
struct Buffer {
    std::unique_ptr<T[]> data;
    size_t capacity = 0;
    T* Reserve(size_t n) {
        if (n > capacity) {
            capacity = std::max(n, capacity * 2);
            data = std::make_unique<T[]>(capacity);
        }
        return data.get();
    }
};
struct Scratch {
    Buffer<wchar_t> visible;  // a source line after prefix processing
    Buffer<wchar_t> line;     // one output line as drawn (tabs become spaces)
    Buffer<INT> dx;           // its advances
};
// Out of line so that the caller keeps a plain pointer instead of asking for the thread's
// block again at every use.
[[gnu::noinline]] Scratch& GetScratch() {
    thread_local Scratch s;
    return s;
}

struct Format {
    UINT flags = 0;
    int tabWidth = 0;  // pixels
    int rectWidth = 0;
    bool expandTabs = false;
    bool prefixes = false;
    bool ellipsis = false;
};

// ---- 2. Prefixes ------------------------------------------------------------------------------
// '&' marks the next character (the last marked one of a line is underlined, as Windows'
// DrawText does), "&&" is a literal '&' and a trailing lone '&' stays. Writes at most n characters to out and returns how many;
// *underline gets the index of the underlined character or -1.
int StripPrefixes(const wchar_t* s, int n, bool prefixes, wchar_t* out, int* underline) {
    *underline = -1;
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const wchar_t c = s[i];
        if (prefixes && c == L'&' && i + 1 < n) {
            if (s[i + 1] == L'&') {
                out[count++] = L'&';
                ++i;
            } else {
                *underline = count;
            }
            continue;
        }
        out[count++] = c;
    }
    return count;
}

// ---- 3. Line building -----------------------------------------------------------------------
int AdvanceAt(gdi::FontFace& face, const Format& f, wchar_t c, int64_t pos) {
    if (c == L'\t' && f.expandTabs && f.tabWidth > 0) return int((pos / f.tabWidth + 1) * f.tabWidth - pos);
    return face.Advance(uint32_t(c));
}

// One output line as drawn: its characters, their advances and its width.
struct Line {
    const wchar_t* text;
    const INT* dx;
    int count;
    int64_t width;
};

// Lays out s[0..n) in the scratch line, cut to fit with "..." when ellipsis is asked for
// and the line is too wide; *underline is dropped when its character is cut. Advances are
// taken once: a tab's depends only on the position before it, which the cut keeps.
Line BuildLine(gdi::FontFace& face, const Format& f, const wchar_t* s, int n, int* underline, Scratch& sc) {
    wchar_t* line = sc.line.Reserve(size_t(n) + 3);
    INT* dx = sc.dx.Reserve(size_t(n) + 3);
    int64_t pos = 0;
    for (int i = 0; i < n; ++i) {
        const int a = AdvanceAt(face, f, s[i], pos);
        const bool tab = s[i] == L'\t' && f.expandTabs;
        line[i] = tab ? L' ' : s[i];  // a tab draws nothing; its advance moves on
        dx[i] = a;
        pos += a;
    }
    if (!f.ellipsis || pos <= f.rectWidth) return Line{line, dx, n, pos};

    const int dotAdvance = face.Advance(L'.');
    const int64_t dotsWidth = 3 * int64_t(dotAdvance);
    int keep = 0;
    pos = 0;
    while (keep < n && pos + dx[keep] + dotsWidth <= f.rectWidth) pos += dx[keep++];
    for (int i = 0; i < 3; ++i) {
        line[keep + i] = L'.';
        dx[keep + i] = dotAdvance;
        pos += dotAdvance;
    }
    if (*underline >= keep) *underline = -1;
    return Line{line, dx, keep + 3, pos};
}

// ---- 4. Word breaking --------------------------------------------------------------------------
struct Piece {
    int begin, end;  // characters drawn on this output line
    int next;        // where the following output line starts
};

// The next output line of s[start..n) for a rectangle width; lines break after the last
// whole word that fits with the spaces after it. The spaces before the break that fit stay on the line (all of them
// left aligned, all but the last one centred or right aligned), so they count in its width
// and in a DT_CALCRECT rectangle; the one space at the break is dropped. A word wider than
// the line stays whole.
Piece NextPiece(gdi::FontFace& face, const Format& f, const wchar_t* s, int n, int start) {
    if (!(f.flags & DT_WORDBREAK) || (f.flags & DT_SINGLELINE)) return Piece{start, n, n};
    int64_t pos = 0;
    int k = start;
    for (; k < n; ++k) {
        const int a = AdvanceAt(face, f, s[k], pos);
        if (pos + a > f.rectWidth) break;
        pos += a;
    }
    if (k == n) return Piece{start, n, n};
    // The break: after the last space that fits, or at the space that does not. A word
    // fits only with the spaces after it, so a word whose spaces run past the edge starts
    // the next line, unless it is the line's first word, which keeps the spaces that fit.
    int breakAt = -1;
    if (s[k] == L' ') {
        int wordStart = k;
        while (wordStart > start && s[wordStart - 1] == L' ') --wordStart;
        while (wordStart > start && s[wordStart - 1] != L' ') --wordStart;
        const bool earlierWord = std::any_of(s + start, s + wordStart, [](wchar_t c) { return c != L' '; });
        breakAt = earlierWord ? wordStart : k;
    } else {
        for (int i = k; i > start; --i)
            if (s[i - 1] == L' ') {
                breakAt = i;
                break;
            }
    }
    Piece piece{start, k, k};
    if (breakAt > start) {
        piece.end = breakAt;
        const bool aligned = (f.flags & (DT_CENTER | DT_RIGHT)) != 0;
        if (aligned && s[piece.end - 1] == L' ') --piece.end;
        piece.next = piece.end < n && s[piece.end] == L' ' ? piece.end + 1 : piece.end;
    } else {
        int wordEnd = k;
        while (wordEnd < n && s[wordEnd] != L' ') ++wordEnd;
        piece.end = wordEnd;
        piece.next = wordEnd < n ? wordEnd + 1 : wordEnd;
    }
    return piece;
}

// One source line ends at "\r\n", '\n' or '\r'; returns its end and sets *next.
int LineEnd(const wchar_t* s, int n, int start, bool single, int* next) {
    if (single) {
        *next = n;
        return n;
    }
    int e = start;
    while (e < n && s[e] != L'\n' && s[e] != L'\r') ++e;
    *next = e;
    if (e < n) *next = (s[e] == L'\r' && e + 1 < n && s[e + 1] == L'\n') ? e + 2 : e + 1;
    return e;
}

}  // namespace
}  // namespace text

// ---- 5. DrawTextW --------------------------------------------------------------------------------
int DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    gdi::DC* dc = gdi::Get<gdi::DC>(hdc);
    if (!dc || !lprc || !lpchText) return 0;
    const text::FontRef font = text::FontOf(dc);
    if (!font.face) return 0;
    gdi::FontFace& face = *font.face;
    const int n = cchText < 0 ? int(std::wcslen(lpchText)) : cchText;

    text::Format f;
    f.flags = format;
    f.tabWidth = 8 * face.aveCharWidth;  // a stop every 8 average characters
    f.rectWidth = int(std::clamp<int64_t>(int64_t(lprc->right) - lprc->left, 0, INT32_MAX));
    f.expandTabs = (format & DT_EXPANDTABS) != 0;
    f.prefixes = !(format & DT_NOPREFIX);
    f.ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;

    const RECT rect = *lprc;
    const int lineHeight = face.height + ((format & DT_EXTERNALLEADING) ? face.externalLeading : 0);
    if (n == 0) {
        if (format & DT_CALCRECT) {
            lprc->right = lprc->left;
            lprc->bottom = lprc->top;
        }
        return lineHeight;
    }

    const bool single = (format & DT_SINGLELINE) != 0;
    int64_t y = rect.top;
    if (single && (format & DT_VCENTER))
        y = rect.top + (int64_t(rect.bottom) - rect.top) / 2 - lineHeight / 2;
    else if (single && (format & DT_BOTTOM))
        y = int64_t(rect.bottom) - lineHeight;

    text::RunParams run;
    run.options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    run.rect = &rect;
    run.textColor = dc->s.textColor;
    run.bkColor = dc->s.bkColor;
    run.opaqueCell = dc->s.bkMode == OPAQUE;

    text::Scratch& sc = text::GetScratch();
    int64_t maxWidth = 0;
    int pos = 0;
    do {
        int nextLine = 0;
        const int end = text::LineEnd(lpchText, n, pos, single, &nextLine);
        int prefixAt = -1;
        wchar_t* vis = sc.visible.Reserve(size_t(end - pos) + 1);
        const int visCount = text::StripPrefixes(lpchText + pos, end - pos, f.prefixes, vis, &prefixAt);
        int start = 0;
        do {
            const text::Piece piece = text::NextPiece(face, f, vis, visCount, start);
            int underline = (prefixAt >= piece.begin && prefixAt < piece.end) ? prefixAt - piece.begin : -1;
            const text::Line line =
                text::BuildLine(face, f, vis + piece.begin, piece.end - piece.begin, &underline, sc);
            maxWidth = std::max(maxWidth, line.width);
            if (!(format & DT_CALCRECT)) {
                int64_t x = rect.left;
                if (format & DT_CENTER)
                    x = (int64_t(rect.left) + rect.right - line.width) / 2;
                else if (format & DT_RIGHT)
                    x = int64_t(rect.right) - line.width;
                run.x = int(std::clamp<int64_t>(x, INT32_MIN / 2, INT32_MAX / 2));
                run.y = int(std::clamp<int64_t>(y, INT32_MIN / 2, INT32_MAX / 2));
                run.text = line.text;
                run.count = line.count;
                run.dx = line.dx;
                run.width = line.width;
                run.underlineChar = underline;
                text::DrawRun(dc, font, run);
            }
            y += lineHeight;
            start = piece.next;
        } while (start < visCount);
        pos = nextLine;
    } while (pos < n);

    const int64_t height = y - rect.top;
    if (format & DT_CALCRECT) {
        lprc->right = LONG(std::min<int64_t>(int64_t(rect.left) + maxWidth, INT32_MAX));
        lprc->bottom = LONG(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
    }
    const int result = int(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
    return result == 0 ? 1 : result;
}
