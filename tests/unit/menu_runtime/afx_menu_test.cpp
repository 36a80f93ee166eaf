// CMenu: handle maps, tracking state and the owner-draw default of CWnd.
#include "menu_test_util.h"

namespace {

using mt::MenuTest;
using mt::Script;

TEST_F(MenuTest, CMenuMapsPermanentAndTemporaryObjects) {
    HMENU h;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        HMENU sub = CreatePopupMenu();
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
        EXPECT_EQ(CMenu::FromHandle(menu.m_hMenu), &menu);
        EXPECT_EQ(CMenu::FromHandlePermanent(sub), nullptr);
        CMenu* temp = menu.GetSubMenu(0);
        ASSERT_NE(temp, nullptr);
        EXPECT_EQ(temp->GetSafeHmenu(), sub);
        EXPECT_EQ(CMenu::FromHandle(sub), temp) << "one temporary per handle until the cleanup";
        EXPECT_EQ(menu.GetSubMenu(1), nullptr);
        AfxDeleteTempMaps();  // frees the temporary, keeps the menu
        EXPECT_TRUE(IsMenu(sub));
        EXPECT_EQ(CMenu::FromHandle(nullptr), nullptr);
        // Detach hands the handle back; the object is no longer the permanent one.
        h = menu.Detach();
        EXPECT_EQ(CMenu::FromHandlePermanent(h), nullptr);
        EXPECT_TRUE(menu.Attach(h));
        EXPECT_EQ(CMenu::FromHandlePermanent(h), &menu);
    }
    // The destructor destroys the menu and its map entry.
    EXPECT_FALSE(IsMenu(h));
    EXPECT_EQ(CMenu::FromHandlePermanent(h), nullptr);
    CMenu empty;
    EXPECT_FALSE(empty.DestroyMenu());
}

// A menu that paints and measures its items, as a library menu class does.
class DrawingMenu : public CMenu {
public:
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back(mis->itemID);
        mis->itemWidth = 30;
        mis->itemHeight = 12;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
};

// Owner-drawn items reach the permanent CMenu through the owner's default handling, as
// the library's hidden window relies on.
TEST_F(MenuTest, OwnerDrawnItemsReachThePermanentCMenu) {
    DrawingMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_OWNERDRAW, 31, reinterpret_cast<LPCWSTR>(&menu));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    Script script;
    AFX_MENU_TRACKING_STATE during{};
    script.Choose(L"#31", [&] { during = *AfxGetMenuTrackingState(); });
    EXPECT_TRUE(menu.TrackPopupMenu(0, 5, 5, &owner));
    EXPECT_EQ(during.m_hTrackingMenu, menu.m_hMenu);
    EXPECT_EQ(during.m_hTrackingWindow, owner.m_hWnd);
    EXPECT_EQ(AfxGetMenuTrackingState()->m_hTrackingMenu, nullptr);
    EXPECT_EQ(menu.measured, std::vector<UINT>({31}));
    EXPECT_EQ(menu.drawn.size(), 2u);  // drawn whole, then highlighted
    ASSERT_FALSE(script.lines.empty());
    const int right = 5 + mt::MenuFont().OwnerItemWidth(30) + 6;
    EXPECT_EQ(script.lines[0].substr(0, 22), "menu (5, 5, " + std::to_string(right) + ", 23): o");
    owner.DestroyWindow();
    rt::PumpMessages();
}

}  // namespace
