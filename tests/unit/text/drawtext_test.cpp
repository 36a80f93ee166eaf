// DrawTextW: alignment, line breaking, prefixes, tabs, ellipsis, DT_CALCRECT, results.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// DejaVu Sans at -12: tmHeight 14, tmAscent 11, tmAveCharWidth 6; "Hello" is 29 wide.
TEST(DrawTextLayout, AlignmentPlacesTheTextCell) {
    struct Row {
        const char* name;
        UINT format;
        int x, y;  // expected cell origin
    };
    const RECT rc{10, 5, 110, 46};  // 100 x 41
    const Row rows[] = {
        {"left top", DT_LEFT | DT_TOP, 10, 5},
        {"center", DT_CENTER, (10 + 110 - 29) / 2, 5},
        {"right", DT_RIGHT, 110 - 29, 5},
        {"vcenter single", DT_VCENTER | DT_SINGLELINE, 10, 5 + 41 / 2 - 14 / 2},
        {"bottom single", DT_BOTTOM | DT_SINGLELINE, 10, 46 - 14},
        {"vcenter multi-line is ignored", DT_VCENTER, 10, 5},
        {"bottom multi-line is ignored", DT_BOTTOM, 10, 5},
        {"center vcenter single", DT_CENTER | DT_VCENTER | DT_SINGLELINE, (10 + 110 - 29) / 2, 5 + 41 / 2 - 14 / 2},
        {"right bottom single", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 110 - 29, 46 - 14},
    };
    // The ink of "Hello" drawn with its cell at (0, 0) gives the glyph bearings.
    kt::Surface probe(60, 20);
    tt::Box bearing;
    {
        tt::ScopedFont font(probe.dc());
        TextOutW(probe.dc(), 0, 0, L"Hello", 5);
        bearing = tt::InkBox(probe, kWhite);
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(120, 60);
        tt::ScopedFont font(s.dc());
        RECT box = rc;
        DrawTextW(s.dc(), L"Hello", -1, &box, r.format);
        const tt::Box ink = tt::InkBox(s, kWhite);
        EXPECT_EQ(ink.left, r.x + bearing.left);
        EXPECT_EQ(ink.top, r.y + bearing.top);
        EXPECT_EQ(ink.right, r.x + bearing.right);
        EXPECT_EQ(ink.bottom, r.y + bearing.bottom);
    }
}

TEST(DrawTextLayout, ReturnValueAndCalcRect) {
    struct Row {
        const char* name;
        const wchar_t* text;
        UINT format;
        RECT in;
        int result;
        RECT out;  // after DT_CALCRECT
    };
    const Row rows[] = {
        {"one line", L"Hello", DT_CALCRECT, {3, 4, 200, 100}, 14, {3, 4, 32, 18}},
        {"two lines", L"Hello\nHello, World!", DT_CALCRECT, {0, 0, 200, 100}, 28, {0, 0, 77, 28}},
        {"crlf", L"a\r\na\r\na", DT_CALCRECT, {0, 0, 200, 100}, 42, {0, 0, 7, 42}},
        {"trailing newline adds no line", L"Hello\n", DT_CALCRECT, {0, 0, 200, 100}, 14, {0, 0, 29, 14}},
        {"lone newline", L"\n", DT_CALCRECT, {0, 0, 200, 100}, 14, {0, 0, 0, 14}},
        {"single line keeps newlines in", L"ab\ncd", DT_CALCRECT | DT_SINGLELINE, {0, 0, 200, 100}, 14, {0, 0, -1, 14}},
        {"empty string measures a line", L"", DT_CALCRECT, {5, 6, 50, 60}, 14, {5, 6, 5, 6}},
        {"vcenter", L"Hello", DT_CALCRECT | DT_SINGLELINE | DT_VCENTER, {0, 0, 100, 40}, 27, {0, 0, 29, 27}},
        {"bottom", L"Hello", DT_CALCRECT | DT_SINGLELINE | DT_BOTTOM, {0, 0, 100, 40}, 40, {0, 0, 29, 40}},
        {"bottom of an empty rect gives 1", L"Hello", DT_SINGLELINE | DT_BOTTOM, {0, 0, 100, 0}, 1, {0, 0, 100, 0}},
        {"word wrap keeps the space that fits", L"Hello Hello Hello", DT_CALCRECT | DT_WORDBREAK, {0, 0, 70, 100}, 28, {0, 0, 66, 28}},
    };
    kt::Surface s(8, 8);
    tt::ScopedFont font(s.dc());
    const int wAB = tt::Width(s.dc(), L"ab\ncd");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RECT rc = r.in;
        EXPECT_EQ(DrawTextW(s.dc(), r.text, -1, &rc, r.format), r.result);
        RECT want = r.out;
        if (want.right == -1) want.right = wAB;
        EXPECT_EQ(rc.left, want.left);
        EXPECT_EQ(rc.top, want.top);
        EXPECT_EQ(rc.right, want.right);
        EXPECT_EQ(rc.bottom, want.bottom);
    }
}

