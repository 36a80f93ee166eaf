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
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{2, 1, 4, 3}, box));
    EXPECT_EQ(NULLREGION, IntersectClipRect(c.dc(), 5, 5, 6, 6));
    EXPECT_EQ(NULLREGION, GetClipBox(c.dc(), &box));
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(c.dc(), nullptr));
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(SameRect(RECT{0, 0, 8, 6}, box));
}

}  // namespace
