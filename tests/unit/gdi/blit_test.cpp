// BitBlt, StretchBlt, TransparentBlt and PatBlt: exact pixels for the stretch mapping,
// mirroring, ROP3 codes, colour-depth conversion, origins and clipping.
#include <climits>
#include <cstdlib>
#include <memory>

#include "gdi_test_util.h"

using namespace gt;

namespace {

// Four source colours whose AND, OR and averages are all distinct; K is the key colour.
constexpr COLORREF A = RGB(0xF0, 0x0F, 0x3C), B = RGB(0x3C, 0xF0, 0x0F), C = RGB(0x0F, 0x3C, 0xF0),
                   D = RGB(0xFF, 0x00, 0x81), W = kWhite, K = RGB(255, 0, 255);
constexpr COLORREF AandB = RGB(0x30, 0x00, 0x0C), AorB = RGB(0xFC, 0xFF, 0x3F);
constexpr COLORREF CandD = RGB(0x0F, 0x00, 0x80), CorD = RGB(0xFF, 0x3C, 0xF1);

const std::vector<std::pair<COLORREF, char>> kInk = {
    {kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}, {kGreen, 'g'}, {RGB(0, 255, 255), 'c'}};

void SetRow(kt::Surface& s, std::initializer_list<COLORREF> row) {
    int x = 0;
    for (COLORREF c : row) s.set(x++, 0, c);
}

struct StretchRow {
    const char* name;
    int mode;
    int dx, dw, sx, sw;              // one-row blit: destination x/width, source x/width
    std::vector<COLORREF> expected;  // destination row of 5 pixels, white where nothing is drawn
    const char* wine_fault = nullptr;  // what Wine does instead (docs/windows.md)
};
GT_PRINT_ROW_NAME(StretchRow)

class StretchRows : public ::testing::TestWithParam<StretchRow> {};

TEST_P(StretchRows, MapsSourcePixels) {
    const StretchRow& r = GetParam();
    if (r.wine_fault) SKIP_UNDER_WINE(r.wine_fault);
    kt::Surface src(4, 1), dst(5, 1);
    SetRow(src, {A, B, C, D});
    ASSERT_NE(0, SetStretchBltMode(dst.dc(), r.mode));
    EXPECT_TRUE(StretchBlt(dst.dc(), r.dx, 0, r.dw, 1, src.dc(), r.sx, 0, r.sw, 1, SRCCOPY));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(r.expected[size_t(x)], dst.at(x, 0)) << "x=" << x;
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, StretchRows,
    ::testing::Values(
        StretchRow{"Enlarge2To3", COLORONCOLOR, 0, 3, 0, 2, {A, A, B, W, W}},
        StretchRow{"Enlarge2To5", BLACKONWHITE, 0, 5, 0, 2, {A, A, A, B, B}},
        StretchRow{"Shrink4To2ColorOnColorLastWins", COLORONCOLOR, 0, 2, 0, 4, {B, D, W, W, W}},
        StretchRow{"Shrink4To2BlackOnWhiteAnds", BLACKONWHITE, 0, 2, 0, 4, {AandB, CandD, W, W, W}},
        StretchRow{"Shrink4To2WhiteOnBlackOrs", WHITEONBLACK, 0, 2, 0, 4, {AorB, CorD, W, W, W}},
        StretchRow{"Shrink4To2HalftoneAverages", HALFTONE, 0, 2, 0, 4, {RGB(150, 128, 38), RGB(135, 30, 185), W, W, W},
                   "HALFTONE shrinking samples one source pixel instead of averaging"},
        StretchRow{"Shrink3To2Groups01And2", COLORONCOLOR, 0, 2, 0, 3, {B, C, W, W, W}},
        StretchRow{"MirrorNegativeDestination", COLORONCOLOR, 2, -3, 0, 3, {C, B, A, W, W}},
        StretchRow{"MirrorNegativeSource", COLORONCOLOR, 0, 3, 2, -3, {C, B, A, W, W}},
        StretchRow{"BothNegativeNotMirrored", COLORONCOLOR, 2, -3, 2, -3, {A, B, C, W, W}},
        StretchRow{"MirrorShrinkDestination", COLORONCOLOR, 1, -2, 0, 4, {D, B, W, W, W}},
        StretchRow{"MirrorPartlyOutsideSource", COLORONCOLOR, 3, -4, 1, 4, {W, D, C, B, W},
                   "a mirrored 4-to-4 blit whose source leaves the surface is enlarged 3 to 4"},
        StretchRow{"MirrorEnlargeCutByClip", COLORONCOLOR, 6, -6, 0, 4, {W, D, C, C, B}},
        StretchRow{"Width1UsesOnePixelLess", COLORONCOLOR, 0, 1, 0, 3, {B, W, W, W, W}},
        StretchRow{"Width1NegativeSourceKeepsWidth", COLORONCOLOR, 0, 1, 2, -3, {A, W, W, W, W}},
        StretchRow{"EqualSizesCopy", HALFTONE, 1, 3, 0, 3, {W, A, B, C, W}},
        StretchRow{"SourceRightOfSurfaceNotDrawn", COLORONCOLOR, 0, 4, 2, 4, {C, D, W, W, W}},
        StretchRow{"SourceLeftOfSurfaceNotDrawn", COLORONCOLOR, 0, 3, -1, 3, {W, A, B, W, W}},
        StretchRow{"EnlargeFromPartlyOutside", COLORONCOLOR, 0, 4, -1, 2, {W, W, A, A, W}},
        StretchRow{"DestinationLeftOfSurface", COLORONCOLOR, -2, 4, 0, 4, {C, D, W, W, W}}),
    kRowName);

TEST(Stretch, VerticalShrinkAndModes) {
    const struct {
        int mode;
        COLORREF top, bottom;
    } rows[] = {{COLORONCOLOR, A, C}, {BLACKONWHITE, AandB, CandD}, {WHITEONBLACK, AorB, CorD}};
    for (const auto& r : rows) {
        kt::Surface src(1, 4), dst(1, 2);
        for (int y = 0; y < 4; ++y) src.set(0, y, std::vector<COLORREF>{A, B, C, D}[size_t(y)]);
        SetStretchBltMode(dst.dc(), r.mode);
        EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 1, 2, src.dc(), 0, 0, 1, 4, SRCCOPY));
        EXPECT_EQ(r.top, dst.at(0, 0)) << r.mode;
        EXPECT_EQ(r.bottom, dst.at(0, 1)) << r.mode;
    }
    kt::Surface c(1, 1);  // a new DC ANDs; bad modes are refused
    EXPECT_EQ(BLACKONWHITE, GetStretchBltMode(c.dc()));
    EXPECT_EQ(0, SetStretchBltMode(c.dc(), 0));
    EXPECT_EQ(0, SetStretchBltMode(c.dc(), 5));
    EXPECT_EQ(BLACKONWHITE, GetStretchBltMode(c.dc()));
}

