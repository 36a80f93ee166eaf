// Menu objects: items by command and by position, states, sub-menus.
#include "menu_test_util.h"

namespace {

using mt::MenuTest;

using mt::Sample;

// By command the search reaches into sub-menus; an id no item has fails. The text is cut
// to the buffer.
TEST_F(MenuTest, ByCommandReachesIntoSubMenusAndTextFitsTheBuffer) {
    Sample s;
    wchar_t text[5];
    EXPECT_EQ(GetMenuStringW(s.menu, 202, text, 5, MF_BYCOMMAND), 3);
    EXPECT_STREQ(text, L"Two");
    EXPECT_EQ(GetMenuState(s.menu, 999, MF_BYCOMMAND), UINT(-1));
    EXPECT_EQ(GetMenuStringW(s.menu, 0, nullptr, 0, MF_BYPOSITION), 12);  // "&Open\tCtrl+O"
    EXPECT_EQ(GetMenuStringW(s.menu, 0, text, 5, MF_BYPOSITION), 4);
    EXPECT_STREQ(text, L"&Ope");
}

TEST_F(MenuTest, InsertAndModify) {
    Sample s;
    // By command: the new item goes before the command, in the menu that holds it.
    EXPECT_TRUE(InsertMenuW(s.menu, 202, MF_BYCOMMAND | MF_STRING, 203, L"Between"));
    EXPECT_EQ(GetMenuItemID(s.recent, 1), 203u);
    EXPECT_EQ(GetMenuItemCount(s.menu), 5);
    // By position past the end: appended.
    EXPECT_TRUE(InsertMenuW(s.menu, 99, MF_BYPOSITION | MF_STRING, 104, L"Last"));
    EXPECT_EQ(GetMenuItemID(s.menu, 5), 104u);
    // Owner-drawn: the text argument is the item data.
    int record = 0;
    EXPECT_TRUE(ModifyMenuW(s.menu, 0, MF_BYPOSITION | MF_OWNERDRAW, 105, reinterpret_cast<LPCWSTR>(&record)));
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID | MIIM_FTYPE;
    EXPECT_TRUE(GetMenuItemInfoW(s.menu, 105, FALSE, &info));
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&record));
    EXPECT_EQ(info.fType, UINT(MFT_OWNERDRAW));
    EXPECT_EQ(GetMenuStringW(s.menu, 0, nullptr, 0, MF_BYPOSITION), 12) << "the text stays";
    EXPECT_TRUE(ModifyMenuW(s.menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
    EXPECT_EQ(GetMenuStringW(s.menu, 0, nullptr, 0, MF_BYPOSITION), 12);
    EXPECT_EQ(GetMenuState(s.menu, 0, MF_BYPOSITION), UINT(MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
    // A menu cannot hold itself.
    EXPECT_FALSE(AppendMenuW(s.menu, MF_POPUP, reinterpret_cast<UINT_PTR>(s.menu), L"self"));
}

}  // namespace
