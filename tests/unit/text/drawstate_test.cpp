// DrawStateW: text and prefixed text in the normal, mono and disabled looks, callbacks.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kHilight = RGB(255, 255, 255), kShadow = RGB(128, 128, 128);

// What DrawState should produce, drawn by hand with TextOut in transparent mode.
void DrawPass(HDC dc, int x, int y, const wchar_t* text, COLORREF color) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    TextOutW(dc, x, y, text, int(wcslen(text)));
}

TEST(StateDrawing, Looks) {
    const struct {
        const char* name;
        UINT flags;
        bool disabled;
        COLORREF color;  // normal and mono looks
    } rows[] = {
        {"normal uses the text colour", DST_TEXT | DSS_NORMAL, false, RGB(0, 0, 128)},
        {"mono uses the brush", DST_TEXT | DSS_MONO, false, RGB(200, 0, 0)},
        {"disabled", DST_TEXT | DSS_DISABLED, true, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::TextSurface s(80, 30, kFace), expected(80, 30, kFace);
        SetTextColor(s.dc(), RGB(0, 0, 128));
        SetBkColor(s.dc(), RGB(1, 2, 3));
        SetBkMode(s.dc(), OPAQUE);
        HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
        ASSERT_TRUE(DrawStateW(s.dc(), brush, nullptr, LPARAM(L"Hello"), 0, 10, 5, 0, 0, r.flags));
        DeleteObject(brush);
        if (r.disabled) {
            DrawPass(expected.dc(), 11, 6, L"Hello", kHilight);
            DrawPass(expected.dc(), 10, 5, L"Hello", kShadow);
        } else {
            DrawPass(expected.dc(), 10, 5, L"Hello", r.color);
        }
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
        // The DC's colours and mode are as they were; no background was filled.
        EXPECT_EQ(GetTextColor(s.dc()), RGB(0, 0, 128));
        EXPECT_EQ(GetBkColor(s.dc()), RGB(1, 2, 3));
        EXPECT_EQ(GetBkMode(s.dc()), OPAQUE);
    }
}

TEST(StateDrawing, DisabledUsesExactlyTheTwoSystemColoursWhereInkIsSolid) {
    tt::FontSpec spec;
    spec.quality = NONANTIALIASED_QUALITY;
    tt::TextSurface s(80, 30, kFace, spec);
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
    EXPECT_EQ(0, tt::PictureDiff(
                     80, 30,
                     [](HDC dc) {  // the length argument keeps "&Hello"
                         DrawStateW(dc, nullptr, nullptr, LPARAM(L"&Hello world"), 6, 3, 4, 0, 0, DST_PREFIXTEXT);
                     },
                     [](HDC dc) {
                         RECT rc{3, 4, 80, 30};
                         SetBkMode(dc, TRANSPARENT);
                         DrawTextW(dc, L"&Hello", -1, &rc, DT_SINGLELINE);
                     }));
    tt::TextSurface s(80, 30);  // a given size limits the drawing
    DrawStateW(s.dc(), nullptr, nullptr, LPARAM(L"Hello, World!"), 0, 5, 5, 20, 8, DST_TEXT);
    EXPECT_EQ(tt::InkOutside(s, RECT{5, 5, 25, 13}), 0);
    EXPECT_FALSE(tt::InkBox(s).empty);
}

BOOL CALLBACK FillCallback(HDC dc, LPARAM lData, WPARAM wData, int cx, int cy) {
    // Draws a 3 x 2 block at (1, 1) of the image in the colour passed as lData.
    HBRUSH brush = CreateSolidBrush(COLORREF(lData));
    RECT rc{1, 1, 4, 3};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    return wData == 7 && cx == 10 && cy == 6;
}

TEST(StateDrawing, ComplexCallbackLooks) {
    // Block at image (1, 1)-(4, 3), image at (10, 20): surface (11, 21)-(14, 23).
    const struct {
        const char* name;
        UINT flags;
        COLORREF at11, at22;  // surface (11, 21) and (12, 22): block origin and its (+1, +1)
        COLORREF at44;        // surface (14, 23): right of the block, hit only by the highlight copy
    } rows[] = {
        {"normal", DST_COMPLEX, RGB(0, 0, 255), RGB(0, 0, 255), kFace},
        {"disabled", DST_COMPLEX | DSS_DISABLED, kShadow, kShadow, kHilight},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(40, 40, kFace);
        EXPECT_TRUE(DrawStateW(s.dc(), nullptr, FillCallback, LPARAM(RGB(0, 0, 255)), 7, 10, 20, 10, 6, r.flags));
        EXPECT_EQ(s.at(11, 21), r.at11);
        EXPECT_EQ(s.at(12, 22), r.at22);
        EXPECT_EQ(s.at(14, 23), r.at44);
        EXPECT_EQ(s.at(10, 20), kFace);
        EXPECT_EQ(tt::InkOutside(s, RECT{11, 21, 15, 24}, kFace), 0);
    }
    kt::Surface s(8, 8);
    EXPECT_FALSE(DrawStateW(s.dc(), nullptr, nullptr, 0, 0, 0, 0, 10, 6, DST_COMPLEX));
    EXPECT_FALSE(DrawStateW(s.dc(), nullptr, FillCallback, 0, 7, 0, 0, 0, 0, DST_COMPLEX));
}

}  // namespace