// With P = 0xF0, S = 0xCC and D = 0xAA in every channel, each channel of the result
// is the ROP's own index byte. A 3 -> 1 AND-shrink (two pixels after the width-1 rule)
// takes the combining path.
TEST(Rops, BitBltAndGroupedStretch) {
    const std::pair<DWORD, BYTE> rows[] = {
        {SRCCOPY, 0xCC},    {SRCPAINT, 0xEE},  {SRCAND, 0x88},     {SRCINVERT, 0x66}, {SRCERASE, 0x44},
        {NOTSRCCOPY, 0x33}, {NOTSRCERASE, 0x11}, {MERGECOPY, 0xC0}, {MERGEPAINT, 0xBB}, {PATCOPY, 0xF0},
        {PATPAINT, 0xFB},   {PATINVERT, 0x5A}, {DSTINVERT, 0x55},  {BLACKNESS, 0x00},  {WHITENESS, 0xFF},
        {0x00B8074A, 0xB8},  // PSDPxax
    };
    for (const auto& [rop, expected] : rows) {
        kt::Surface src(3, 1, RGB(0xCC, 0xCC, 0xCC)), dst(2, 1, RGB(0xAA, 0xAA, 0xAA));
        HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
        HGDIOBJ old = SelectObject(dst.dc(), brush);
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, rop));
        EXPECT_TRUE(StretchBlt(dst.dc(), 1, 0, 1, 1, src.dc(), 0, 0, 3, 1, rop));
        EXPECT_EQ(RGB(expected, expected, expected), dst.at(0, 0)) << std::hex << rop;
        EXPECT_EQ(RGB(expected, expected, expected), dst.at(1, 0)) << std::hex << rop;
        SelectObject(dst.dc(), old);
        DeleteObject(brush);
    }
}

