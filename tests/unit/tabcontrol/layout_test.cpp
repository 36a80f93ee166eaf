// Layout and widths: tabs for every alignment and arrangement, text buttons, equal
// division, fitting to a limit and widths from a margin.
#include <gtest/gtest.h>

#include <climits>

#include "tab_test_util.h"

namespace {

using tabtest::Strip;

struct Span {
    int left, right;
    bool operator==(const Span& o) const { return left == o.left && right == o.right; }
};
std::ostream& operator<<(std::ostream& os, const Span& s) {
    return os << "[" << s.left << ", " << s.right << ")";
}

// A strip 300 wide (top side, strip 14 high) with tabs of the given widths.
void AddTabsOfWidths(Strip& strip, const std::vector<int>& widths) {
    for (size_t i = 0; i < widths.size(); ++i) {
        strip.AddTab(int(i) + 1, L"Tab");
        strip.tabs->m_arrItems[INT_PTR(i)]->m_nWidth = widths[i];
        strip.tabs->m_arrItems[INT_PTR(i)]->m_nOrgWidth = widths[i];
    }
}

std::vector<Span> TabSpans(CElementTabControl& t) {
    std::vector<Span> spans;
    for (INT_PTR i = 0; i < t.m_arrItems.GetSize(); ++i)
        spans.push_back(Span{t.m_arrItems[i]->m_rcItem.left, t.m_arrItems[i]->m_rcItem.right});
    return spans;
}

std::vector<Span> ButtonSpans(CElementTabControl& t) {
    std::vector<Span> spans;
    for (INT_PTR i = 0; i < t.m_arrTextBtn.GetSize(); ++i)
        spans.push_back(Span{t.m_arrTextBtn[i].rcBtn.left, t.m_arrTextBtn[i].rcBtn.right});
    return spans;
}

// Centred, right-aligned and overlapping left-aligned tabs, a hidden last tab:
// tests/scenarios/tabs_layout.kel; left-aligned ones: tabs_click.kel.
TEST(TabLayout, AlignmentsAndArrangements) {
    struct Row {
        const char* name;
        int align;
        int arrangement;
        std::vector<int> widths;
        std::vector<int> visible;
        std::vector<Span> spans;
    };
    const Row rows[] = {
        {"other alignment is left", 7, 0, {60, 80}, {1, 1}, {{0, 60}, {60, 140}}},
        {"hidden first, centred", 2, 0, {50, 60, 80}, {0, 1, 1}, {{0, 0}, {80, 140}, {140, 220}}},
        {"wider than the strip, centred", 2, 0, {200, 200}, {1, 1}, {{-50, 150}, {150, 350}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        strip.tabs->SetStyle(1, row.align, 0);
        strip.tabs->SetTabArrangement(TAB_ARRANGEMENT(row.arrangement));
        AddTabsOfWidths(strip, row.widths);
        for (size_t i = 0; i < row.visible.size(); ++i) strip.tabs->m_arrItems[INT_PTR(i)]->m_bVisible = row.visible[i];
        strip.Layout();
        EXPECT_EQ(row.spans, TabSpans(*strip.tabs));
    }
}

TEST(TabLayout, HeightStandsOnTheStripBottom) {
    struct Row {
        const char* name;
        int side;
        int tabHeight;
        int top, bottom;
    };
    // The element is 40 high; the strip 14. Tabs lower than a top or a bottom strip:
    // tests/scenarios/tabs_layout.kel.
    const Row rows[] = {
        {"top, taller bitmap", 0, 20, 0, 14},
        {"bottom, taller bitmap", 3, 20, 26, 40},
        {"whole element", 1, 20, 20, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        strip.tabs->SetStyle(1, 0, row.side);
        AddTabsOfWidths(strip, {60});
        strip.tabs->m_arrItems[0]->m_nHeight = row.tabHeight;
        strip.Layout();
        EXPECT_EQ(row.top, strip.tabs->m_arrItems[0]->m_rcItem.top);
        EXPECT_EQ(row.bottom, strip.tabs->m_arrItems[0]->m_rcItem.bottom);
    }
}

TEST(TextButtonLayout, FollowingAndRightAligned) {
    struct Row {
        const char* name;
        DIRECT align;
        std::vector<int> buttonVisible;
        bool image;  // a third button, an image, follows the two captions
        std::vector<Span> spans;
    };
    // Captions 30 and 20 wide ("Swaps" is 39; widths are set by hand below).
    const Row rows[] = {
        {"right-aligned, last hidden", DIRECT_RIGHT, {1, 0}, false, {{465, 495}, {0, 0}}},
        {"following, first hidden", DIRECT_FOLLOW_TABS, {0, 1}, false, {{0, 0}, {225, 245}}},
        {"following image", DIRECT_FOLLOW_TABS, {1, 1, 1}, true, {{225, 255}, {260, 280}, {285, 302}}},
        {"right-aligned image", DIRECT_RIGHT, {1, 1, 1}, true, {{423, 453}, {458, 478}, {483, 495}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip(RECT{0, 0, 500, 40}, SIZE{520, 60});
        strip.tabs->SetStyle(1, 0, 0);
        strip.tabs->SetTabBtnAglin(row.align);
        AddTabsOfWidths(strip, {100, 120});  // the last tab ends at 220
        strip.tabs->AddTextButton(L"A", 1, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
        strip.tabs->AddTextButton(L"B", 2, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
        if (row.image) strip.tabs->AddTextButton(L"", 3, nullptr, nullptr, L"Test.Img", L"Test.ImgHot", 0, L"");
        strip.tabs->m_arrTextBtn[0].sizeText.cx = 30;
        strip.tabs->m_arrTextBtn[1].sizeText.cx = 20;
        strip.Layout();  // every button placed: a hidden one must lose its rectangle
        for (size_t i = 0; i < row.buttonVisible.size(); ++i)
            strip.tabs->m_arrTextBtn[INT_PTR(i)].m_bVisible = row.buttonVisible[i];
        strip.Layout();
        EXPECT_EQ(row.spans, ButtonSpans(*strip.tabs));
        for (INT_PTR i = 0; i < strip.tabs->m_arrTextBtn.GetSize(); ++i) {
            const CRect rc = strip.tabs->m_arrTextBtn[i].rcBtn;
            if (rc.IsRectNull()) continue;
            // Following buttons take the last tab's height, right-aligned ones all of D.
            EXPECT_EQ(0, rc.top);
            EXPECT_EQ(row.align == DIRECT_FOLLOW_TABS ? 14 : 40, rc.bottom);
        }
    }
}

TEST(TextButtonLayout, NoVisibleTabKeepsFollowingButtons) {
    Strip strip;
    strip.tabs->SetStyle(1, 0, 0);
    AddTabsOfWidths(strip, {60});
    strip.tabs->AddTextButton(L"A", 1, nullptr, nullptr, nullptr, nullptr, 0, L"");
    strip.Layout();
    const CRect before = strip.tabs->m_arrTextBtn[0].rcBtn;
    ASSERT_FALSE(before.IsRectEmpty());
    strip.tabs->SetItemVisibleByID(1, 0);
    EXPECT_TRUE(before == CRect(strip.tabs->m_arrTextBtn[0].rcBtn));
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

TEST(SetLimitMaxWidth, EdgeCases) {
    struct Row {
        const char* name;
        std::vector<int> visible;  // tabs of natural width 100
        int current;               // every tab's width before
        int limit;
        int width;  // every tab's width after
        bool repaints;
    };
    const Row rows[] = {
        {"growing restores hidden tabs too", {1, 1, 0}, 70, 250, 100, true},
        {"a limit at the natural total shrinks wider tabs", {1, 1}, 150, 200, 100, true},
        {"equal to the total: nothing to do", {1, 1}, 100, 200, 100, false},
        {"above the originals, current not below them", {1, 1}, 100, 250, 100, false},
        {"no visible tab", {0, 0}, 100, 10, 100, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        for (size_t i = 0; i < row.visible.size(); ++i) {
            strip.AddTab(int(i) + 1, L"Tab");
            CQuoteTabItem* pItem = strip.tabs->m_arrItems[INT_PTR(i)];
            pItem->m_nOrgWidth = 100;
            pItem->m_nWidth = row.current;
            pItem->m_bVisible = row.visible[i];
        }
        strip.host.Pump();
        strip.TakeInvalid();
        strip.tabs->SetLimitMaxWidth(row.limit);
        for (size_t i = 0; i < row.visible.size(); ++i)
            EXPECT_EQ(row.width, strip.tabs->m_arrItems[INT_PTR(i)]->m_nWidth);
        const RECT invalid = strip.TakeInvalid();
        EXPECT_EQ(row.repaints, !::IsRectEmpty(&invalid));
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

TEST(SetItemWidthWithMargin, MarginsAndSharedArrowMargin) {
    struct Row {
        const char* name;
        bool menu;
        int margin;
        int width;
        int arrowMargin;
        int leftBmpWidth;
    };
    // "Stocks" is 40 wide. A plain tab's margin above the minimum: tests/scenarios/tabs_layout.kel.
    const Row rows[] = {
        {"plain, margin 1: text + 6", false, 1, 46, 10, tabtest::kLeftW},
        {"menu, margin 2", true, 2, 40 + 3 + 12, 3, 3},
        {"menu, margin 8", true, 8, 40 + 8 + 9 + 9, 9, 8},
        {"plain, huge margin saturates", false, INT_MAX, INT_MAX, 10, tabtest::kLeftW},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        _MENU_CMD_INFO_ menu = kt::PlainMenu(2, 10, 10);
        strip.AddTab(1, L"Stocks", row.menu ? &menu : nullptr);
        EXPECT_EQ(1, strip.tabs->SetItemWidthWithMargin(1, row.margin));
        EXPECT_EQ(row.width, strip.tabs->m_arrItems[0]->m_nWidth);
        EXPECT_EQ(row.arrowMargin, strip.tabs->m_nArrowMargin);
        EXPECT_EQ(row.leftBmpWidth, strip.tabs->m_nLeftBmpWidth);
        EXPECT_NE(row.width, strip.tabs->m_arrItems[0]->m_nOrgWidth);
    }
    Strip strip;
    strip.AddTab(1, L"Stocks", nullptr, 0);
    EXPECT_EQ(0, strip.tabs->SetItemWidthWithMargin(1, 4));  // hidden
    EXPECT_EQ(0, strip.tabs->SetItemWidthWithMargin(2, 4));  // unknown
}

TEST(Renaming, ChangeItemNameByIDAdjustsWidth) {
    Strip strip;
    strip.tabs->SetStyle(1, 0, 0);
    strip.AddTab(1, L"Stocks");                                 // 47
    strip.AddTab(2, L"Sectors");                                // 52
    EXPECT_EQ(1, strip.tabs->ChangeItemNameByID(1, L"Money"));  // 39 wide: 1 narrower
    EXPECT_EQ(46, strip.tabs->m_arrItems[0]->m_nWidth);
    EXPECT_EQ(47, strip.tabs->m_arrItems[0]->m_nOrgWidth);
    EXPECT_TRUE(strip.tabs->m_arrItems[0]->m_strOrgName == L"Stocks");
    EXPECT_EQ(46, strip.tabs->m_arrItems[1]->m_rcItem.left);  // laid out again
}

}  // namespace
