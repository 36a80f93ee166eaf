// PeekMessage's filters, and what closing a window does to what was posted to it.
#include "user_test_util.h"

namespace {

using ut::UserTest;

TEST_F(UserTest, PeekMessageFilters) {
    const HWND first = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    const HWND second = Make(RECT{0, 0, 10, 10}, nullptr, 0);
    const HWND child = Make(RECT{0, 0, 5, 5}, second, 0);
    PostMessageW(first, WM_USER + 1, 0, 0);
    PostMessageW(child, WM_USER + 2, 0, 0);
    PostMessageW(nullptr, WM_USER + 3, 0, 0);
    PostMessageW(first, WM_APP, 0, 0);
    struct Row {
        const char* name;
        HWND filter;
        UINT msgMin, msgMax;
        UINT expected;  // 0: nothing
    };
    const Row rows[] = {
        {"no filter takes the oldest", nullptr, 0, 0, WM_USER + 1},
        {"a window takes its children's messages", second, 0, 0, WM_USER + 2},
        {"-1 takes thread messages only", reinterpret_cast<HWND>(-1), 0, 0, WM_USER + 3},
        {"message range", nullptr, WM_APP, WM_APP + 10, WM_APP},
        {"a range takes its last message", nullptr, WM_APP - 1, WM_APP, WM_APP},
        {"window and range together", first, WM_USER + 2, WM_USER + 3, 0},
    };
    for (const Row& row : rows) {
        MSG msg{};
        const BOOL got = PeekMessageW(&msg, row.filter, row.msgMin, row.msgMax, PM_NOREMOVE);
        EXPECT_EQ(row.expected, got ? msg.message : 0u) << row.name;
    }
    // Removing takes exactly the matching message and leaves the rest in order.
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, second, 0, 0, PM_REMOVE));
    EXPECT_EQ(child, msg.hwnd);
    std::vector<UINT> rest;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) rest.push_back(msg.message);
    EXPECT_EQ((std::vector<UINT>{WM_USER + 1, WM_USER + 3, WM_APP}), rest);
}

TEST_F(UserTest, CloseDestroysAndDropsWhatWasPosted) {
    const HWND hwnd = Make(RECT{0, 0, 10, 10});
    ut::Log().clear();
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    PostMessageW(hwnd, WM_USER, 0, 0);
    Pump();  // WM_CLOSE comes before the pending paint, which then never happens
    EXPECT_FALSE(IsWindow(hwnd));
    const std::vector<UINT> expected{WM_CLOSE, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(expected, ut::MessagesOf(hwnd, true));
    EXPECT_TRUE(ut::Only(WM_USER).empty());
    EXPECT_TRUE(ut::Only(WM_PAINT).empty());
}

}  // namespace