TEST(DrawTextLayout, WordBreakLineCounts) {
    struct Row {
        const char* name;
        const wchar_t* text;
        int width;
        UINT extra;
        int lines;
    };
    // "Hello" 29, space 4, "Hello Hello" 62.
    const Row rows[] = {
        {"fits", L"Hello Hello", 62, 0, 1},
        {"one short", L"Hello Hello", 61, 0, 2},
        {"three words", L"Hello Hello Hello", 62, 0, 2},
        {"narrow", L"Hello Hello Hello", 30, 0, 3},
        {"long word stays whole", L"Hellohellohello", 30, 0, 1},
        {"edit control breaks long words", L"Hellohellohello", 30, DT_EDITCONTROL, 3},
        {"newlines and wrapping", L"Hello Hello\nHello", 40, 0, 3},
        {"one space of a run is dropped at the break", L"Hello     Hello", 40, 0, 2},
    };
    kt::Surface s(8, 8);
    tt::ScopedFont font(s.dc());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RECT rc{0, 0, r.width, 500};
        EXPECT_EQ(DrawTextW(s.dc(), r.text, -1, &rc, DT_WORDBREAK | DT_CALCRECT | r.extra), 14 * r.lines);
    }
}

TEST(DrawTextLayout, WordBreakKeepsTheSpacesThatFit) {
    struct Row {
        const char* name;
        const wchar_t* text;
        int width;
        UINT align;
        int right;  // DT_CALCRECT
    };
    // "Hello" 29, space 4: the spaces before a break that fit count in the line's width,
    // all of them left aligned, all but the last one centred or right aligned.
    const Row rows[] = {
        {"left: one space", L"Hello Hello Hello", 70, DT_LEFT, 66},
        {"left: two of a run of five", L"Hello     Hello", 40, DT_LEFT, 37},
        {"centred: all but the last", L"Hello Hello Hello", 70, DT_CENTER, 62},
        {"right: all but the last", L"Hello  Hello", 40, DT_RIGHT, 33},
        {"break inside a word that does not fit", L"Hello Hello", 40, DT_LEFT, 33},
        {"last line has no break", L"Hello Hello ", 62, DT_LEFT, 62},
    };
    kt::Surface s(8, 8);
    tt::ScopedFont font(s.dc());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RECT rc{0, 0, r.width, 0};
        DrawTextW(s.dc(), r.text, -1, &rc, DT_WORDBREAK | DT_CALCRECT | r.align);
        EXPECT_EQ(rc.right, r.right);
    }
}

