// DrawStateW: text and prefixed text in the normal and disabled looks.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kHilight = RGB(255, 255, 255), kShadow = RGB(128, 128, 128);

// The looks other than the normal one: the text drawn black into a white monochrome
// image of the cell's size, whose black pixels are then painted in the colour at the
// cell's origin (a blit that takes the brush where the source is 0 and keeps the
// destination elsewhere).
void PaintMask(HDC dc, const wchar_t* text, UINT format, const RECT& cell, COLORREF color) {
    const int cx = cell.right - cell.left, cy = cell.bottom - cell.top;
    kt::Surface mask(cx, cy, tt::kWhite, kt::Surface::Format::Mono);
    HGDIOBJ oldFont = SelectObject(mask.dc(), GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(mask.dc(), TRANSPARENT);
    tt::DrawTextIn(RECT{0, 0, cx, cy}, text, format)(mask.dc());
    SelectObject(mask.dc(), oldFont);
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const COLORREF oldText = SetTextColor(dc, tt::kBlack), oldBk = SetBkColor(dc, tt::kWhite);
    BitBlt(dc, cell.left, cell.top, cx, cy, mask.dc(), 0, 0, 0x00B8074A);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

RECT ExtentAt(HDC dc, const wchar_t* text, int x, int y) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    return RECT{x, y, x + size.cx, y + size.cy};
}

// At (10, 5) with the size left to the text, on a DC with a navy text colour and a
// background colour of its own.
TEST(StateDrawing, Looks) {
    const COLORREF kNavy = RGB(0, 0, 128), kRed = RGB(200, 0, 0);
    const struct {
        const char* name;
        const wchar_t* text;
        UINT flags;
        int bkMode;
        bool redBrush;  // hbrFore: a red brush, or none
    } rows[] = {
        {"normal is DrawText's in the DC's colours, the cell filled", L"Hello", DST_TEXT, OPAQUE, true},
        {"normal transparent", L"Hello", DST_TEXT, TRANSPARENT, false},
        {"normal text keeps its ampersand", L"&Hello", DST_TEXT, TRANSPARENT, false},
        {"normal prefixed text underlines", L"&Hello", DST_PREFIXTEXT, OPAQUE, false},
        {"disabled: highlight down and right, shadow over it", L"Hello", DST_TEXT | DSS_DISABLED, OPAQUE, false},
        {"disabled prefixed: the extent counts the ampersand", L"Hell&o", DST_PREFIXTEXT | DSS_DISABLED, TRANSPARENT,
         false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::TextSurface s(80, 30, kFace), expected(80, 30, kFace);
        for (HDC dc : {s.dc(), expected.dc()}) {
            SetTextColor(dc, kNavy);
            SetBkColor(dc, RGB(1, 2, 3));
            SetBkMode(dc, r.bkMode);
        }
        HBRUSH brush = r.redBrush ? CreateSolidBrush(kRed) : nullptr;
        const BOOL drawn = DrawStateW(s.dc(), brush, nullptr, LPARAM(r.text), 0, 10, 5, 0, 0, r.flags);
        if (brush) DeleteObject(brush);
        const UINT format = DT_NOCLIP | ((r.flags & 0xF) == DST_TEXT ? DT_NOPREFIX : 0);
        const RECT cell = ExtentAt(s.dc(), r.text, 10, 5);
        if (r.flags & DSS_DISABLED) {
            EXPECT_EQ(drawn, TRUE);
            PaintMask(expected.dc(), r.text, format, RECT{11, 6, cell.right + 1, cell.bottom + 1}, kHilight);
            PaintMask(expected.dc(), r.text, format, cell, kShadow);
        } else {
            RECT rc{10, 5, 10, 5};
            EXPECT_EQ(drawn, DrawTextW(expected.dc(), r.text, -1, &rc, format));  // the line height
        }
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
        EXPECT_EQ(GetTextColor(s.dc()), kNavy);
        EXPECT_EQ(GetBkColor(s.dc()), RGB(1, 2, 3));
        EXPECT_EQ(GetBkMode(s.dc()), r.bkMode);
    }
}

TEST(StateDrawing, DisabledIsOnlyTheTwoSystemColours) {
    tt::TextSurface s(80, 30, kFace);  // an antialiased font
    DrawStateW(s.dc(), nullptr, nullptr, LPARAM(L"Hello"), 0, 10, 5, 0, 0, DST_TEXT | DSS_DISABLED);
    int hilight = 0, shadow = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const COLORREF c = s.at(x, y);
            ASSERT_TRUE(c == kFace || c == kHilight || c == kShadow) << x << "," << y;
            hilight += c == kHilight;
            shadow += c == kShadow;
        }
    EXPECT_GT(hilight, 0);
    EXPECT_GT(shadow, hilight);  // the shadow pass lands on top
}

TEST(StateDrawing, PrefixTextLengthAndSize) {
    const auto six = [](HDC dc) {  // the length argument keeps "&Hello"
        DrawStateW(dc, nullptr, nullptr, LPARAM(L"&Hello world"), 6, 3, 4, 0, 0, DST_PREFIXTEXT);
    };
    EXPECT_EQ(0, tt::PictureDiff(80, 30, six, tt::DrawTextIn(RECT{3, 4, 3, 4}, L"&Hello", DT_NOCLIP)));
    // A given size does not cut the normal look; it cuts the disabled look.
    const wchar_t* text = L"Hello, World!";
    tt::TextSurface normal(80, 30), disabled(80, 30);
    DrawStateW(normal.dc(), nullptr, nullptr, LPARAM(text), 0, 5, 5, 20, 8, DST_TEXT);
    DrawStateW(disabled.dc(), nullptr, nullptr, LPARAM(text), 0, 5, 5, 20, 8, DST_TEXT | DSS_DISABLED);
    EXPECT_GT(tt::InkOutside(normal, RECT{5, 5, 25, 13}), 0);
    EXPECT_EQ(tt::InkOutside(disabled, RECT{5, 5, 26, 14}), 0);
    EXPECT_GT(tt::Ink(disabled), 0);
}

TEST(StateDrawing, TextReturnValues) {
    const int kLine = -1;  // the font's line height, as DrawText returns it
    const struct {
        const char* name;
        const wchar_t* text;
        int cx;
        UINT flags;
        int result;
    } rows[] = {
        {"empty normal: DrawText's one line", L"", 0, DST_TEXT, kLine},
        {"empty disabled draws nothing, succeeds", L"", 0, DST_TEXT | DSS_DISABLED, TRUE},
        {"negative width disabled", L"Hi", -5, DST_PREFIXTEXT | DSS_DISABLED, TRUE},
        {"no string", nullptr, 0, DST_TEXT, FALSE},
        {"no string disabled", nullptr, 0, DST_TEXT | DSS_DISABLED, FALSE},
    };
    for (const auto& r : rows) {
        tt::TextSurface s(40, 20);
        const int expected = r.result == kLine ? int(tt::Metrics(s.dc()).tmHeight) : r.result;
        EXPECT_EQ(DrawStateW(s.dc(), nullptr, nullptr, LPARAM(r.text), 0, 2, 2, r.cx, 0, r.flags), expected) << r.name;
        EXPECT_EQ(0, tt::Ink(s)) << r.name;
    }
}

}  // namespace
