// Mouse interaction through the host: clicks on menu tabs and hover repaint areas.
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

}  // namespace
