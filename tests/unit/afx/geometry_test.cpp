// CRect, CPoint and CSize: what they add to the Win32 rectangle calls, which CRect's
// IntersectRect, UnionRect, SubtractRect and their operators forward to (those calls:
// gdi/user_rects_test.cpp).
#include <gtest/gtest.h>

#include "platform.h"

namespace {

TEST(CRectPtInRect, LeftTopInsideRightBottomOutside) {
    const CRect rc(2, 3, 5, 7);
    struct Row {
        const char* name;
        CPoint pt;
        BOOL inside;
    };
    const Row rows[] = {
        {"top-left corner", {2, 3}, TRUE}, {"last pixel", {4, 6}, TRUE},    {"right edge", {5, 3}, FALSE},
        {"bottom edge", {2, 7}, FALSE},    {"left of rect", {1, 4}, FALSE}, {"above rect", {3, 2}, FALSE},
    };
    for (const Row& r : rows) EXPECT_EQ(r.inside, rc.PtInRect(r.pt)) << r.name;
    EXPECT_FALSE(CRect(4, 4, 4, 9).PtInRect(CPoint(4, 5)));  // an empty rect holds no point
    EXPECT_FALSE(CRect(5, 5, 1, 1).PtInRect(CPoint(3, 3)));  // nor does a reversed one
}

TEST(CPointCSize, Arithmetic) {
    const CPoint a(5, 7), b(2, 10);
    EXPECT_EQ(CSize(3, -3), a - b);  // point - point is a distance
    EXPECT_EQ(CPoint(3, 4), a - CSize(2, 3));
    EXPECT_EQ(CPoint(7, 17), a + b);
    EXPECT_EQ(CPoint(-5, -7), -a);
    EXPECT_EQ(CPoint(-5, -7), CPoint(MAKELPARAM(-5, -7)));  // packed mouse positions are signed
    EXPECT_TRUE(a + CRect(0, 0, 1, 1) == CRect(5, 7, 6, 8));
    CSize s(1, 1);
    s += CSize(2, 3);
    EXPECT_EQ(CSize(3, 4), s);
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
    EXPECT_EQ(CPoint(8, 13), CRect(3, 4, 13, 22).CenterPoint());
    EXPECT_TRUE((CRect(0, 0, 10, 10) & CRect(10, 0, 20, 10)) == CRect(0, 0, 0, 0));
    CRect joined(0, 0, 1, 1);
    joined |= CRect(4, 4, 5, 5);
    EXPECT_TRUE(joined == CRect(0, 0, 5, 5));
}

}  // namespace
