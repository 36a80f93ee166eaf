// Popups end to end through the host: a click on a tab opens its drop-down menu at the
// right screen point, a choice travels through the hidden message window and the view
// manager back to the element, and nothing is left behind when the menu closes.
#include <gtest/gtest.h>

#include "menu_test_util.h"

namespace {

using menutest::Answers;
using kt::MenuEntry;
using menutest::ObjectCounts;
using menutest::StripHost;
using Posts = std::vector<std::pair<UINT, long long>>;

constexpr UINT kMenuCommand = 1326;
constexpr RECT kStripRect{10, 20, 410, 44};

// Starts each test without the hidden window, as a fresh process would.
void ForgetHiddenWindow() {
    if (g_pMsgRecvWnd && g_pMsgRecvWnd->GetSafeHwnd()) g_pMsgRecvWnd->DestroyWindow();
}

// A strip with a plain tab (ID 1) and a menu tab (ID 2, commands 101..103, 102 selected).
struct MenuStrip : StripHost {
    explicit MenuStrip(POINT origin = POINT{100, 200}, int side = 0, DWORD id = 5, int first_cmd = 101)
        : StripHost(origin, kStripRect, id, side), menu(kt::PlainMenu(3, first_cmd, first_cmd + 1)) {
        AddTab(1, L"Stocks");
        AddTab(2, L"Period", &menu);
        Layout();
        host.Pump();
    }
    _MENU_CMD_INFO_ menu;
    CQuoteTabItem& MenuTab() { return *tabs->m_arrItems[1]; }
};

class MenuTrack : public ::testing::Test {
protected:
    void SetUp() override { ForgetHiddenWindow(); }
    void TearDown() override { ForgetHiddenWindow(); }
};

// The whole-element side opens at the tab's bottom-right corner and resets an upward open
// mode; the top side (6 left, 7 above that corner): tests/scenarios/menu_tab_choose.kel; the
// bottom side (upward from the tab's top-left corner): menu_bottom.kel.
TEST_F(MenuTrack, WholeElementSideOpensAtTheTabsCorner) {
    MenuStrip strip(POINT{100, 200}, 4);
    strip.tabs->m_nMenuOpenMode = 1;  // upward at the previous opening
    const CRect rc = strip.MenuTab().m_rcItem;
    ASSERT_FALSE(rc.IsRectEmpty());
    Answers answers;
    answers.Cancel();
    strip.ClickTab(1);
    ASSERT_EQ(1u, answers.tracked.size());
    const POINT screen_pt = strip.ToScreen(POINT{rc.right, rc.bottom});
    EXPECT_EQ(screen_pt.x, answers.tracked[0].screen_rect.left);
    EXPECT_EQ(screen_pt.y, answers.tracked[0].screen_rect.top);
    EXPECT_EQ(0, strip.tabs->m_nMenuOpenMode);
    EXPECT_EQ(0, CMenuEx::nMenuOpenFlag);
    EXPECT_EQ(Posts{}, strip.TakePosts());
    EXPECT_EQ(-1, strip.tabs->m_nSelTab);
}

// Choosing, renaming, dismissing and the check mark on reopening: tests/scenarios/menu_tab_choose.kel;
// thirteen entries in two columns: menu_columns.kel.
TEST_F(MenuTrack, ACommandAboveSixteenBitsNeverActsAsAnother) {
    struct Row {
        const char* name;
        const wchar_t* choose;
        Posts posts;
        const wchar_t* tab_name;
    };
    // 70000 has 4464 in its low word, the part of WM_COMMAND that carries the command.
    const Row rows[] = {
        {"the small command travels", L"Small", {{kMenuCommand, 4464}}, L"Small"},
        {"the large one is grayed: nothing posted, no rename", L"Big", {}, L"Period"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MenuStrip strip;
        _MENU_CMD_INFO_ info;
        info.vecMenu = {MenuEntry(L"Small", 4464), MenuEntry(L"Big", 70000)};
        info.nSelCmdID = -1;
        strip.tabs->UpdateItemMenuInfoByTabID(2, &info);
        Answers answers;
        answers.Choose(row.choose);
        strip.ClickTab(1);
        ASSERT_EQ(1u, answers.tracked.size());
        ASSERT_EQ(2u, answers.tracked[0].items.size());
        EXPECT_EQ(70000u, answers.tracked[0].items[1].id);
        EXPECT_TRUE(answers.tracked[0].items[1].state & MF_GRAYED);
        EXPECT_EQ(row.posts, strip.TakePosts());
        EXPECT_STREQ(row.tab_name, strip.MenuTab().m_strName.GetString());
    }
}

TEST_F(MenuTrack, TwoHostWindowsEachGetTheirOwnCommand) {
    MenuStrip a(POINT{0, 0}, 0, 7, 101);
    MenuStrip b(POINT{600, 400}, 0, 8, 201);
    Answers answers;
    answers.Choose(L"Item 1");
    answers.Choose(L"Item 3");
    a.ClickTab(1);
    ASSERT_NE(nullptr, g_pMsgRecvWnd);
    const HWND hidden = g_pMsgRecvWnd->GetSafeHwnd();
    ASSERT_NE(nullptr, hidden);
    b.ClickTab(1);
    EXPECT_EQ((Posts{{kMenuCommand, 101}}), a.TakePosts());
    EXPECT_EQ((Posts{{kMenuCommand, 203}}), b.TakePosts());
    EXPECT_STREQ(L"Item 1", a.MenuTab().m_strName.GetString());
    EXPECT_STREQ(L"Item 3", b.MenuTab().m_strName.GetString());
    ASSERT_EQ(2u, answers.tracked.size());
    EXPECT_GE(answers.tracked[1].screen_rect.left, 600);  // the second popup opened over the second window
    EXPECT_EQ(hidden, answers.tracked[1].owner);

    // One hidden window, still the child of the first window, aimed at the second element.
    EXPECT_EQ(hidden, g_pMsgRecvWnd->GetSafeHwnd());
    EXPECT_EQ(a.host.Window().GetSafeHwnd(), ::GetParent(hidden));
    EXPECT_EQ(8u, g_pMsgRecvWnd->m_dwContainerID);
    EXPECT_EQ(&b.host.Window(), g_pMsgRecvWnd->m_pParentWnd);
}

TEST_F(MenuTrack, CircularRecordsStillOpen) {
    StripHost strip(POINT{50, 50}, kStripRect, 3);
    _MENU_CMD_INFO_ menu;
    menu.vecMenu = {MenuEntry(L"Loop", 5, -1, 1), MenuEntry(L"Back", 6, 5, 1),  MenuEntry(L"Again", 5, 6, 1),
                    MenuEntry(L"Leaf", 7, 6),     MenuEntry(L"Self", 9, -1, 1), MenuEntry(L"Me", 9, 9, 1)};
    menu.nSelCmdID = -1;
    strip.AddTab(9, L"Loop", &menu);
    strip.host.Pump();
    const ObjectCounts before;
    Answers answers;
    answers.Choose(L"Loop/Back/Leaf");
    strip.ClickTab(0);
    EXPECT_EQ((Posts{{kMenuCommand, 7}}), strip.TakePosts());
    ASSERT_EQ(1u, answers.opened.size());
    ASSERT_EQ(3u, answers.opened[0].size());
    ASSERT_EQ(2u, answers.opened[0][0].items.size());  // Loop, Self
    ASSERT_EQ(1u, answers.opened[0][2].items.size());  // "Again" would reopen "Loop": left out
    EXPECT_STREQ(L"Leaf", answers.opened[0][2].items[0].text.c_str());
    EXPECT_EQ(before, ObjectCounts());
}

// A menu that measures its owner-drawn items itself and remembers who asked.
class MeasuringMenu : public CMenuEx {
public:
    explicit MeasuringMenu(int width) : CMenuEx(OPEN_DOWNWARD, MENUBK_LIGHT), width_(width) {}
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back(mis->itemData);
        mis->itemWidth = UINT(width_);
        mis->itemHeight = 19;
    }
    std::vector<ULONG_PTR> measured;

private:
    int width_;
};

TEST_F(MenuTrack, MeasureItemReachesTheMenuHoldingTheItem) {
    CHeadlessHost host(SIZE{200, 100}, POINT{20, 20});
    const ObjectCounts before;
    {
        MeasuringMenu top(77);
        MeasuringMenu sub(55);
        ASSERT_TRUE(top.CreatePopupMenu());
        ASSERT_TRUE(sub.CreatePopupMenu());
        top.AppendMenuEx(MF_STRING, 5, L"Five");
        top.ModifyMenuEx(0, MF_BYPOSITION, 5, L"Five");
        top.AppendMenuEx(MF_POPUP, UINT(reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu())), L"Sub");
        sub.AppendMenuEx(MF_STRING, 7, L"Seven");
        sub.ModifyMenuEx(0, MF_BYPOSITION, 7, L"Seven");
        Answers answers;
        answers.Choose(L"Sub/#7");
        EXPECT_EQ(1, top.TrackPopupMenuWithContainerID(0, 60, 60, &host.Window(), 0xDEAD, nullptr));
        ASSERT_EQ(1u, answers.opened.size());
        EXPECT_EQ((std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(top.m_arrItems[0])}), top.measured);
        EXPECT_EQ((std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(sub.m_arrItems[0])}), sub.measured);
        const RECT item_rect = answers.opened[0][0].items[0].screen_rect;
        EXPECT_EQ(19, item_rect.bottom - item_rect.top);
        host.Pump();  // the command goes to an element that does not exist: nothing happens
        EXPECT_TRUE(host.Window().ControlMessages().empty());
        sub.Detach();  // destroyed with the top menu
    }
    EXPECT_EQ(before, ObjectCounts());

    // Outside tracking the hidden window has no menu to measure against: nothing happens.
    ASSERT_NE(nullptr, g_pMsgRecvWnd);
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 5, 10, 11, 0};
    ::SendMessageW(g_pMsgRecvWnd->GetSafeHwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(10u, mis.itemWidth);
    EXPECT_EQ(11u, mis.itemHeight);
}

