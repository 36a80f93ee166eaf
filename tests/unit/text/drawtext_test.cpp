// DrawTextW: alignment, results and DT_CALCRECT, word breaking, ellipsis, tabs, extreme
// rectangles.
#include <gtest/gtest.h>

#include <initializer_list>

#include "text_test_util.h"

using tt::kBlack;
using tt::kWhite;

namespace {

// DejaVu Sans at -12: tmHeight 14, tmAscent 11, tmAveCharWidth 6; "Hello" is 29 wide.
TEST(DrawTextLayout, AlignmentPlacesTheTextCell) {
    const struct {
        const char* name;
        UINT format;
        int x, y;  // expected cell origin
    } rows[] = {
        {"left top", DT_LEFT | DT_TOP, 10, 5},
        {"center", DT_CENTER, (10 + 110 - 29) / 2, 5},
        {"right", DT_RIGHT, 110 - 29, 5},
        {"vcenter single", DT_VCENTER | DT_SINGLELINE, 10, 5 + 41 / 2 - 14 / 2},
        {"bottom single", DT_BOTTOM | DT_SINGLELINE, 10, 46 - 14},
        {"vcenter multi-line is ignored", DT_VCENTER, 10, 5},
        {"bottom multi-line is ignored", DT_BOTTOM, 10, 5},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const RECT box{10, 5, 110, 46};  // 100 x 41
        EXPECT_EQ(0, tt::DiffFromTextOut(120, 60, tt::DrawTextIn(box, L"Hello", r.format), r.x, r.y, L"Hello"));
    }
}

TEST(DrawTextLayout, ReturnValueAndCalcRect) {
    const struct {
        const char* name;
        const wchar_t* text;
        UINT format;
        RECT in;
        int result;
        RECT out;  // after DT_CALCRECT; right -1: the extent of the text
    } rows[] = {
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
        {"word wrap keeps the space that fits", L"Hello Hello Hello", DT_CALCRECT | DT_WORDBREAK, {0, 0, 70, 100}, 28,
         {0, 0, 66, 28}},
    };
    tt::TextSurface s(8, 8);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        RECT rc = r.in, want = r.out;
        if (want.right == -1) want.right = tt::Width(s.dc(), r.text);
        EXPECT_EQ(DrawTextW(s.dc(), r.text, -1, &rc, r.format), r.result);
        EXPECT_TRUE(EqualRect(&rc, &want)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    }
}

// Lines break after the last whole word that fits with the spaces after it; the spaces
// before a break that fit count in the line's width (all of them left aligned, all but
// the last one centred or right aligned); the one space at the break is dropped.
// "Hello" 29, space 4, "Hello Hello" 62.
TEST(DrawTextLayout, WordBreaking) {
    const struct {
        const char* name;
        const wchar_t* text;
        int width;
        UINT format;
        int lines, right;  // DT_CALCRECT; right -1: the width of "Hellohellohello"
    } rows[] = {
        {"fits", L"Hello Hello", 62, DT_LEFT, 1, 62},
        {"one short", L"Hello Hello", 61, DT_LEFT, 2, 33},
        {"three words, one space kept", L"Hello Hello Hello", 70, DT_LEFT, 2, 66},
        {"narrow: no space fits", L"Hello Hello Hello", 30, DT_LEFT, 3, 29},
        {"long word stays whole", L"Hellohellohello", 30, DT_LEFT, 1, -1},
        {"long word widens the rectangle", L"Hi Hellohellohello", 30, DT_LEFT, 2, -1},
        {"newlines and wrapping", L"Hello Hello\nHello", 40, DT_LEFT, 3, 33},
        {"two of a run of five kept, one dropped", L"Hello     Hello", 40, DT_LEFT, 2, 37},
        {"centred: all but the last", L"Hello Hello Hello", 70, DT_CENTER, 2, 62},
        {"a trailing space that fits", L"Hello Hello ", 66, DT_LEFT, 1, 66},
        {"a trailing space that does not fit moves its word", L"Hello Hello ", 62, DT_LEFT, 2, 33},
        {"a space that does not fit moves its word", L"Hello Hello Hello ", 62, DT_LEFT, 3, 33},
    };
    tt::TextSurface s(8, 8);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        RECT rc{0, 0, r.width, 0};
        EXPECT_EQ(DrawTextW(s.dc(), r.text, -1, &rc, DT_WORDBREAK | DT_CALCRECT | r.format), 14 * r.lines);
        EXPECT_EQ(rc.right, r.right == -1 ? tt::Width(s.dc(), L"Hellohellohello") : r.right);
    }
    const auto lines = [](HDC dc) { TextOutW(dc, 0, 0, L"Hello", 5), TextOutW(dc, 0, 14, L"World", 5); };
    EXPECT_EQ(0, tt::PictureDiff(80, 50, tt::DrawTextIn(RECT{0, 0, 45, 50}, L"Hello World", DT_WORDBREAK), lines));
}