TEST(BitBlt, MonochromeConversionsUseTheDcColours) {
    kt::Surface mono(2, 1, kBlack, kMono);
    mono.set(1, 0, kWhite);
    kt::Surface colour(2, 1);
    SetTextColor(colour.dc(), kRed);
    SetBkColor(colour.dc(), kBlue);
    ASSERT_TRUE(BitBlt(colour.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(kRed, colour.at(0, 0));   // 0 bits: text colour
    EXPECT_EQ(kBlue, colour.at(1, 0));  // 1 bits: background colour
    // colour to mono: pixels of the source's background colour become white
    kt::Surface src(3, 1, kRed);
    src.set(1, 0, kGreen);
    SetBkColor(src.dc(), kGreen);
    kt::Surface dst(3, 1, kBlack, kMono);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ("#W#", dst.ascii({{kWhite, 'W'}, {kBlack, '#'}}));
}

TEST(BitBlt, OriginsOverlapAndMissingSource) {
    kt::Surface src(4, 1, kRed), dst(4, 1);
    src.set(2, 0, kGreen);
    SetWindowOrgEx(dst.dc(), 2, 0, nullptr);    // logical 3 -> device 1
    SetViewportOrgEx(src.dc(), 1, 0, nullptr);  // logical 1 -> device 2
    ASSERT_TRUE(BitBlt(dst.dc(), 3, 0, 1, 1, src.dc(), 1, 0, SRCCOPY));
    EXPECT_EQ("WgWW", dst.ascii({{kWhite, 'W'}, {kGreen, 'g'}, {kRed, 'r'}}));

    kt::Surface c(5, 1);  // an overlapping copy within one surface reads the original pixels
    SetRow(c, {A, B, C, D, W});
    ASSERT_TRUE(BitBlt(c.dc(), 1, 0, 4, 1, c.dc(), 0, 0, SRCCOPY));
    for (int x = 0; x < 5; ++x) EXPECT_EQ((std::vector<COLORREF>{A, A, B, C, D}[size_t(x)]), c.at(x, 0)) << x;

    EXPECT_FALSE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, c.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(kBlack, c.at(0, 0));
}

// A 4x4 red source blitted onto a 4x4 white canvas, possibly clipped.
struct ClipRow {
    const char* name;
    int x, y, w, h, sx, sy;
    RECT clip;  // IntersectClipRect when not empty
    const char* expected;
    const char* wine_fault = nullptr;
};
GT_PRINT_ROW_NAME(ClipRow)

class BlitClipping : public ::testing::TestWithParam<ClipRow> {};

TEST_P(BlitClipping, DrawsOnlyInsideSurfaceAndClip) {
    const ClipRow& r = GetParam();
    if (r.wine_fault) SKIP_UNDER_WINE(r.wine_fault);
    kt::Surface src(4, 4, kRed), dst(4, 4);
    if (!IsRectEmpty(&r.clip)) IntersectClipRect(dst.dc(), r.clip.left, r.clip.top, r.clip.right, r.clip.bottom);
    EXPECT_TRUE(BitBlt(dst.dc(), r.x, r.y, r.w, r.h, src.dc(), r.sx, r.sy, SRCCOPY));
    EXPECT_EQ(r.expected, dst.ascii({{kWhite, '.'}, {kRed, 'r'}}));
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, BlitClipping,
    ::testing::Values(
        ClipRow{"TopLeftEdge", -2, -2, 4, 4, 0, 0, {}, "rr..|rr..|....|...."},
        ClipRow{"BottomRightEdge", 3, 3, 4, 4, 0, 0, {}, "....|....|....|...r"},
        ClipRow{"RightEdge", 2, 0, 9, 1, 0, 0, {}, "..rr|....|....|...."},
        ClipRow{"BottomEdge", 0, 2, 1, 9, 0, 0, {}, "....|....|r...|r..."},
        ClipRow{"SourceOffTheTop", 0, 0, 2, 4, 0, -3, {}, "....|....|....|rr.."},
        ClipRow{"SourceOffTheRight", 0, 0, 4, 1, 2, 0, {}, "rr..|....|....|...."},
        ClipRow{"IntersectClipRect", 0, 0, 4, 4, 0, 0, {1, 1, 3, 3}, "....|.rr.|.rr.|...."},
        ClipRow{"ClipAndEdge", 2, 2, 4, 4, 0, 0, {1, 1, 3, 3}, "....|....|..r.|...."},
        ClipRow{"ZeroSize", 0, 0, 0, 4, 0, 0, {}, "....|....|....|...."},
        ClipRow{"MinCorner", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, {}, "....|....|....|...."},
        ClipRow{"MaxSize", 0, 0, INT_MAX, INT_MAX, 0, 0, {}, "rrrr|rrrr|rrrr|rrrr"},
        ClipRow{"MaxCorner", INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, {}, "....|....|....|...."},
        ClipRow{"MinSizeFromMaxCorner", INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}, "rrrr|rrrr|rrrr|rrrr",
                "a size of INT_MIN draws nothing, where a size of -4 is normalised"},
        ClipRow{"MinSourceOrigin", 0, 0, 4, 4, INT_MIN, INT_MIN, {}, "....|....|....|...."},
        ClipRow{"NegativeSizeBackToOrigin", 3, 3, -4, -4, 3, 3, {}, "rrrr|rrrr|rrrr|rrrr"}),
    kRowName);

TEST(TransparentBlt, KeyColourLeavesDestinationAndSizesMustBePositive) {
    kt::Surface src(3, 1), dst(6, 1, kBlack);
    SetRow(src, {A, K, B});
    ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 6, 1, src.dc(), 0, 0, 3, 1, K));
    for (int x = 0; x < 6; ++x) EXPECT_EQ((std::vector<COLORREF>{A, A, kBlack, kBlack, B, B}[size_t(x)]), dst.at(x, 0));
    kt::Surface white(2, 1);
    EXPECT_FALSE(TransparentBlt(white.dc(), 1, 0, -2, 1, src.dc(), 0, 0, 2, 1, kBlack));
    EXPECT_FALSE(TransparentBlt(white.dc(), 0, 0, 2, 1, src.dc(), 1, 0, -2, 1, kBlack));
    EXPECT_EQ("WW", white.ascii({{kWhite, 'W'}}));
}

