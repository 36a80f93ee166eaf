// Widths: fitting the tabs to a limit, and equal division with huge IDs.
#include <gtest/gtest.h>

#include <climits>

#include "tab_test_util.h"

namespace {

using tabtest::Strip;

// A strip 300 wide (top side, strip 14 high) with tabs of the given widths.
void AddTabsOfWidths(Strip& strip, const std::vector<int>& widths) {
    for (size_t i = 0; i < widths.size(); ++i) {
        strip.AddTab(int(i) + 1, L"Tab");
        strip.tabs->m_arrItems[INT_PTR(i)]->m_nWidth = widths[i];
        strip.tabs->m_arrItems[INT_PTR(i)]->m_nOrgWidth = widths[i];
    }
}

// A plain shrink and a growth back past the originals: tests/scenarios/tabs_layout.kel.
TEST(SetLimitMaxWidth, ShrinkAndGrow) {
    struct Row {
        const char* name;
        bool wideMinimum;  // minimum 60 per tab instead of 46
        int firstLimit;    // shrinks from 4 x 100
        int secondLimit;   // 0: none
        int width;         // each tab's width afterwards
    };
    const Row rows[] = {
        {"shrink stops at the minimum", true, 200, 0, 60},
        {"grow to an equal share", false, 200, 300, 75},
    };
    ASSERT_EQ(40, tabtest::TextWidth(L"Stocks"));
    ASSERT_EQ(45, tabtest::TextWidth(L"Sectors"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip(RECT{0, 0, 600, 40}, SIZE{620, 60});
        AddTabsOfWidths(strip, {100, 100, 100, 100});
        for (INT_PTR i = 0; i < 4; ++i) {
            CQuoteTabItem& tab = *strip.tabs->m_arrItems[i];
            tab.m_strName = row.wideMinimum ? L"Sectors" : L"Stocks";  // 40 + 6 = 46
            if (row.wideMinimum) tab.m_vecMenu = kt::PlainMenu(1, 1, 1).vecMenu;
        }
        strip.tabs->m_nArrowMargin = 3;  // with a menu: 45 + 3 + 12 = 60
        strip.tabs->SetLimitMaxWidth(row.firstLimit);
        if (row.secondLimit) strip.tabs->SetLimitMaxWidth(row.secondLimit);
        for (INT_PTR i = 0; i < 4; ++i) EXPECT_EQ(row.width, strip.tabs->m_arrItems[i]->m_nWidth);
        // Laid out at once: centred in 600.
        EXPECT_EQ((600 - 4 * row.width) / 2, strip.tabs->m_arrItems[0]->m_rcItem.left);
    }
}

// Columns by ID (a bottom strip): tests/scenarios/tabs_layout.kel; rows by ID: the
// left_rows golden (paint_test.cpp).
TEST(EqualDivision, HugeIDsSaturateInsteadOfOverflowing) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    strip.AddDivided(INT_MAX, 1, 1);
    TabControlTestAccess::ReCalculateTabSize(t);
    EXPECT_EQ(INT_MAX, t.m_arrItems[0]->m_rcItem.left);
    t.SetStyle(1, 0, 2);
    TabControlTestAccess::ReCalculateTabSize(t);
    EXPECT_EQ(INT_MAX, t.m_arrItems[0]->m_rcItem.top);
}

}  // namespace
