// Mouse interaction through the host: selection and button notifications, hover repaint
// areas, the cursor, and the menu commands that rename tabs.
#include <gtest/gtest.h>

#include "tab_test_util.h"
#include "win32/runtime_ext.h"

namespace {

using tabtest::Centre;
using tabtest::Strip;
using Posts = std::vector<std::pair<UINT, long long>>;

// The element sits at (10, 5) in its window so that element and window points differ.
const RECT kPlace{10, 5, 310, 45};

RECT Union(const RECT& a, const RECT& b) {
    RECT u{};
    ::UnionRect(&u, &a, &b);
    return u;
}

::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual) {
    if (::EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << expected.left << ", " << expected.top << ", "
                                         << expected.right << ", " << expected.bottom << ") got (" << actual.left
                                         << ", " << actual.top << ", " << actual.right << ", " << actual.bottom << ")";
}

// Three tabs left-aligned on a top strip: "Stocks" (ID 1), "" (ID 2), "Bonds" (ID 3).
void ThreeTabs(Strip& strip) {
    strip.tabs->SetStyle(1, 0, 0);
    strip.AddTab(1, L"Stocks");
    strip.AddTab(2, L"");
    strip.AddTab(3, L"Bonds");
    strip.Layout();
}

// The posts and the selection of clicks on a new tab, the selected one and one with an
// empty name: tests/scenarios/tabs_click.kel. Here the repaint a press asks for, seen
// before the host paints it, with tab 0 selected.
TEST(TabClick, PressRepaints) {
    struct Row {
        const char* name;
        int tab;
        bool stripRepaint;  // else only the pressed tab
    };
    const Row rows[] = {
        {"the selected tab: the strip", 0, true},
        {"another tab: the strip", 2, true},
        {"empty name: only the tab", 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip(kPlace);
        ThreeTabs(strip);
        CElementTabControl& t = *strip.tabs;
        strip.Click(Centre(t.m_arrItems[0]->m_rcItem));
        strip.TakeInvalid();
        t.OnLButtonDown(Centre(t.m_arrItems[row.tab]->m_rcItem));
        const RECT expected = row.stripRepaint ? RECT{0, 0, 300, 14} : RECT(t.m_arrItems[row.tab]->m_rcItem);
        EXPECT_TRUE(SameRect(expected, strip.TakeInvalid()));
    }
}

TEST(TabClick, TabAndTextButtonUnderOnePoint) {
    Strip strip(kPlace);
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 1, 0);  // tabs right-aligned up to 300
    t.SetTabBtnAglin(DIRECT_RIGHT);
    strip.AddTab(4, L"Stocks");
    t.AddTextButton(L"F10", 77, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    strip.Layout();
    const CRect rcBtn = t.m_arrTextBtn[0].rcBtn;  // ends at 295, spans all of D
    const POINT pt{rcBtn.right - 2, 3};
    ASSERT_TRUE(CRect(t.m_arrItems[0]->m_rcItem).PtInRect(pt));
    strip.Click(pt);
    const Posts expected = {{1324, 4}, {1325, 77}};
    EXPECT_EQ(expected, strip.TakePosts());
    strip.Click(POINT{rcBtn.left + 1, 30});  // below the strip: the button alone
    const Posts buttonOnly = {{1325, 77}};
    EXPECT_EQ(buttonOnly, strip.TakePosts());
}

// The created name opens the menu on a body click, a rename makes the body select and the
// arrow still opens it: tests/scenarios/tabs_menu.kel, menu_tab_choose.kel. Here
// m_bMenuOnClick and a strip without an arrow bitmap.
TEST(TabClick, MenuTabs) {
    Strip strip(kPlace);
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 0);
    _MENU_CMD_INFO_ menu = kt::PlainMenu(3, 101, 101);
    strip.AddTab(1, L"Stocks");
    strip.AddTab(2, L"Minutes", &menu);
    ASSERT_EQ(1, t.ChangeItemNameByID(2, L"1 Min"));
    strip.Layout();
    const CRect rcItem = t.m_arrItems[1]->m_rcItem;
    t.m_arrItems[1]->m_bMenuOnClick = 1;  // any click opens it
    strip.Click(POINT{rcItem.left + 3, 7});
    EXPECT_TRUE(strip.TakePosts().empty());
    EXPECT_EQ(-1, t.m_nSelTab);
    t.m_arrItems[1]->m_bMenuOnClick = 0;
    t.m_pArrowBmp = nullptr;  // no arrow loaded: the arrow has no area
    t.OnLButtonDown(POINT{rcItem.left + 2, 2});
    strip.host.Pump();
    EXPECT_EQ((Posts{{1324, 2}}), strip.TakePosts());
}

TEST(TabClick, LeftStripEqualDivisionHitsHiddenTab) {
    Strip strip(kPlace);
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 2);
    for (int id : {0, 1, 2}) strip.AddDivided(id, 3, 0, id != 1);
    strip.Layout();
    // A paint divides the strip into rows, hidden tab included.
    ::InvalidateRect(strip.host.Window().GetSafeHwnd(), nullptr, TRUE);
    ::DeleteObject(strip.host.Snapshot());
    const POINT row1{50, 14 + 7};
    ASSERT_TRUE(CRect(t.m_arrItems[1]->m_rcItem).PtInRect(row1));
    strip.Move(row1);
    EXPECT_EQ(-1, t.m_nHotTab);  // hovering skips hidden tabs
    strip.Click(row1);
    const Posts expected = {{1324, 1}};
    EXPECT_EQ(expected, strip.TakePosts());
}