// An enlarging keyed blit fills whole runs of one source pixel; long runs take another
// store path than short ones. Whatever the run length: three segments (A, untouched,
// B) of about a third each, and nothing past the blit's right edge.
TEST(TransparentBlt, EnlargedRunsOfEveryLength) {
    for (int w : {12, 189, 190, 192, 195, 198, 390}) {
        SCOPED_TRACE(testing::Message() << "3 pixels to " << w);
        kt::Surface src(3, 1), dst(w + 2, 2, kBlack);
        SetRow(src, {A, K, B});
        ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, w, 1, src.dc(), 0, 0, 3, 1, K));
        int x = 0, a = 0, k = 0, b = 0;
        for (; x < w && dst.at(x, 0) == A; ++x) ++a;
        for (; x < w && dst.at(x, 0) == kBlack; ++x) ++k;
        for (; x < w && dst.at(x, 0) == B; ++x) ++b;
        EXPECT_EQ(a + k + b, w) << "pixel " << x << " is none of the three";
        for (int n : {a, k, b}) EXPECT_LE(std::abs(n - w / 3), 1);
        EXPECT_EQ(dst.at(w, 0), kBlack);
        EXPECT_EQ(dst.at(w + 1, 0), kBlack);
        for (int gx = 0; gx < w + 2; ++gx) ASSERT_EQ(dst.at(gx, 1), kBlack) << "row below, x " << gx;
    }
}