TEST(DrawTextLayout, EndEllipsisTruncatesToTheLongestFittingPrefix) {
    // H 9 e 7 l 3 o 7, ',' 4, "..." 12.
    const struct {
        const char* name;
        const wchar_t* text;
        int width;
        const wchar_t* shown;
    } rows[] = {
        {"fits untouched", L"Hello", 29, L"Hello"},
        {"one short", L"Hello", 28, L"He..."},  // "He" 16 + 12 = 28; "Hel" 19 + 12 = 31
        {"not even dots fit", L"Hello", 5, L"..."},
    };
    tt::TextSurface s(8, 8);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto draw = tt::DrawTextIn(RECT{0, 0, r.width, 20}, r.text, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
        EXPECT_EQ(0, tt::DiffFromTextOut(100, 20, draw, 0, 0, r.shown));
        RECT calc{0, 0, r.width, 20};
        DrawTextW(s.dc(), r.text, -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
        EXPECT_EQ(calc.right, tt::Width(s.dc(), r.shown));
    }
}

TEST(DrawTextLayout, TabsExpandToStops) {
    const struct {
        const char* name;
        const wchar_t* text;
        UINT format;
        int secondX;  // where "b" starts
    } rows[] = {
        {"default stops", L"a\tb", DT_EXPANDTABS, 48},  // every 8 average characters
        {"past a stop", L"Hello, World!\tb", DT_EXPANDTABS, 96},
    };
    tt::TextSurface s(8, 8);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::wstring text(r.text), first = text.substr(0, text.find(L'\t'));
        const auto expected = [&](HDC dc) {
            SetBkMode(dc, TRANSPARENT);
            TextOutW(dc, 0, 0, first.c_str(), int(first.size())), TextOutW(dc, r.secondX, 0, L"b", 1);
        };
        EXPECT_EQ(0, tt::PictureDiff(120, 20, tt::DrawTextIn(RECT{0, 0, 120, 20}, r.text, DT_SINGLELINE | r.format),
                                     expected));
        RECT calc{0, 0, 120, 20};
        DrawTextW(s.dc(), r.text, -1, &calc, DT_SINGLELINE | DT_CALCRECT | r.format);
        EXPECT_EQ(calc.right, r.secondX + tt::Width(s.dc(), L"b"));
    }
}

TEST(DrawTextLayout, ExtremeRectanglesDrawNothing) {
    const RECT rows[] = {
        {INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN + 1},
    };
    for (const RECT& r : rows) {
        tt::TextSurface s(40, 20);
        for (UINT format : {UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP),
                            UINT(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), UINT(DT_WORDBREAK | DT_END_ELLIPSIS)}) {
            RECT rc = r;
            DrawTextW(s.dc(), L"Hello World", -1, &rc, format);
        }
        DrawStateW(s.dc(), nullptr, nullptr, LPARAM(L"&Hello"), 0, r.left, r.top, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
        EXPECT_EQ(0, tt::Ink(s)) << r.left << "," << r.top;
    }
}

}  // namespace
