// ExtTextOutW / TextOutW: placement, fills, colours, clipping.
#include <gtest/gtest.h>

#include <set>

#include "text_test_util.h"

using tt::kBlack;
using tt::kWhite;

namespace {

TEST(TextOutput, InkLiesWithinTheExtentCell) {
    tt::TextSurface s(80, 30);
    SetBkMode(s.dc(), TRANSPARENT);
    ASSERT_TRUE(TextOutW(s.dc(), 10, 5, L"Hello", 5));
    // Extent 29 x 14 at (10, 5): H's stem starts up to two pixels in, o ends inside its
    // advance, nothing descends below the baseline (y 16), and 'l' rises 1556/2048 em
    // (9.1 pixels) so that its top row (y 6 or 7) is at most partly covered.
    EXPECT_EQ(0, tt::InkOutside(s, RECT{10, 6, 39, 16}));
    EXPECT_GT(tt::InkOutside(s, RECT{13, 0, 80, 30}), 0) << "left edge";
    EXPECT_GT(tt::InkOutside(s, RECT{0, 0, 37, 30}), 0) << "right edge";
    EXPECT_GT(tt::InkOutside(s, RECT{0, 8, 80, 30}), 0) << "top edge";
}

// Each row draws the same picture as TextOut of "Hello" with the cell's top-left at (20, 10).
struct SameRow {
    const char* name;
    tt::Draw draw;
};

TEST(TextOutput, PlacementGivesTheSamePicture) {
    const SameRow rows[] = {
        {"origins map logical to surface",
         [](HDC dc) {
             SetViewportOrgEx(dc, 10, 10, nullptr);
             SetWindowOrgEx(dc, 3, 5, nullptr);
             TextOutW(dc, 13, 5, L"Hello", 5);  // 13 - 3 + 10, 5 - 5 + 10
         }},
    };
    for (const SameRow& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(0, tt::DiffFromTextOut(80, 40, r.draw, 20, 10, L"Hello"));
    }
    // dx moves each glyph to its own cell: "a", "b", "c" at 2, 22 and 27
    const INT dx[3] = {20, 5, 9};
    const auto cells = [](HDC dc) {
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 2, 2, L"a", 1), TextOutW(dc, 22, 2, L"b", 1), TextOutW(dc, 27, 2, L"c", 1);
    };
    EXPECT_EQ(0, tt::PictureDiff(
                     80, 30, [&](HDC dc) { SetBkMode(dc, TRANSPARENT), ExtTextOutW(dc, 2, 2, 0, nullptr, L"abc", 3, dx); },
                     cells));
}

// Opaque text fills exactly its 12 x 14 cell at (7, 4) with the background colour, under
// the glyphs too; transparent text fills nothing. How the ink blends is not measured.
TEST(TextOutput, BackgroundModeFillsExactlyTheCell) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
        SCOPED_TRACE(mode == OPAQUE ? "opaque" : "transparent");
        tt::TextSurface s(60, 30, RGB(0, 0, 255));
        SetBkMode(s.dc(), mode);
        SetBkColor(s.dc(), RGB(0, 255, 0));
        SetTextColor(s.dc(), RGB(255, 0, 0));
        TextOutW(s.dc(), 7, 4, L"...", 3);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                const COLORREF c = s.at(x, y);
                if (mode == TRANSPARENT)
                    ASSERT_EQ(0, GetGValue(c)) << x << "," << y;
                else if (x >= 7 && x < 19 && y >= 4 && y < 18)
                    ASSERT_EQ(0, GetBValue(c)) << x << "," << y;
                else
                    ASSERT_EQ(RGB(0, 0, 255), c) << x << "," << y;
            }
        EXPECT_EQ(mode == OPAQUE ? RGB(0, 255, 0) : RGB(0, 0, 255), s.at(18, 17));
    }
}

// Fills are stored four pixels at a time with an overlapping last store, row by row when
// narrow, copied down when wide and copied as one block when they cover whole rows:
// every width around those steps, at odd offsets, and whole rows of every surface width.
TEST(TextOutput, EtoOpaqueFillsExactlyTheRectangle) {
    auto check = [](int w, int h, const RECT& rc) {
        kt::Surface s(w, h, kWhite);
        SetBkColor(s.dc(), RGB(10, 20, 30));
        ASSERT_TRUE(ExtTextOutW(s.dc(), 0, 0, ETO_OPAQUE, &rc, L"", 0, nullptr));
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += s.at(x, y) != (PtInRect(&rc, POINT{x, y}) ? RGB(10, 20, 30) : kWhite);
        EXPECT_EQ(wrong, 0) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << " on " << w;
    };
    for (int width : {1, 2, 3, 4, 5, 7, 8, 15, 16, 17, 19, 20, 33, 63, 64, 65, 97, 100})
        for (int left : {0, 1, 3}) check(100, 5, RECT{left, 1, std::min(left + width, 100), 4});
    for (int w : {1, 3, 5, 12, 20, 63, 64, 65, 100})
        for (int rows : {1, 2, 3, 4, 5, 6}) check(w, rows + 2, RECT{0, 1, w, 1 + rows});
}