TEST(TransparentBlt, ShrinkUsesColorOnColorInsteadOfAnd) {
    SKIP_UNDER_WINE("TransparentBlt shrinks with the AND of BLACKONWHITE");
    kt::Surface src(4, 1), dst(2, 1, kBlack);
    SetRow(src, {A, K, K, B});
    ASSERT_EQ(BLACKONWHITE, GetStretchBltMode(src.dc()));
    ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 1, K));
    EXPECT_EQ(kBlack, dst.at(0, 0));  // group {A, K}: the last pixel, the key, wins
    EXPECT_EQ(B, dst.at(1, 0));
}

// PatBlt of -2 x -1 from (2, 1) on a white 3 x 2 surface covers x 1..2, y 1.
TEST(PatBlt, UsesTheDcBrush) {
    const struct {
        const char* name;
        DWORD rop;
        HGDIOBJ brush;  // null: a red brush
        BOOL result;
        char expected;  // on white: x 1..2 of row 1
    } rows[] = {
        {"PATCOPY", PATCOPY, nullptr, TRUE, 'r'},
        {"PATINVERT", PATINVERT, nullptr, TRUE, 'c'},
        {"DSTINVERT", DSTINVERT, nullptr, TRUE, '#'},
        {"BLACKNESS ignores a null brush", BLACKNESS, GetStockObject(NULL_BRUSH), TRUE, '#'},
        {"null brush draws nothing", PATCOPY, GetStockObject(NULL_BRUSH), TRUE, '.'},
        {"DC brush follows SetDCBrushColor", PATCOPY, GetStockObject(DC_BRUSH), TRUE, 'g'},
        {"source ROP fails", SRCCOPY, nullptr, FALSE, '.'},
    };
    for (const auto& r : rows) {
        kt::Surface c(3, 2);
        HBRUSH red = CreateSolidBrush(kRed);
        HGDIOBJ old = SelectObject(c.dc(), r.brush ? r.brush : red);
        SetDCBrushColor(c.dc(), kGreen);
        EXPECT_EQ(r.result, PatBlt(c.dc(), 2, 1, -2, -1, r.rop)) << r.name;
        EXPECT_EQ(std::string("...|.") + r.expected + r.expected, c.ascii(kInk)) << r.name;
        SelectObject(c.dc(), old);
        DeleteObject(red);
    }
}

// A 32-bit surface of either row order, every pixel distinct.
std::unique_ptr<kt::Surface> Distinct(int w, int h, bool bottomUp, uint32_t seed) {
    using F = kt::Surface::Format;
    auto s = std::make_unique<kt::Surface>(w, h, kWhite, bottomUp ? F::BottomUp32 : F::TopDown32);
    for (int i = 0; i < w * h; ++i) s->set(i % w, i / w, (seed + uint32_t(i) * 0x010307u) & 0xFFFFFF);
    SetStretchBltMode(s->dc(), COLORONCOLOR);
    return s;
}