TEST(DrawTextLayout, LongWordWidensCalcRect) {
    kt::Surface s(8, 8);
    tt::ScopedFont font(s.dc());
    RECT rc{0, 0, 30, 0};
    DrawTextW(s.dc(), L"Hi Hellohellohello", -1, &rc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(rc.right, tt::Width(s.dc(), L"Hellohellohello"));
    EXPECT_EQ(rc.bottom, 28);
}

TEST(DrawTextLayout, WrappedLinesDrawLikeSeparateLines) {
    kt::Surface expected(80, 50), s(80, 50);
    {
        tt::ScopedFont font(expected.dc());
        TextOutW(expected.dc(), 0, 0, L"Hello", 5);
        TextOutW(expected.dc(), 0, 14, L"World", 5);
    }
    tt::ScopedFont font(s.dc());
    RECT rc{0, 0, 45, 50};
    DrawTextW(s.dc(), L"Hello World", -1, &rc, DT_WORDBREAK);
    EXPECT_EQ(tt::DiffCount(s, expected), 0);
}

TEST(DrawTextLayout, EndEllipsisTruncatesToTheLongestFittingPrefix) {
    struct Row {
        const char* name;
        const wchar_t* text;
        int width;
        const wchar_t* shown;
    };
    // H 9 e 7 l 3 o 7, ',' 4, "..." 12.
    const Row rows[] = {
        {"fits untouched", L"Hello", 29, L"Hello"},
        {"one short", L"Hello", 28, L"He..."},  // "He" 16 + 12 = 28; "Hel" 19 + 12 = 31
        {"room for H", L"Hello, World!", 22, L"H..."},
        {"not even dots fit", L"Hello", 5, L"..."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(100, 20), expected(100, 20);
        tt::ScopedFont font(s.dc());
        tt::ScopedFont font2(expected.dc());
        RECT rc{0, 0, r.width, 20};
        DrawTextW(s.dc(), r.text, -1, &rc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
        RECT rc2{0, 0, 100, 20};
        DrawTextW(expected.dc(), r.shown, -1, &rc2, DT_SINGLELINE | DT_NOCLIP);
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
        RECT calc{0, 0, r.width, 20};
        DrawTextW(s.dc(), r.text, -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
        EXPECT_EQ(calc.right, tt::Width(s.dc(), r.shown));
        if (std::wstring(r.shown) != L"...") {
            EXPECT_LE(calc.right, r.width);
        }
    }
}

TEST(DrawTextLayout, PrefixUnderlinesTheFirstMarkedCharacter) {
    kt::Surface s(60, 20), plain(60, 20);
    tt::ScopedFont font(s.dc());
    tt::ScopedFont font2(plain.dc());
    RECT rc{4, 2, 60, 20};
    DrawTextW(s.dc(), L"H&ell&o", -1, &rc, DT_SINGLELINE);
    RECT rc2 = rc;
    DrawTextW(plain.dc(), L"Hello", -1, &rc2, DT_SINGLELINE);
    // The only difference is the underline of 'e' (x 13..19) at y = 2 + 11 + 1; the second
    // marked character, 'o', is not underlined.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            if (y == 14 && x >= 13 && x < 20)
                ASSERT_EQ(s.at(x, y), kBlack) << x;
            else
                ASSERT_EQ(s.at(x, y), plain.at(x, y)) << x << "," << y;
        }
}

TEST(DrawTextLayout, PrefixEscapesAndFlags) {
    struct Row {
        const char* name;
        const wchar_t* text;
        UINT format;
        const wchar_t* same;  // drawn with DT_NOPREFIX, gives the same picture
        bool underlined;      // ...plus an underline of the first character
    };
    const Row rows[] = {
        {"double ampersand", L"a&&b", 0, L"a&b", false},
        {"final lone ampersand kept", L"ab&", 0, L"ab&", false},
        {"noprefix keeps everything", L"&a&&b", DT_NOPREFIX, L"&a&&b", false},
        {"hideprefix strips without underline", L"&ab", DT_HIDEPREFIX, L"ab", false},
        {"prefix first character", L"&ab", 0, L"ab", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(60, 20), expected(60, 20);
        tt::ScopedFont font(s.dc());
        tt::ScopedFont font2(expected.dc());
        RECT rc{0, 0, 60, 20};
        DrawTextW(s.dc(), r.text, -1, &rc, DT_SINGLELINE | r.format);
        RECT rc2{0, 0, 60, 20};
        DrawTextW(expected.dc(), r.same, -1, &rc2, DT_SINGLELINE | DT_NOPREFIX);
        if (r.underlined) {
            // 'a' advances 7: the underline covers x 0..6 at y 12.
            for (int x = 0; x < 7; ++x) expected.set(x, 12, kBlack);
        }
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
    }
}

TEST(DrawTextLayout, PrefixOnlyDrawsJustTheUnderline) {
    kt::Surface s(60, 20);
    tt::ScopedFont font(s.dc());
    RECT rc{0, 0, 60, 20};
    DrawTextW(s.dc(), L"a&bc", -1, &rc, DT_SINGLELINE | DT_PREFIXONLY);
    const tt::Box ink = tt::InkBox(s, kWhite);
    EXPECT_EQ(ink.left, 7);  // after 'a'; 'b' advances 8
    EXPECT_EQ(ink.right, 15);
    EXPECT_EQ(ink.top, 12);
    EXPECT_EQ(ink.bottom, 13);
}

TEST(DrawTextLayout, TabsExpandToStops) {
    struct Row {
        const char* name;
        const wchar_t* text;
        UINT format;
        int secondX;  // where "b" starts
    };
    // Default stops every 8 average characters: 48 pixels.
    const Row rows[] = {
        {"default stops", L"a\tb", DT_EXPANDTABS, 48},
        {"tab stop of 4", L"a\tb", DT_EXPANDTABS | DT_TABSTOP | (4 << 8), 24},
        {"past a stop", L"Hello, World!\tb", DT_EXPANDTABS | DT_TABSTOP | (2 << 8), 84},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(120, 20), expected(120, 20);
        tt::ScopedFont font(s.dc());
        tt::ScopedFont font2(expected.dc());
        RECT rc{0, 0, 120, 20};
        DrawTextW(s.dc(), r.text, -1, &rc, DT_SINGLELINE | r.format);
        const std::wstring text(r.text);
        const std::wstring first = text.substr(0, text.find(L'\t'));
        SetBkMode(expected.dc(), TRANSPARENT);
        TextOutW(expected.dc(), 0, 0, first.c_str(), int(first.size()));
        TextOutW(expected.dc(), r.secondX, 0, L"b", 1);
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
        if (!(r.format & DT_TABSTOP)) {  // DT_CALCRECT would be read as part of the tab size
            RECT calc{0, 0, 120, 20};
            DrawTextW(s.dc(), r.text, -1, &calc, DT_SINGLELINE | DT_CALCRECT | r.format);
            EXPECT_EQ(calc.right, r.secondX + tt::Width(s.dc(), L"b"));
        }
    }
}

TEST(DrawTextLayout, ClipsToTheRectangleUnlessNoClip) {
    struct Row {
        const char* name;
        UINT format;
        bool inkOutside;
    };
    const Row rows[] = {{"clipped", 0, false}, {"noclip", DT_NOCLIP, true}};
    const RECT rc{10, 10, 30, 16};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(80, 40);
        tt::ScopedFont font(s.dc());
        RECT box = rc;
        DrawTextW(s.dc(), L"Hello, World!", -1, &box, DT_SINGLELINE | r.format);
        EXPECT_EQ(tt::InkOutside(s, rc, kWhite) > 0, r.inkOutside);
    }
}

TEST(DrawTextLayout, ExtremeRectanglesDrawNothing) {
    const RECT rows[] = {
        {INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN + 1},
    };
    for (const RECT& r : rows) {
        kt::Surface s(40, 20);
        tt::ScopedFont font(s.dc());
        for (UINT format : {UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP),
                            UINT(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), UINT(DT_WORDBREAK | DT_END_ELLIPSIS)}) {
            RECT rc = r;
            DrawTextW(s.dc(), L"Hello World", -1, &rc, format);
        }
        const wchar_t* text = L"&Hello";
        DrawStateW(s.dc(), nullptr, nullptr, LPARAM(text), 0, r.left, r.top, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
        EXPECT_TRUE(tt::InkBox(s, kWhite).empty) << r.left << "," << r.top;
    }
}

TEST(DrawTextLayout, OpaqueModeFillsEachLineCell) {
    kt::Surface s(80, 40, RGB(0, 0, 255));
    tt::ScopedFont font(s.dc());
    SetBkColor(s.dc(), RGB(0, 255, 0));
    SetBkMode(s.dc(), OPAQUE);
    RECT rc{0, 0, 80, 40};
    DrawTextW(s.dc(), L"...\n..", -1, &rc, 0);  // cells 12 x 14 and 8 x 14
    EXPECT_EQ(s.at(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(s.at(11, 13), RGB(0, 255, 0));
    EXPECT_EQ(s.at(12, 0), RGB(0, 0, 255));
    EXPECT_EQ(s.at(7, 14), RGB(0, 255, 0));
    EXPECT_EQ(s.at(8, 14), RGB(0, 0, 255));
    EXPECT_EQ(s.at(0, 28), RGB(0, 0, 255));
}

TEST(DrawTextLayout, ExternalLeadingAndCountArgument) {
    kt::Surface s(8, 8);
    tt::ScopedFont font(s.dc());
    const TEXTMETRICW tm = tt::Metrics(s.dc());
    RECT rc{0, 0, 100, 100};
    EXPECT_EQ(DrawTextW(s.dc(), L"a\nb", -1, &rc, DT_CALCRECT | DT_EXTERNALLEADING),
              2 * (tm.tmHeight + tm.tmExternalLeading));
    rc = RECT{0, 0, 100, 100};
    EXPECT_EQ(DrawTextW(s.dc(), L"Hello\nmore", 5, &rc, DT_CALCRECT), 14);  // only "Hello"
    EXPECT_EQ(rc.right, 29);
    EXPECT_EQ(DrawTextW(s.dc(), nullptr, -1, &rc, 0), 0);
    SKIP_UNDER_WINE("DrawTextW writes through a null rectangle (crash)");
    EXPECT_EQ(DrawTextW(s.dc(), L"a", -1, nullptr, 0), 0);
}

}  // namespace
