// CRect, CPoint and CSize: what they add to the Win32 rectangle calls, which CRect's
// PtInRect, IntersectRect, UnionRect and their operators forward to (those calls:
// gdi/user_rects_test.cpp).
#include <gtest/gtest.h>

#include "platform.h"

namespace {

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
