// Lines, rectangles, focus rectangles and single pixels.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

const std::vector<std::pair<COLORREF, char>> kInk = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}};

struct LineRow {
    const char* name;
    int x0, y0, x1, y1;
    const char* expected;  // 6 x 3 canvas
    const char* wine_fault = nullptr;
};
GT_PRINT_ROW_NAME(LineRow)

class Lines : public ::testing::TestWithParam<LineRow> {};

TEST_P(Lines, ExcludeEndPointAndMatchTheirReverse) {
    const LineRow& r = GetParam();
    if (r.wine_fault) SKIP_UNDER_WINE(r.wine_fault);
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
                      // over x 0..5 the line is at y = 1.0000000005: row 1
                      LineRow{"FullRangeShallow", INT_MIN, 0, INT_MAX, 2, "......|######|......",
                              "draws the row above, a whole pixel off the line"},
                      LineRow{"OutsideEntirely", -10, -10, -1, 20, "......|......|......"}),
    kRowName);

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

TEST(Lines, PensAndRop2) {
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
    LineTo(c.dc(), 4, 0);  // the null pen draws nothing
    EXPECT_EQ("cccr", c.ascii({{RGB(0, 255, 255), 'c'}, {kRed, 'r'}}));
    SelectObject(c.dc(), old);
    EXPECT_TRUE(DeleteObject(white));
}

// A plain fill draws its first row and repeats it, in doubling blocks when the rows are
// whole and contiguous: every shape must still cover exactly its rectangle. FrameRect
// draws four bands inside it.
TEST(Fills, CoverExactlyTheirPixels) {
    const struct {
        const char* name;
        bool frame;  // FrameRect, else FillRect
        RECT rc;
        const char* expected;  // 6 x 4
    } rows[] = {
        {"WholeSurface", false, {0, 0, 6, 4}, "######|######|######|######"},
        {"ThreeWholeRows", false, {0, 1, 6, 4}, "......|######|######|######"},
        {"OneWholeRow", false, {0, 2, 6, 3}, "......|......|######|......"},
        {"WholeRowsClipped", false, {-3, -2, 9, 2}, "######|######|......|......"},
        {"NarrowColumn", false, {1, 0, 3, 4}, ".##...|.##...|.##...|.##..."},
        {"AllButTheLastColumn", false, {0, 0, 5, 3}, "#####.|#####.|#####.|......"},
        // a PatBlt of width -3 and height -2 from (4, 3)
        {"RightToLeftAsPatBlt", false, {4, 3, 1, 1}, "......|......|..###.|..###."},
        {"FrameBox", true, {1, 0, 5, 4}, ".####.|.#..#.|.#..#.|.####."},
        {"FrameOneRow", true, {0, 1, 3, 2}, "......|###...|......|......"},
        {"FrameEmpty", true, {3, 1, 3, 3}, "......|......|......|......"},
        {"FrameHuge", true, {INT_MIN, -1, INT_MAX, 2}, "......|######|......|......"},
    };
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (const auto& r : rows) {
        kt::Surface c(6, 4);
        EXPECT_EQ(!r.frame || !IsRectEmpty(&r.rc),  // an empty frame fails
                  (r.frame ? FrameRect : FillRect)(c.dc(), &r.rc, black) != 0)
            << r.name;
        EXPECT_EQ(r.expected, c.ascii(kInk)) << r.name;
    }
}

// The dots follow the outline from the top-right corner; a one-pixel-wide or -high
// rectangle goes there and back, so only its ends can stay inverted.
TEST(FocusRects, DottedXorParityAndRestore) {
    const struct {
        const char* name;
        RECT rc;
        const char* expected;  // 5 x 3, white canvas: '#' marks inverted pixels
    } rows[] = {
        {"EvenCorner", {0, 0, 5, 3}, "#.#.#|.....|#.#.#"},
        {"OddLeft", {1, 0, 5, 3}, "..#.#|.#...|..#.#"},
        {"OddRight", {1, 0, 4, 3}, ".#.#.|.....|.#.#."},
        {"OneColumnOddLength", {2, 0, 3, 3}, "..#..|.....|..#.."},
        {"OneRowEvenLength", {0, 1, 4, 2}, ".....|...#.|....."},
        {"OneRowOddLength", {0, 1, 5, 2}, ".....|#...#|....."},
        {"OnePixel", {1, 1, 2, 2}, ".....|.....|....."},
        {"ClippedHuge", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, ".....|.....|....."},
    };
    for (const auto& r : rows) {
        kt::Surface c(5, 3);
        EXPECT_TRUE(DrawFocusRect(c.dc(), &r.rc));
        EXPECT_EQ(r.expected, c.ascii(kInk)) << r.name;
        DrawFocusRect(c.dc(), &r.rc);
        EXPECT_EQ(".....|.....|.....", c.ascii(kInk)) << r.name;
    }
}

constexpr POINT kOutside3x3[] = {{-1, 0}, {3, 0}, {0, 3}, {INT_MIN, INT_MIN}, {INT_MAX, 0}};

TEST(Pixels, OutsideTheClipOrWrittenOutsideTheSurfaceIsInvalid) {
    SKIP_UNDER_WINE("GetPixel and SetPixel outside the clip or the surface return the colour");
    kt::Surface c(3, 3);
    SetPixel(c.dc(), 1, 1, kRed);
    IntersectClipRect(c.dc(), 0, 0, 1, 1);
    EXPECT_EQ(CLR_INVALID, GetPixel(c.dc(), 1, 1));
    EXPECT_FALSE(SetPixelV(c.dc(), 2, 2, kBlue));
    EXPECT_EQ(kWhite, c.at(2, 2));
    for (POINT p : kOutside3x3) EXPECT_EQ(CLR_INVALID, SetPixel(c.dc(), p.x, p.y, kRed));
}

}  // namespace
