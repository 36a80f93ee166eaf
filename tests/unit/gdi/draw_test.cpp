// Lines, rectangles, focus rectangles, edges and single pixels.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

const std::vector<std::pair<COLORREF, char>> kInk = {{kWhite, '.'}, {kBlack, '#'}};

struct LineRow {
    const char* name;
    int x0, y0, x1, y1;
    const char* expected;  // 6 x 3 canvas
};
GT_PRINT_ROW_NAME(LineRow)

class Lines : public ::testing::TestWithParam<LineRow> {};

TEST_P(Lines, ExcludeEndPointAndMatchTheirReverse) {
    const LineRow& r = GetParam();
    kt::Surface c(6, 3);
    MoveToEx(c.dc(), r.x0, r.y0, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), r.x1, r.y1));
    EXPECT_EQ(r.expected, c.ascii(kInk));
    POINT pos;
    GetCurrentPositionEx(c.dc(), &pos);
    EXPECT_EQ(r.x1, pos.x);
    EXPECT_EQ(r.y1, pos.y);
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, Lines,
    ::testing::Values(LineRow{"Shallow", 0, 0, 4, 2, "##....|..##..|......"},
                      LineRow{"ShallowReverse", 4, 2, 0, 0, ".#....|..##..|....#."},
                      LineRow{"Horizontal", 1, 1, 4, 1, "......|.###..|......"},
                      LineRow{"HorizontalLeftwards", 4, 1, 1, 1, "......|..###.|......"},
                      LineRow{"VerticalUpwards", 2, 2, 2, 0, "......|..#...|..#..."},
                      LineRow{"Steep", 0, 0, 1, 2, "#.....|#.....|......"},
                      LineRow{"SteepReverse", 1, 2, 0, 0, "......|#.....|.#...."},
                      LineRow{"Diagonal", 0, 0, 3, 3, "#.....|.#....|..#..."},
                      LineRow{"RisingShallow", 0, 2, 4, 0, "...#..|.##...|#....."},
                      LineRow{"RisingShallowReverse", 4, 0, 0, 2, "...##.|.##...|......"},
                      LineRow{"ZeroLength", 2, 1, 2, 1, "......|......|......"},
                      LineRow{"FullRangeHorizontal", INT_MIN, 1, INT_MAX, 1, "......|######|......"},
                      LineRow{"FullRangeDiagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX, "#.....|.#....|..#..."},
                      LineRow{"FullRangeShallow", INT_MIN, 0, INT_MAX, 2, "......|######|......"},
                      LineRow{"OutsideEntirely", -10, -10, -1, 20, "......|......|......"}),
    [](const auto& info) { return std::string(info.param.name); });

// Drawing a line through a small canvas must pick the same pixels as drawing it whole on a
// large one: the clipped walk starts mid-line with the right error term.
TEST(Lines, ClippedWalkMatchesFullWalk) {
    const RECT segments[] = {{-7, -3, 20, 9}, {25, -4, -9, 5}, {-3, 11, 4, -13}, {2, -30, 3, 30}, {-50, 1, 50, 3}};
    for (const RECT& s : segments) {
        kt::Surface big(120, 80), small(6, 3);
        SetViewportOrgEx(big.dc(), 60, 40, nullptr);
        for (HDC dc : {big.dc(), small.dc()}) {
            MoveToEx(dc, s.left, s.top, nullptr);
            LineTo(dc, s.right, s.bottom);
        }
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(big.at(60 + x, 40 + y), small.at(x, y))
                    << "line " << s.left << "," << s.top << " -> " << s.right << "," << s.bottom << " at " << x << ","
                    << y;
    }
}

TEST(Lines, PenAndRop2) {
    kt::Surface c(4, 1, kRed);
    HPEN white = CreatePen(PS_SOLID, 0, kWhite);  // width 0 draws one pixel wide
    HGDIOBJ old = SelectObject(c.dc(), white);
    SetROP2(c.dc(), R2_XORPEN);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 2, 0);
    SetROP2(c.dc(), R2_NOT);
    LineTo(c.dc(), 3, 0);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    SetROP2(c.dc(), R2_COPYPEN);
    LineTo(c.dc(), 4, 0);
    EXPECT_EQ(RGB(0, 255, 255), c.at(0, 0));
    EXPECT_EQ(RGB(0, 255, 255), c.at(1, 0));
    EXPECT_EQ(RGB(0, 255, 255), c.at(2, 0));
    EXPECT_EQ(kRed, c.at(3, 0));  // the null pen draws nothing
    SelectObject(c.dc(), old);
    EXPECT_TRUE(DeleteObject(white));
}

