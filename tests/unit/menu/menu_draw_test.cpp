// The drawing helpers of CMenuEx: the check mark, pixel by pixel.
#include <gtest/gtest.h>

#include "menu_test_util.h"
#include "pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(DrawCheckmark, TenByTenSquare) {
    struct Row {
        const char* name;
        int selected;
        COLORREF fill;
    };
    const Row rows[] = {
        {"selected", 1, RGB(170, 179, 252)},
        {"not selected", 0, RGB(226, 229, 254)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(30, 30, kWhite);
        CDC* dc = CDC::FromHandle(s.dc());
        TestMenu menu;
        COLORREF frame = RGB(68, 88, 249);
        const CRect rc(10, 10, 20, 20);
        EXPECT_EQ(1, menu.DrawCheckmark(dc, rc, frame, r.selected));
        const COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
        // Frame on every edge pixel, the lightened fill inside, the tick from (12, 12).
        for (int i = 10; i < 20; ++i) {
            EXPECT_EQ(frame, s.at(i, 10));
            EXPECT_EQ(frame, s.at(i, 19));
            EXPECT_EQ(frame, s.at(10, i));
            EXPECT_EQ(frame, s.at(19, i));
        }
        EXPECT_EQ(kWhite, s.at(9, 9));
        EXPECT_EQ(kWhite, s.at(20, 20));
        EXPECT_EQ(r.fill, s.at(11, 11));
        EXPECT_EQ(r.fill, s.at(18, 18));
        EXPECT_EQ(ink, s.at(12, 14));  // first column, rows 2 and 3 of the tick
        EXPECT_EQ(ink, s.at(12, 15));
        EXPECT_EQ(r.fill, s.at(12, 16));
        EXPECT_EQ(ink, s.at(18, 12));  // last column, rows 0 and 1
        EXPECT_EQ(ink, s.at(18, 13));
        EXPECT_EQ(frame, s.at(19, 12));
    }
    // 4 x 4: both offsets are max(2 - 3, 0) = 0, so the tick starts at the corner.
    kt::Surface s(20, 20, kWhite);
    COLORREF black = RGB(0, 0, 0);
    TestMenu().DrawCheckmark(CDC::FromHandle(s.dc()), CRect(2, 2, 6, 6), black, 0);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), s.at(2, 4));  // column 0, row 2
}

}  // namespace