// SRCCOPY takes shortcuts the other ROPs do not: whole contiguous blocks in one copy,
// and rows that repeat a source row copied from the row drawn before. MERGECOPY with
// the new DC's white brush gives the same pixels (P & S = S) through the general
// per-pixel path, so each shape is drawn both ways and compared pixel for pixel.
TEST(CopyPaths, SrcCopyMatchesTheGeneralPath) {
    const struct {
        const char* name;
        int srcW, srcH, dstW, dstH;
        bool srcBottomUp, dstBottomUp;
        int x, y, w, h;      // destination
        int sx, sy, sw, sh;  // source
    } rows[] = {
        {"WholeSurfaceOneBlock", 8, 6, 8, 6, false, false, 0, 0, 8, 6, 0, 0, 8, 6},
        {"FullWidthBandInsideTallerSurfaces", 8, 9, 8, 10, false, false, 0, 2, 8, 5, 0, 3, 8, 5},
        {"NarrowerThanDestination", 8, 6, 10, 6, false, false, 1, 0, 8, 6, 0, 0, 8, 6},
        {"SourceWiderThanBlit", 12, 6, 8, 6, false, false, 0, 0, 8, 6, 2, 0, 8, 6},
        {"FivePixelRowsStrided", 9, 4, 13, 4, false, false, 3, 0, 5, 4, 1, 0, 5, 4},
        {"ElevenPixelRowsStrided", 14, 4, 13, 4, false, false, 1, 0, 11, 4, 2, 0, 11, 4},
        {"ThirtyPixelRowsStrided", 33, 3, 31, 3, false, false, 1, 0, 30, 3, 2, 0, 30, 3},
        {"BottomUpDestination", 8, 6, 8, 6, false, true, 0, 0, 8, 6, 0, 0, 8, 6},
        {"BottomUpSource", 8, 6, 8, 6, true, false, 0, 0, 8, 6, 0, 0, 8, 6},
        {"ClippedAtTheBottom", 8, 6, 8, 4, false, false, 0, 1, 8, 6, 0, 0, 8, 6},
        {"SourcePartlyAbove", 8, 6, 8, 6, false, false, 0, 0, 8, 6, 0, -2, 8, 6},
        {"SourcePartlyLeftAndBelow", 8, 6, 8, 6, false, false, 0, 0, 8, 6, -3, 2, 8, 6},
        {"SourcePartlyRight", 8, 6, 8, 6, true, false, 0, 0, 8, 6, 4, 0, 8, 6},
        {"DestinationPartlyLeftAndAbove", 8, 6, 8, 6, false, true, -2, -3, 8, 6, 0, 0, 8, 6},
        {"RowsRepeatContiguous", 8, 3, 8, 20, false, false, 0, 0, 8, 20, 0, 0, 8, 3},
        {"RowsRepeatInUnevenRuns", 8, 7, 8, 23, false, false, 0, 0, 8, 23, 0, 0, 8, 7},
        {"RowsRepeatStrided", 8, 3, 11, 20, false, false, 2, 0, 8, 20, 0, 0, 8, 3},
        {"RowsRepeatElevenPixelsStrided", 11, 3, 13, 9, false, false, 1, 0, 11, 9, 0, 0, 11, 3},
        {"RowsRepeatBottomUp", 8, 3, 8, 20, false, true, 0, 0, 8, 20, 0, 0, 8, 3},
        {"RowsRepeatMirrored", 8, 3, 8, 20, false, false, 0, 19, 8, -20, 0, 0, 8, 3},
        {"BothAxesEnlarged", 3, 3, 8, 17, false, false, 0, 0, 8, 17, 0, 0, 3, 3},
        {"RowsShrunk", 8, 20, 8, 7, false, false, 0, 0, 8, 7, 0, 0, 8, 20},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto src = Distinct(r.srcW, r.srcH, r.srcBottomUp, 0x102030);
        const auto fast = Distinct(r.dstW, r.dstH, r.dstBottomUp, 0x405060);
        const auto general = Distinct(r.dstW, r.dstH, r.dstBottomUp, 0x405060);
        const auto untouched = Distinct(r.dstW, r.dstH, r.dstBottomUp, 0x405060);
        ASSERT_TRUE(StretchBlt(fast->dc(), r.x, r.y, r.w, r.h, src->dc(), r.sx, r.sy, r.sw, r.sh, SRCCOPY));
        ASSERT_TRUE(StretchBlt(general->dc(), r.x, r.y, r.w, r.h, src->dc(), r.sx, r.sy, r.sw, r.sh, MERGECOPY));
        int differing = 0, changed = 0;
        for (int y = 0; y < r.dstH; ++y) {
            for (int x = 0; x < r.dstW; ++x) {
                differing += fast->at(x, y) != general->at(x, y);
                changed += fast->at(x, y) != untouched->at(x, y);
            }
        }
        EXPECT_EQ(0, differing);
        EXPECT_GT(changed, 0);  // the blit drew something
    }
}

}  // namespace