TEST(Lines, DcPenFollowsSetDCPenColor) {
    kt::Surface c(3, 1);
    SelectObject(c.dc(), GetStockObject(DC_PEN));
    EXPECT_EQ(kBlack, SetDCPenColor(c.dc(), kGreen));
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 2, 0);
    EXPECT_EQ(kGreen, c.at(1, 0));
    EXPECT_EQ(kWhite, c.at(2, 0));
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
}

TEST(Lines, PolylineSkipsOnlyTheLastPointAndKeepsPosition) {
    kt::Surface c(5, 3);
    MoveToEx(c.dc(), 4, 2, nullptr);
    const POINT pts[] = {{0, 0}, {3, 0}, {3, 2}};
    EXPECT_TRUE(Polyline(c.dc(), pts, 3));
    EXPECT_EQ("####.|...#.|.....", c.ascii(kInk));
    POINT pos;
    GetCurrentPositionEx(c.dc(), &pos);
    EXPECT_EQ(4, pos.x);
    EXPECT_FALSE(Polyline(c.dc(), pts, 1));
}

TEST(FillRect, SystemColourIndexPlusOneIsABrush) {
    kt::Surface c(3, 2);
    RECT rc{1, 0, 3, 1};
    EXPECT_TRUE(FillRect(c.dc(), &rc, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(kWhite, c.at(0, 0));
    EXPECT_EQ(RGB(10, 36, 106), c.at(1, 0));
    EXPECT_EQ(RGB(10, 36, 106), c.at(2, 0));
    EXPECT_EQ(kWhite, c.at(1, 1));
    RECT inverted{3, 2, 0, 0};  // not normalised: nothing
    FillRect(c.dc(), &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(kWhite, c.at(0, 1));
}

// A plain fill draws its first row and repeats it, in doubling blocks when the rows are
// whole and contiguous: every shape must still cover exactly its rectangle.
struct FillShapeRow {
    const char* name;
    RECT rc;
    const char* expected;  // 5 x 4
};
GT_PRINT_ROW_NAME(FillShapeRow)

class FillShapes : public ::testing::TestWithParam<FillShapeRow> {};

TEST_P(FillShapes, CoverExactlyTheRectangle) {
    const FillShapeRow& r = GetParam();
    kt::Surface c(5, 4);
    EXPECT_TRUE(FillRect(c.dc(), &r.rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(r.expected, c.ascii(kInk));
}

INSTANTIATE_TEST_SUITE_P(Gdi, FillShapes,
                         ::testing::Values(FillShapeRow{"WholeSurface", {0, 0, 5, 4}, "#####|#####|#####|#####"},
                                           FillShapeRow{"ThreeWholeRows", {0, 1, 5, 4}, ".....|#####|#####|#####"},
                                           FillShapeRow{"OneWholeRow", {0, 2, 5, 3}, ".....|.....|#####|....."},
                                           FillShapeRow{"WholeRowsClipped", {-3, -2, 9, 2}, "#####|#####|.....|....."},
                                           FillShapeRow{"NarrowColumn", {1, 0, 3, 4}, ".##..|.##..|.##..|.##.."},
                                           FillShapeRow{
                                               "AllButTheLastColumn", {0, 0, 4, 3}, "####.|####.|####.|....."}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FrameRow {
    const char* name;
    RECT rc;
    const char* expected;  // 6 x 4
};
GT_PRINT_ROW_NAME(FrameRow)

class FrameRects : public ::testing::TestWithParam<FrameRow> {};

TEST_P(FrameRects, InsideBands) {
    kt::Surface c(6, 4);
    FrameRect(c.dc(), &GetParam().rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetParam().expected, c.ascii(kInk));
}

INSTANTIATE_TEST_SUITE_P(Gdi, FrameRects,
                         ::testing::Values(FrameRow{"Box", {1, 0, 5, 4}, ".####.|.#..#.|.#..#.|.####."},
                                           FrameRow{"OneRow", {0, 1, 3, 2}, "......|###...|......|......"},
                                           FrameRow{"Empty", {3, 1, 3, 3}, "......|......|......|......"},
                                           FrameRow{"Huge", {INT_MIN, -1, INT_MAX, 2}, "......|######|......|......"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FocusRow {
    const char* name;
    RECT rc;
    const char* expected;  // 5 x 3, white canvas: '#' marks inverted pixels
};
GT_PRINT_ROW_NAME(FocusRow)

class FocusRects : public ::testing::TestWithParam<FocusRow> {};

TEST_P(FocusRects, DottedXorParityAndRestore) {
    kt::Surface c(5, 3);
    EXPECT_TRUE(DrawFocusRect(c.dc(), &GetParam().rc));
    EXPECT_EQ(GetParam().expected, c.ascii(kInk));
    DrawFocusRect(c.dc(), &GetParam().rc);
    EXPECT_EQ(".....|.....|.....", c.ascii(kInk));
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, FocusRects,
    ::testing::Values(FocusRow{"EvenCorner", {0, 0, 5, 3}, "#.#.#|.....|#.#.#"},
                      FocusRow{"OddLeft", {1, 0, 5, 3}, "..#.#|.#...|..#.#"},
                      FocusRow{"OneColumn", {2, 0, 3, 3}, "..#..|.....|..#.."},
                      FocusRow{"OddParityRow", {0, 1, 4, 2}, ".....|.#.#.|....."},
                      FocusRow{"ClippedHuge", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, ".....|.....|....."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rectangle, PenOutlineAndBrushFill) {
    kt::Surface c(6, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc(), red);
    EXPECT_TRUE(Rectangle(c.dc(), 5, 4, 0, 0));  // normalised
    const std::vector<std::pair<COLORREF, char>> legend = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}};
    EXPECT_EQ("#####.|#rrr#.|#rrr#.|#####.", c.ascii(legend));
    c.fill(kWhite);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    Rectangle(c.dc(), 0, 0, 5, 4);  // without a pen the fill stops one pixel short
    EXPECT_EQ("rrrr..|rrrr..|rrrr..|......", c.ascii(legend));
    SelectObject(c.dc(), old);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(red));
}

TEST(DrawEdge, ClassicRaisedColoursAndAdjust) {
    kt::Surface c(4, 4, kBlack);
    RECT rc{0, 0, 4, 4};
    EXPECT_TRUE(DrawEdge(c.dc(), &rc, EDGE_RAISED, BF_RECT | BF_ADJUST));
    const std::vector<std::pair<COLORREF, char>> legend = {
        {RGB(212, 208, 200), 'l'}, {RGB(64, 64, 64), 'd'}, {kWhite, 'w'}, {RGB(128, 128, 128), 's'}};
    EXPECT_EQ("llld|lwsd|lssd|dddd", c.ascii(legend));
    EXPECT_EQ(2, rc.left);
    EXPECT_EQ(2, rc.right);
}

TEST(DrawEdge, SunkenMiddleFill) {
    kt::Surface c(5, 5, kBlack);
    RECT rc{0, 0, 5, 5};
    DrawEdge(c.dc(), &rc, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(RGB(128, 128, 128), c.at(0, 0));  // outer top-left: shadow
    EXPECT_EQ(RGB(64, 64, 64), c.at(1, 1));     // inner top-left: dark shadow
    EXPECT_EQ(RGB(212, 208, 200), c.at(2, 2));  // middle: face
    EXPECT_EQ(kWhite, c.at(4, 0));              // outer top-right corner: bottom-right colour
}

TEST(Pixels, InvalidOutsideSurfaceAndClip) {
    kt::Surface c(3, 3);
    EXPECT_EQ(kRed, SetPixel(c.dc(), 1, 1, kRed));
    EXPECT_EQ(kRed, GetPixel(c.dc(), 1, 1));
    EXPECT_EQ(kRed, c.at(1, 1));
    const POINT outside[] = {{-1, 0}, {3, 0}, {0, 3}, {INT_MIN, INT_MIN}, {INT_MAX, 0}};
    for (POINT p : outside) EXPECT_EQ(CLR_INVALID, GetPixel(c.dc(), p.x, p.y));
    EXPECT_EQ(CLR_INVALID, GetPixel(nullptr, 0, 0));
    IntersectClipRect(c.dc(), 0, 0, 1, 1);
    SKIP_UNDER_WINE("GetPixel and SetPixel outside the clip or the surface return the colour");
    EXPECT_EQ(CLR_INVALID, GetPixel(c.dc(), 1, 1));
    EXPECT_FALSE(SetPixelV(c.dc(), 2, 2, kBlue));
    EXPECT_EQ(kWhite, c.at(2, 2));
    for (POINT p : outside) EXPECT_EQ(CLR_INVALID, SetPixel(c.dc(), p.x, p.y, kRed));
}

TEST(Pixels, MonochromeSurfaceKeepsNearerOfBlackAndWhite) {
    MonoCanvas m(2, 1);
    EXPECT_EQ(kWhite, SetPixel(m.dc(), 0, 0, RGB(200, 200, 0)));  // 400 > 382.5
    EXPECT_EQ(kBlack, SetPixel(m.dc(), 1, 0, RGB(127, 127, 128)));
}

TEST(InvertRect, InvertsInsideOnly) {
    kt::Surface c(3, 1, kRed);
    RECT rc{1, 0, 2, 1};
    EXPECT_TRUE(InvertRect(c.dc(), &rc));
    EXPECT_EQ(kRed, c.at(0, 0));
    EXPECT_EQ(RGB(0, 255, 255), c.at(1, 0));
}

}  // namespace
