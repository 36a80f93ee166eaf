// Clipping and origins of memory DCs.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

TEST(Clip, ClipBoxIsSurfaceInLogicalCoordinates) {
    kt::Surface c(8, 6);
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(c.dc(), &box));
    EXPECT_TRUE(SameRect(RECT{0, 0, 8, 6}, box));
    SetWindowOrgEx(c.dc(), 2, 1, nullptr);
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{2, 1, 10, 7}, box));
}

TEST(Clip, ClipRectangleIsKeptInDeviceCoordinates) {
    kt::Surface c(8, 6);
    SetViewportOrgEx(c.dc(), 1, 1, nullptr);
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(c.dc(), 0, 0, 3, 2));  // device (1,1)-(4,3)
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{1, 1, 4, 3}, box));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(1, GetClipRgn(c.dc(), rgn));
    RECT rgnBox;
    GetRgnBox(rgn, &rgnBox);
    EXPECT_TRUE(SameRect(RECT{1, 1, 4, 3}, rgnBox));
    EXPECT_EQ(NULLREGION, IntersectClipRect(c.dc(), 5, 5, 6, 6));
    EXPECT_EQ(NULLREGION, GetClipBox(c.dc(), &box));
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(c.dc(), nullptr));
    EXPECT_EQ(0, GetClipRgn(c.dc(), rgn));
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{0, 0, 8, 6}, box));
    DeleteObject(rgn);
}

struct ExcludeRow {
    const char* name;
    RECT ex;
    int type;
    RECT box;  // clip box after excluding from (0,0)-(8,6)
};
GT_PRINT_ROW_NAME(ExcludeRow)

class ExcludeClip : public ::testing::TestWithParam<ExcludeRow> {};

TEST_P(ExcludeClip, RectangularResult) {
    const ExcludeRow& r = GetParam();
    kt::Surface c(8, 6);
    EXPECT_EQ(r.type, ExcludeClipRect(c.dc(), r.ex.left, r.ex.top, r.ex.right, r.ex.bottom));
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(r.box, box)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
}

INSTANTIATE_TEST_SUITE_P(
    Gdi, ExcludeClip,
    ::testing::Values(ExcludeRow{"LeftBand", {-5, -5, 3, 50}, SIMPLEREGION, {3, 0, 8, 6}},
                      ExcludeRow{"BottomBand", {0, 4, 8, 6}, SIMPLEREGION, {0, 0, 8, 4}},
                      ExcludeRow{"Everything", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, NULLREGION, {0, 0, 0, 0}},
                      ExcludeRow{"HoleKeepsBounds", {2, 2, 4, 4}, COMPLEXREGION, {0, 0, 8, 6}},
                      ExcludeRow{"Outside", {20, 20, 30, 30}, SIMPLEREGION, {0, 0, 8, 6}}),
    kRowName);

TEST(Clip, VisibilityQueries) {
    kt::Surface c(8, 6);
    IntersectClipRect(c.dc(), 2, 2, 4, 4);
    EXPECT_TRUE(PtVisible(c.dc(), 2, 2));
    EXPECT_FALSE(PtVisible(c.dc(), 4, 3));
    EXPECT_FALSE(PtVisible(c.dc(), INT_MIN, INT_MAX));
    RECT in{3, 3, 10, 10}, out{4, 0, 8, 6}, reversed{10, 10, 3, 3};
    EXPECT_TRUE(RectVisible(c.dc(), &in));
    EXPECT_FALSE(RectVisible(c.dc(), &out));
    EXPECT_TRUE(RectVisible(c.dc(), &reversed));
}

TEST(Coordinates, LogicalAndDevicePoints) {
    kt::Surface c(2, 2);
    SetWindowOrgEx(c.dc(), 10, 20, nullptr);
    SetViewportOrgEx(c.dc(), 1, 2, nullptr);
    OffsetViewportOrgEx(c.dc(), 1, 1, nullptr);  // viewport (2, 3)
    POINT pts[] = {{10, 20}, {INT_MAX, INT_MIN}};
    EXPECT_TRUE(LPtoDP(c.dc(), pts, 2));
    EXPECT_EQ(2, pts[0].x);
    EXPECT_EQ(3, pts[0].y);
    EXPECT_EQ(INT_MAX - 8, pts[1].x);
    EXPECT_EQ(INT_MIN, pts[1].y);  // saturated
    EXPECT_TRUE(DPtoLP(c.dc(), pts, 1));
    EXPECT_EQ(10, pts[0].x);
    EXPECT_EQ(20, pts[0].y);
    EXPECT_EQ(MM_TEXT, GetMapMode(c.dc()));
}

}  // namespace
