// Menu lifetimes through the runtime's count of live menus: what DestroyMenu frees, at any
// depth and through cycles.
#include "menu_test_util.h"

namespace {

using mt::MenuTest;

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