TEST_F(MenuTrack, HiddenWindowIsMadeOnceAndKept) {
    CHeadlessHost host(SIZE{200, 100}, POINT{20, 20});
    TestMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenuEx(MF_STRING, 1, L"One");
    Answers answers;
    // No window to make the hidden window under: the menu is not shown.
    EXPECT_EQ(0, menu.TrackPopupMenuWithContainerID(0, 10, 10, nullptr, 3, nullptr));
    EXPECT_TRUE(answers.tracked.empty());

    answers.Cancel();
    EXPECT_EQ(1, menu.TrackPopupMenuWithContainerID(0, 10, 10, &host.Window(), 3, nullptr));
    const HWND hidden = g_pMsgRecvWnd->GetSafeHwnd();
    ASSERT_NE(nullptr, hidden);
    EXPECT_EQ(1, menu.DeleteMneuPopupWnd());
    EXPECT_TRUE(::IsWindow(hidden));
    answers.Cancel();
    EXPECT_EQ(1, menu.TrackPopupMenuWithContainerID(0, 10, 10, nullptr, 4, nullptr));  // reuses it
    EXPECT_EQ(hidden, g_pMsgRecvWnd->GetSafeHwnd());
    EXPECT_EQ(4u, g_pMsgRecvWnd->m_dwContainerID);
    EXPECT_EQ(2u, answers.tracked.size());
}

}  // namespace
