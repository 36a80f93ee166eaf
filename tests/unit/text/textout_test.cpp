// ExtTextOutW / TextOutW: placement, alignment, fills, colours, clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "text_test_util.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

TEST(TextOutput, InkLiesWithinTheExtentCell) {
    kt::Surface s(80, 30);
    tt::ScopedFont font(s.dc());
    SetBkMode(s.dc(), TRANSPARENT);
    ASSERT_TRUE(TextOutW(s.dc(), 10, 5, L"Hello", 5));
    const tt::Box ink = tt::InkBox(s, kWhite);
    ASSERT_FALSE(ink.empty);
    // Extent 29 x 14 at (10, 5): H's stem starts a pixel in, o ends inside its advance.
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.left, 12);
    EXPECT_LE(ink.right, 10 + 29);
    EXPECT_GE(ink.right, 10 + 29 - 2);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 5 + 11);  // nothing in "Hello" descends below the baseline
    // 'l' rises 1556/2048 em (9.1 pixels): its top row is at most partly covered.
    EXPECT_GE(ink.top, 5 + 11 - 10);
    EXPECT_LE(ink.top, 5 + 11 - 9);
}

TEST(TextOutput, AlignmentFlagsMoveTheCell) {
    struct Row {
        const char* name;
        UINT align;
        int x, y;  // reference point giving the same picture as TA_LEFT|TA_TOP at (20, 10)
    };
    // "Hello" is 29 wide; ascent 11, height 14.
    const Row rows[] = {
        {"right", TA_RIGHT | TA_TOP, 20 + 29, 10},
        {"center", TA_CENTER | TA_TOP, 20 + 29 / 2, 10},
        {"baseline", TA_LEFT | TA_BASELINE, 20, 10 + 11},
        {"bottom", TA_LEFT | TA_BOTTOM, 20, 10 + 14},
        {"right baseline", TA_RIGHT | TA_BASELINE, 20 + 29, 10 + 11},
    };
    kt::Surface expected(80, 40);
    {
        tt::ScopedFont font(expected.dc());
        TextOutW(expected.dc(), 20, 10, L"Hello", 5);
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(80, 40);
        tt::ScopedFont font(s.dc());
        SetTextAlign(s.dc(), r.align);
        TextOutW(s.dc(), r.x, r.y, L"Hello", 5);
        EXPECT_EQ(tt::DiffCount(s, expected), 0);
    }
}

TEST(TextOutput, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    kt::Surface expected(80, 30), s(80, 30);
    {
        tt::ScopedFont font(expected.dc());
        TextOutW(expected.dc(), 5, 3, L"Hello", 5);
    }
    tt::ScopedFont font(s.dc());
    MoveToEx(s.dc(), 5, 3, nullptr);
    SetTextAlign(s.dc(), TA_UPDATECP);
    TextOutW(s.dc(), 70, 70, L"He", 2);  // x, y are ignored
    TextOutW(s.dc(), 70, 70, L"llo", 3);
    EXPECT_EQ(tt::DiffCount(s, expected), 0);
    POINT cp{};
    GetCurrentPositionEx(s.dc(), &cp);
    EXPECT_EQ(cp.x, 5 + 29);
    EXPECT_EQ(cp.y, 3);
}

TEST(TextOutput, OpaqueModeFillsExactlyTheCell) {
    kt::Surface s(60, 30, RGB(0, 0, 255));
    tt::ScopedFont font(s.dc());
    SetBkMode(s.dc(), OPAQUE);
    SetBkColor(s.dc(), RGB(0, 255, 0));
    SetTextColor(s.dc(), RGB(255, 0, 0));
    TextOutW(s.dc(), 7, 4, L"...", 3);  // 12 x 14 cell at (7, 4)
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inCell = x >= 7 && x < 19 && y >= 4 && y < 18;
            const COLORREF c = s.at(x, y);
            if (!inCell) {
                ASSERT_EQ(c, RGB(0, 0, 255)) << x << "," << y;
            } else {
                // Only blends of text red over background green inside the cell.
                ASSERT_EQ(GetBValue(c), 0) << x << "," << y;
                ASSERT_EQ(GetRValue(c) + GetGValue(c), 255) << x << "," << y;
            }
        }
    EXPECT_EQ(s.at(7, 4), RGB(0, 255, 0));
    EXPECT_EQ(s.at(18, 17), RGB(0, 255, 0));
}

