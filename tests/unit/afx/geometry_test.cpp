// CRect, CPoint and CSize as the library uses them: intersection, union, hit-testing edges.
#include <gtest/gtest.h>

#include "platform.h"

namespace {

::testing::AssertionResult RectIs(const RECT& rc, LONG l, LONG t, LONG r, LONG b) {
    if (rc.left == l && rc.top == t && rc.right == r && rc.bottom == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got {" << rc.left << ", " << rc.top << ", " << rc.right << ", "
                                         << rc.bottom << "}, want {" << l << ", " << t << ", " << r << ", " << b << "}";
}

TEST(CRectIntersect, EmptyResultsAreZeroed) {
    struct Row {
        const char* name;
        CRect a, b;
        BOOL ok;
        CRect expected;
    };
    const Row rows[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}},
        {"touching edges share no pixel", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}},
        {"empty operand", {0, 0, 10, 10}, {3, 3, 3, 8}, FALSE, {0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        CRect out(99, 99, 99, 99);
        EXPECT_EQ(r.ok, out.IntersectRect(&r.a, &r.b)) << r.name;
        EXPECT_TRUE(RectIs(out, r.expected.left, r.expected.top, r.expected.right, r.expected.bottom)) << r.name;
        const CRect by_operator = r.a & r.b;
        EXPECT_TRUE(by_operator == r.expected) << r.name;
    }
}

TEST(CRectUnionSubtract, FollowWin32) {
    CRect u;
    EXPECT_TRUE(u.UnionRect(CRect(0, 0, 2, 2), CRect(5, 1, 6, 8)));
    EXPECT_TRUE(RectIs(u, 0, 0, 6, 8));
    EXPECT_TRUE(u.UnionRect(CRect(1, 1, 3, 3), CRect(0, 0, 0, 0)));  // an empty rect adds nothing
    EXPECT_TRUE(RectIs(u, 1, 1, 3, 3));
    CRect joined(0, 0, 1, 1);
    joined |= CRect(4, 4, 5, 5);
    EXPECT_TRUE(RectIs(joined, 0, 0, 5, 5));

    CRect s;
    s.SubtractRect(CRect(0, 0, 10, 10), CRect(0, 0, 4, 10));  // a full-height strip comes off
    EXPECT_TRUE(RectIs(s, 4, 0, 10, 10));
    s.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4));  // a hole cannot be expressed
    EXPECT_TRUE(RectIs(s, 0, 0, 10, 10));
    EXPECT_EQ(CPoint(8, 13), CRect(3, 4, 13, 22).CenterPoint());
}

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
    EXPECT_TRUE(RectIs(a + CRect(0, 0, 1, 1), 5, 7, 6, 8));
    CSize s(1, 1);
    s += CSize(2, 3);
    EXPECT_EQ(CSize(3, 4), s);
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
}

}  // namespace
