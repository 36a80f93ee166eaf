// Menu lifetimes through the runtime's count of live menus: what RemoveMenu and
// DestroyMenu free, at any depth and through cycles.
#include "menu_test_util.h"

namespace {

using mt::MenuTest;
using mt::Sample;

// RemoveMenu takes the item out and leaves its sub-menu alive.
TEST_F(MenuTest, RemoveKeepsTheSubMenu) {
    Sample s;
    EXPECT_TRUE(RemoveMenu(s.menu, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(s.menu), 4);
    EXPECT_TRUE(IsMenu(s.recent));
    DestroyMenu(s.recent);
}

TEST_F(MenuTest, DestroyMenuTakesItsSubMenusAndStaleHandlesFail) {
    const int before = rt::MenuObjectCount();
    HMENU stale;
    {
        Sample s;
        EXPECT_EQ(rt::MenuObjectCount(), before + 2);
        stale = s.recent;
    }
    EXPECT_EQ(rt::MenuObjectCount(), before);
    HMENU fresh = CreatePopupMenu();  // may reuse the freed slot
    EXPECT_NE(fresh, stale);
    EXPECT_FALSE(IsMenu(stale));
    EXPECT_FALSE(AppendMenuW(stale, MF_STRING, 1, L"x"));
    EXPECT_EQ(GetMenuItemCount(stale), -1);
    EXPECT_EQ(GetMenuItemID(stale, 0), UINT(-1));
    EXPECT_EQ(GetSubMenu(stale, 0), nullptr);
    EXPECT_FALSE(DestroyMenu(stale));
    EXPECT_FALSE(AppendMenuW(fresh, MF_POPUP, reinterpret_cast<UINT_PTR>(stale), L"sub"));
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(uintptr_t(0x1234))));
    EXPECT_EQ(GetMenuItemCount(fresh), 0);
    DestroyMenu(fresh);
}

TEST_F(MenuTest, DestroyMenuFreesSubMenusAtAnyDepth) {
    struct Row {
        const char* name;
        int depth;         // a chain of sub-menus under the top menu
        bool closeCycle;   // the deepest sub-menu opens the top one again
    };
    const Row rows[] = {
        {"one level", 1, false},
        {"20,000 levels (no recursion)", 20000, false},
        {"a cycle through sub-menus", 70, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const int before = rt::MenuObjectCount();
        HMENU top = CreatePopupMenu();
        HMENU parent = top;
        for (int i = 0; i < r.depth; ++i) {
            HMENU sub = CreatePopupMenu();
            ASSERT_TRUE(AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub"));
            parent = sub;
        }
        if (r.closeCycle) {
            ASSERT_TRUE(AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(top), L"top"));
        }
        EXPECT_EQ(rt::MenuObjectCount(), before + r.depth + 1);
        EXPECT_TRUE(DestroyMenu(top));
        EXPECT_EQ(rt::MenuObjectCount(), before);
        EXPECT_FALSE(IsMenu(parent));
    }
}

}  // namespace