TEST(TextOutput, TransparentModeLeavesTheBackground) {
    kt::Surface s(60, 30, RGB(0, 0, 255));
    tt::ScopedFont font(s.dc());
    SetBkMode(s.dc(), TRANSPARENT);
    SetBkColor(s.dc(), RGB(0, 255, 0));
    TextOutW(s.dc(), 7, 4, L"...", 3);
    EXPECT_EQ(s.at(7, 4), RGB(0, 0, 255));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(GetGValue(s.at(x, y)), 0) << x << "," << y;
}

TEST(TextOutput, EtoOpaqueFillsTheRectangleWithTheBackgroundColour) {
    kt::Surface s(20, 10, kWhite);
    SetBkColor(s.dc(), RGB(10, 20, 30));
    const RECT rc{2, 3, 6, 5};
    ASSERT_TRUE(ExtTextOutW(s.dc(), 0, 0, ETO_OPAQUE, &rc, L"", 0, nullptr));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool in = x >= 2 && x < 6 && y >= 3 && y < 5;
            ASSERT_EQ(s.at(x, y), in ? RGB(10, 20, 30) : kWhite) << x << "," << y;
        }
}

// Fills are stored four pixels at a time with an overlapping last store, row by row when
// narrow, copied down when wide and copied as one block when they cover whole rows:
// every width around those steps, at odd offsets.
TEST(TextOutput, EtoOpaqueFillsEveryWidthExactly) {
    constexpr int kW = 100, kH = 5;
    for (int width : {1, 2, 3, 4, 5, 7, 8, 15, 16, 17, 19, 20, 33, 63, 64, 65, 97, 100}) {
        for (int left : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << width << " wide at " << left);
            kt::Surface s(kW, kH, kWhite);
            SetBkColor(s.dc(), RGB(10, 20, 30));
            const RECT rc{left, 1, std::min(left + width, kW), 4};
            ASSERT_TRUE(ExtTextOutW(s.dc(), 0, 0, ETO_OPAQUE, &rc, L"", 0, nullptr));
            int wrong = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const bool in = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
                    wrong += s.at(x, y) != (in ? RGB(10, 20, 30) : kWhite);
                }
            EXPECT_EQ(wrong, 0);
        }
    }
}