TEST(TabHover, RepaintAreas) {
    Strip strip(kPlace);
    CElementTabControl& t = *strip.tabs;
    ThreeTabs(strip);
    t.AddTextButton(L"F10", 7, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    t.AddTextButton(L"F11", 8, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    strip.Layout();
    strip.host.Pump();
    strip.TakeInvalid();
    const RECT stripRect{0, 0, 300, 14};
    const RECT tab2 = t.m_arrItems[2]->m_rcItem;
    const RECT btn0 = t.m_arrTextBtn[0].rcBtn, btn1 = t.m_arrTextBtn[1].rcBtn, buttons = Union(btn0, btn1);
    const RECT none{0, 0, 0, 0};

    struct Step {
        const char* name;
        POINT pt;
        RECT invalid;
        int hot;
        std::vector<bool> buttonsHot;
    };
    const Step steps[] = {
        {"onto the first tab: the strip", Centre(t.m_arrItems[0]->m_rcItem), stripRect, 0, {false, false}},
        {"within the same tab: nothing", POINT{t.m_arrItems[0]->m_rcItem.left + 1, 1}, none, 0, {false, false}},
        {"to another tab: the strip", Centre(tab2), stripRect, 2, {false, false}},
        {"off the tabs: the lost tab and every button", POINT{290, 30}, Union(tab2, buttons), -1, {false, false}},
        {"onto the second button: both buttons", Centre(btn1), buttons, -1, {false, true}},
        {"onto the first button: only it", Centre(btn0), btn0, -1, {true, true}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(1, t.OnMouseMove(step.pt.x, step.pt.y, 0));
        EXPECT_TRUE(SameRect(step.invalid, strip.TakeInvalid()));
        EXPECT_EQ(step.hot, t.m_nHotTab);
        for (size_t i = 0; i < step.buttonsHot.size(); ++i)
            EXPECT_EQ(step.buttonsHot[i], t.m_arrTextBtn[INT_PTR(i)].bHot);
    }
    // The leave clears every hot flag and repaints the whole element, once.
    t.OnMouseLeave();
    EXPECT_TRUE(SameRect(RECT{0, 0, 300, 40}, strip.TakeInvalid()));
    EXPECT_FALSE(t.m_arrTextBtn[0].bHot || t.m_arrTextBtn[1].bHot);
    t.OnMouseLeave();
    EXPECT_TRUE(SameRect(none, strip.TakeInvalid()));
}

// The cursor across moves and leaves: tests/scenarios/tabs_click.kel; unknown IDs: tests/unit/reliability;
// that selecting by ID posts nothing: tabs_menu.kel.
TEST(Selection, SetSelectedTabByIDDoesNotRepaint) {
    Strip strip(kPlace);
    ThreeTabs(strip);
    CElementTabControl& t = *strip.tabs;
    strip.host.Pump();
    strip.TakeInvalid();
    EXPECT_EQ(1, t.SetSelectedTab(3));
    EXPECT_EQ(2, t.m_nSelTab);
    strip.host.Pump();
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, strip.TakeInvalid()));
}

TEST(MenuCommand, PostsRenamesAndMovesSelection) {
    struct Row {
        const char* name;
        int selectedBefore;
        DWORD command;
        const wchar_t* newName;  // of the menu tab
        int selectedAfter;
    };
    const Row rows[] = {
        {"no selection stays none", -1, 103, L"Item 3", -1},
        {"unknown command: no change", 0, 999, L"Minutes", 0},
        {"no command", 0, 0xFFFFFFFF, L"Minutes", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip(kPlace);
        CElementTabControl& t = *strip.tabs;
        t.SetStyle(1, 0, 0);
        _MENU_CMD_INFO_ menu = kt::PlainMenu(3, 101, 101);
        strip.AddTab(1, L"Stocks");
        strip.AddTab(2, L"Minutes", &menu);
        strip.Layout();
        t.m_nSelTab = row.selectedBefore;
        const int width = t.m_arrItems[1]->m_nWidth;
        EXPECT_EQ(1, t.OnMenuCommand(row.command));
        strip.host.Pump();
        const Posts expected = {{1326, static_cast<long long>(WPARAM(row.command))}};
        EXPECT_EQ(expected, strip.TakePosts());
        EXPECT_TRUE(t.m_arrItems[1]->m_strName == row.newName);
        EXPECT_EQ(width + tabtest::TextWidth(row.newName) - tabtest::TextWidth(L"Minutes"), t.m_arrItems[1]->m_nWidth);
        EXPECT_EQ(row.selectedAfter, t.m_nSelTab);
        EXPECT_EQ(t.m_arrItems[0]->m_rcItem.right, t.m_arrItems[1]->m_rcItem.left);
    }
}

// A null record's widening once and a record that renames: tests/scenarios/tabs_menu.kel.
TEST(MenuInfo, UpdateByID) {
    Strip strip(kPlace);
    CElementTabControl& t = *strip.tabs;
    strip.AddTab(1, L"Stocks");
    const int width = t.m_arrItems[0]->m_nWidth;
    t.UpdateItemMenuInfoByTabID(1, nullptr);  // only widens: 10 - 4 + 9, each time
    t.UpdateItemMenuInfoByTabID(1, nullptr);
    EXPECT_EQ(width + 30, t.m_arrItems[0]->m_nWidth);
    _MENU_CMD_INFO_ chosen = kt::PlainMenu(3, 10, 11);
    const int renamed = width + 45 + tabtest::TextWidth(L"Item 2") - 40;
    t.UpdateItemMenuInfoByTabID(1, &chosen);  // still without entries when it starts: widens
    EXPECT_EQ(renamed, t.m_arrItems[0]->m_nWidth);
    t.UpdateItemMenuInfoByTabID(1, &chosen);  // has entries now: no further widening
    EXPECT_EQ(renamed, t.m_arrItems[0]->m_nWidth);
    strip.host.Pump();
    EXPECT_TRUE(strip.TakePosts().empty());
}

}  // namespace