TEST(TextOutput, NothingLandsOutsideTheClip) {
    const struct {
        const char* name;
        int x, y;
        bool eto;  // clipped by ETO_CLIPPED to the rectangle instead of the DC's clip
    } rows[] = {
        {"inside", 5, 5, false},
        {"straddling left", -10, 5, false},
        {"straddling bottom", 5, 28, false},
        {"far negative", -2000000000, -2000000000, false},
        {"far positive", 2000000000, 2000000000, false},
        {"straddling clip", 20, 10, false},
        {"eto clipped", 2, 0, true},
    };
    const RECT clip{4, 4, 40, 30};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::TextSurface s(60, 40);
        SetBkColor(s.dc(), RGB(0, 255, 0));
        if (!r.eto) IntersectClipRect(s.dc(), clip.left, clip.top, clip.right, clip.bottom);
        ASSERT_TRUE(ExtTextOutW(s.dc(), r.x, r.y, r.eto ? ETO_CLIPPED : 0, &clip, L"Hello, World!", 13, nullptr));
        EXPECT_EQ(tt::InkOutside(s, clip), 0);
        EXPECT_TRUE(!r.eto || tt::Ink(s) > 0) << "ETO_CLIPPED draws inside its rectangle";
    }
}

TEST(TextOutput, QualityAndMonochromeSurfaces) {
    for (const auto& [quality, onlyTwoColours] : {std::pair<BYTE, bool>{DEFAULT_QUALITY, false},
                                                  std::pair<BYTE, bool>{NONANTIALIASED_QUALITY, true}}) {
        tt::FontSpec spec;
        spec.quality = quality;
        tt::TextSurface s(100, 30, kWhite, spec);
        TextOutW(s.dc(), 2, 2, L"Hello, World!", 13);
        std::set<COLORREF> colours;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) colours.insert(s.at(x, y));
        EXPECT_EQ(colours.size() == 2, onlyTwoColours) << colours.size() << " colours";
        EXPECT_TRUE(colours.count(kBlack));
    }
    kt::Surface mono(60, 20, kWhite, kt::Surface::Format::Mono);  // gets only black and white
    tt::ScopedFont font(mono.dc());
    SetTextColor(mono.dc(), RGB(30, 30, 30));
    TextOutW(mono.dc(), 1, 1, L"Hello", 5);
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const COLORREF c = GetPixel(mono.dc(), x, y);
            ASSERT_TRUE(c == kBlack || c == kWhite) << x << "," << y;
            black += c == kBlack;
        }
    EXPECT_GT(black, 20);
}

// The underline and the strike-out are solid rows spanning exactly the extent, the
// underline in the descent and the strike-out in the ascent. Which row the font's
// metrics round to is not measured.
TEST(TextOutput, UnderlineAndStrikeOutSpanTheExtent) {
    tt::FontSpec spec;
    spec.underline = spec.strikeOut = true;
    tt::TextSurface s(60, 30, kWhite, spec);
    SetBkMode(s.dc(), TRANSPARENT);
    TextOutW(s.dc(), 3, 2, L"..", 2);  // 8 pixels wide; ascent rows 2..12, descent rows 13..15
    std::vector<int> lines;  // rows black exactly over x 3..10
    for (int y = 0; y < 30; ++y) {
        bool line = true;
        for (int x = 0; x < 60; ++x) line = line && (s.at(x, y) == kBlack) == (x >= 3 && x < 11);
        if (line) lines.push_back(y);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0], 2);   // strike-out: inside the ascent, below its top row
    EXPECT_LT(lines[0], 13);
    EXPECT_GE(lines[1], 13);  // underline: inside the descent
    EXPECT_LT(lines[1], 16);
}

TEST(TextOutput, RejectsBadArguments) {
    kt::Surface s(10, 10);
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"a", 1));
    EXPECT_FALSE(TextOutW(s.dc(), 0, 0, L"a", -1));
    EXPECT_TRUE(TextOutW(s.dc(), 0, 0, L"a", 0));
}

}  // namespace
