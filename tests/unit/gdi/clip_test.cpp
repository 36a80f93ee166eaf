// Clipping of memory DCs, and the origins it is kept through.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

TEST(Clip, ClipRectangleIsKeptInDeviceCoordinates) {
    kt::Surface c(8, 6);
    RECT box;
    SetWindowOrgEx(c.dc(), 2, 1, nullptr);  // the clip box is the surface in logical coordinates
    EXPECT_EQ(SIMPLEREGION, GetClipBox(c.dc(), &box));
    EXPECT_TRUE(SameRect(RECT{2, 1, 10, 7}, box));
    SetWindowOrgEx(c.dc(), 0, 0, nullptr);
    SetViewportOrgEx(c.dc(), 1, 1, nullptr);
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(c.dc(), 0, 0, 3, 2));  // device (1,1)-(4,3)
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{1, 1, 4, 3}, box));
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(c.dc(), 2, 0, 8, 8));  // intersected with the clip so far
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(1, GetClipRgn(c.dc(), rgn));
    GetRgnBox(rgn, &box);
    EXPECT_TRUE(SameRect(RECT{2, 1, 4, 3}, box));
    EXPECT_EQ(-1, GetClipRgn(c.dc(), nullptr));
    EXPECT_EQ(-1, GetClipRgn(nullptr, rgn));
    EXPECT_EQ(NULLREGION, IntersectClipRect(c.dc(), 5, 5, 6, 6));
    EXPECT_EQ(NULLREGION, GetClipBox(c.dc(), &box));
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(c.dc(), nullptr));
    EXPECT_EQ(0, GetClipRgn(c.dc(), rgn));
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{0, 0, 8, 6}, box));
    DeleteObject(rgn);
}

TEST(Clip, ExcludeClipRectGivesRectangularResults) {
    const struct {
        const char* name;
        RECT ex;
        int type;
        RECT box;  // clip box after excluding from (0,0)-(8,6)
    } rows[] = {
        {"left band", {-5, -5, 3, 50}, SIMPLEREGION, {3, 0, 8, 6}},
        {"bottom band", {0, 4, 8, 6}, SIMPLEREGION, {0, 0, 8, 4}},
        {"everything", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, NULLREGION, {0, 0, 0, 0}},
        {"hole keeps the bounds", {2, 2, 4, 4}, COMPLEXREGION, {0, 0, 8, 6}},
        {"outside", {20, 20, 30, 30}, SIMPLEREGION, {0, 0, 8, 6}},
    };
    for (const auto& r : rows) {
        kt::Surface c(8, 6);
        EXPECT_EQ(r.type, ExcludeClipRect(c.dc(), r.ex.left, r.ex.top, r.ex.right, r.ex.bottom)) << r.name;
        RECT box;
        GetClipBox(c.dc(), &box);
        EXPECT_TRUE(SameRect(r.box, box)) << r.name << ": " << box.left << "," << box.top << "," << box.right << ","
                                          << box.bottom;
    }
}

}  // namespace