// Whole rows of a surface are one block: stored as one run when small, first row copied
// down in doubling steps when large. Both sides of that step, and the rows around it.
TEST(TextOutput, EtoOpaqueFillsWholeRowsOfEverySurfaceWidth) {
    for (int kW : {1, 3, 5, 12, 20, 63, 64, 65, 100}) {
        for (int rows : {1, 2, 3, 4, 5, 6}) {
            SCOPED_TRACE(testing::Message() << rows << " rows of " << kW);
            const int kH = rows + 2;
            kt::Surface s(kW, kH, kWhite);
            SetBkColor(s.dc(), RGB(10, 20, 30));
            const RECT rc{0, 1, kW, 1 + rows};
            ASSERT_TRUE(ExtTextOutW(s.dc(), 0, 0, ETO_OPAQUE, &rc, L"", 0, nullptr));
            int wrong = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x)
                    wrong += s.at(x, y) != (y >= rc.top && y < rc.bottom ? RGB(10, 20, 30) : kWhite);
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(TextOutput, EtoClippedKeepsInkInsideTheRectangle) {
    kt::Surface s(80, 30);
    tt::ScopedFont font(s.dc());
    const RECT rc{12, 6, 25, 12};
    ExtTextOutW(s.dc(), 10, 3, ETO_CLIPPED, &rc, L"Hello", 5, nullptr);
    EXPECT_EQ(tt::InkOutside(s, rc, kWhite), 0);
    EXPECT_FALSE(tt::InkBox(s, kWhite).empty);
}

TEST(TextOutput, DxReplacesAdvances) {
    kt::Surface expected(80, 30), s(80, 30);
    {
        tt::ScopedFont font(expected.dc());
        SetBkMode(expected.dc(), TRANSPARENT);
        TextOutW(expected.dc(), 2, 2, L"a", 1);
        TextOutW(expected.dc(), 22, 2, L"b", 1);
        TextOutW(expected.dc(), 27, 2, L"c", 1);
    }
    tt::ScopedFont font(s.dc());
    SetBkMode(s.dc(), TRANSPARENT);
    const INT dx[3] = {20, 5, 9};
    ExtTextOutW(s.dc(), 2, 2, 0, nullptr, L"abc", 3, dx);
    EXPECT_EQ(tt::DiffCount(s, expected), 0);
}

TEST(TextOutput, QualitySelectsGreyOrTwoColourOutput) {
    struct Row {
        const char* name;
        BYTE quality;
        bool onlyTwoColours;
    };
    const Row rows[] = {{"antialiased", DEFAULT_QUALITY, false}, {"nonantialiased", NONANTIALIASED_QUALITY, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(100, 30);
        tt::FontSpec spec;
        spec.quality = r.quality;
        tt::ScopedFont font(s.dc(), spec);
        TextOutW(s.dc(), 2, 2, L"Hello, World!", 13);
        std::set<COLORREF> colours;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) colours.insert(s.at(x, y));
        EXPECT_EQ(colours.size() == 2, r.onlyTwoColours) << colours.size() << " colours";
        EXPECT_TRUE(colours.count(kBlack));
    }
}

TEST(TextOutput, MonochromeSurfaceGetsOnlyBlackAndWhite) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(60, 20, 1, 1, nullptr);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, 60, 20, WHITENESS);
    {
        tt::ScopedFont font(dc);
        SetTextColor(dc, RGB(30, 30, 30));
        TextOutW(dc, 1, 1, L"Hello", 5);
    }
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            ASSERT_TRUE(c == kBlack || c == kWhite) << x << "," << y;
            black += c == kBlack;
        }
    EXPECT_GT(black, 20);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST(TextOutput, UnderlineAndStrikeOutSpanTheExtent) {
    kt::Surface s(60, 30);
    tt::FontSpec spec;
    spec.underline = true;
    spec.strikeOut = true;
    tt::ScopedFont font(s.dc(), spec);
    SetBkMode(s.dc(), TRANSPARENT);
    TextOutW(s.dc(), 3, 2, L"..", 2);  // 8 pixels wide, baseline at y = 13
    // DejaVu: underline 130 units below the baseline (1 px), strike-out 530 above (3 px).
    for (int x = 0; x < 60; ++x) {
        const bool in = x >= 3 && x < 11;
        EXPECT_EQ(s.at(x, 14), in ? kBlack : kWhite) << x;
        EXPECT_EQ(s.at(x, 10), in ? kBlack : kWhite) << x;
    }
}

TEST(TextOutput, NothingLandsOutsideTheClip) {
    struct Row {
        const char* name;
        int x, y;
    };
    const Row rows[] = {
        {"inside", 5, 5},
        {"straddling left", -10, 5},
        {"straddling bottom", 5, 28},
        {"far negative", -2000000000, -2000000000},
        {"far positive", 2000000000, 2000000000},
        {"straddling clip", 20, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(60, 40);
        tt::ScopedFont font(s.dc());
        SetBkMode(s.dc(), OPAQUE);
        SetBkColor(s.dc(), RGB(0, 255, 0));
        IntersectClipRect(s.dc(), 4, 4, 40, 30);
        ASSERT_TRUE(TextOutW(s.dc(), r.x, r.y, L"Hello, World!", 13));
        EXPECT_EQ(tt::InkOutside(s, RECT{4, 4, 40, 30}, kWhite), 0);
    }
}

TEST(TextOutput, OriginsMapLogicalToSurface) {
    kt::Surface expected(60, 30), s(60, 30);
    {
        tt::ScopedFont font(expected.dc());
        TextOutW(expected.dc(), 12, 7, L"Hi", 2);
    }
    tt::ScopedFont font(s.dc());
    SetViewportOrgEx(s.dc(), 10, 10, nullptr);
    SetWindowOrgEx(s.dc(), 3, 5, nullptr);
    TextOutW(s.dc(), 5, 2, L"Hi", 2);  // 5 - 3 + 10, 2 - 5 + 10
    EXPECT_EQ(tt::DiffCount(s, expected), 0);
}

TEST(TextOutput, RejectsBadArguments) {
    kt::Surface s(10, 10);
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"a", 1));
    EXPECT_FALSE(TextOutW(s.dc(), 0, 0, L"a", -1));
    EXPECT_TRUE(TextOutW(s.dc(), 0, 0, L"a", 0));
    SKIP_UNDER_WINE("TextOutW reads through a null string (crash)");
    EXPECT_FALSE(TextOutW(s.dc(), 0, 0, nullptr, 1));
}

}  // namespace
