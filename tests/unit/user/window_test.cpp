// Window creation failures and stale handles, ids, geometry, moves, z-order and visibility.
#include "user_test_util.h"

namespace {

using ut::UserTest;

UINT g_refused = 0;  // the creation message RefusingProc fails

LRESULT CALLBACK RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ut::Note(hwnd, msg, wParam, lParam);
    if (msg != g_refused) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return msg == WM_CREATE ? -1 : FALSE;
}

TEST_F(UserTest, CreationFailuresAndStaleHandles) {
    // A refused WM_NCCREATE or WM_CREATE ends the window without WM_DESTROY.
    struct Row {
        const char* name;
        UINT refused;
        std::vector<UINT> expected;
    };
    const Row rows[] = {
        {"WM_NCCREATE", WM_NCCREATE, {WM_NCCREATE, WM_NCDESTROY}},
        {"WM_CREATE", WM_CREATE, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_NCDESTROY}},
    };
    const LPCWSTR refusing = ut::EnsureClass(L"UtRefusing", RefusingProc);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ut::Log().clear();
        g_refused = row.refused;
        EXPECT_EQ(nullptr, Make(RECT{0, 0, 10, 10}, nullptr, 0, refusing));
        EXPECT_EQ(row.expected, ut::MessagesOf(nullptr, true));
        ASSERT_FALSE(ut::Log().empty());
        EXPECT_FALSE(IsWindow(ut::Log().front().hwnd));
    }
    EXPECT_TRUE(UnregisterClassW(refusing, nullptr));

    EXPECT_EQ(nullptr, Make(RECT{0, 0, 10, 10}, nullptr, 0, L"NoSuchClass"));
    EXPECT_EQ(nullptr,  // a child needs a live parent
              CreateWindowExW(0, ut::kRecorderClass, L"", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const HWND parent = Make(RECT{0, 0, 10, 10});
    DestroyWindow(parent);
    EXPECT_EQ(nullptr, Make(RECT{0, 0, 10, 10}, parent));
    const HWND fresh = Make(RECT{0, 0, 10, 10});
    EXPECT_NE(parent, fresh);  // a new window never takes the stale handle
    EXPECT_TRUE(IsWindow(fresh));
}

TEST_F(UserTest, ChildIds) {
    // A child as the hidden menu window is made: id 1011, under its parent.
    const HWND parent = Make(RECT{0, 0, 100, 100});
    const HWND relay = CreateWindowExW(0, ut::kRecorderClass, L"{B7018D46}", WS_CHILD, 0, 0, 0, 0, parent,
                                       reinterpret_cast<HMENU>(1011), nullptr, nullptr);
    EXPECT_EQ(1011, GetDlgCtrlID(relay));
    EXPECT_EQ(parent, GetParent(relay));
    EXPECT_EQ(0, GetDlgCtrlID(parent));  // top-level windows have no id
    EXPECT_EQ(nullptr, GetParent(parent));
    SetWindowLongPtrW(relay, GWLP_ID, 77);
    EXPECT_EQ(77, GetDlgCtrlID(relay));
}

TEST_F(UserTest, GeometryAndWindowFromPoint) {
    const HWND top = Make(RECT{100, 50, 500, 350});
    const HWND child = Make(RECT{10, 20, 60, 60}, top);
    const HWND grandchild = Make(RECT{5, 5, 15, 15}, child);
    Make(RECT{200, 200, 250, 250}, top, 0);                         // hidden
    Make(RECT{300, 200, 350, 250}, top, WS_VISIBLE | WS_DISABLED);  // disabled
    const RECT window_rc{110, 70, 160, 110}, client_rc{0, 0, 50, 40};
    RECT rc;
    ASSERT_TRUE(GetWindowRect(child, &rc));
    EXPECT_TRUE(EqualRect(&window_rc, &rc));
    ASSERT_TRUE(GetClientRect(child, &rc));
    EXPECT_TRUE(EqualRect(&client_rc, &rc));
    POINT pt{1, 2};
    ASSERT_TRUE(ClientToScreen(grandchild, &pt));
    EXPECT_EQ(116, pt.x);
    EXPECT_EQ(77, pt.y);
    ASSERT_TRUE(ScreenToClient(grandchild, &pt));
    EXPECT_EQ(1, pt.x);
    EXPECT_EQ(2, pt.y);

    struct Row {
        const char* name;
        POINT screen_pt;
        HWND expected;
    };
    const Row rows[] = {
        {"inside the grandchild", {116, 76}, grandchild},
        {"grandchild's right edge is outside", {125, 76}, child},
        {"top-level only", {101, 51}, top},
        {"hidden child shows its parent", {320, 270}, top},
        {"disabled child gives its parent", {420, 270}, top},
        {"left of everything: the desktop", {99, 51}, GetDesktopWindow()},
        {"below everything: the desktop", {101, 350}, GetDesktopWindow()},
        {"off the screen", {-5, -5}, nullptr},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, WindowFromPoint(row.screen_pt)) << row.name;
}

TEST_F(UserTest, MovingSendsMoveAndSizeOnlyForWhatChanged) {
    const HWND hwnd = Make(RECT{10, 10, 50, 50});
    struct Row {
        const char* name;
        RECT rect;
        std::vector<UINT> expected;
    };
    const Row rows[] = {
        {"same place and size", {10, 10, 50, 50}, {WM_WINDOWPOSCHANGING}},
        {"moved only", {20, 10, 60, 50}, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}},
        {"resized only", {20, 10, 70, 50}, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
        {"both", {0, 0, 10, 10}, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ut::Log().clear();
        const RECT& r = row.rect;
        MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        EXPECT_EQ(row.expected, ut::MessagesOf(hwnd, true));
        RECT rc;
        GetWindowRect(hwnd, &rc);
        EXPECT_TRUE(EqualRect(&rc, &row.rect));
    }
}

TEST_F(UserTest, SetWindowPosPutsAWindowBelowTheOneGiven) {
    const HWND parent = Make(RECT{0, 0, 100, 100});
    const HWND a = Make(RECT{0, 0, 10, 10}, parent), b = Make(RECT{0, 0, 10, 10}, parent);
    const HWND c = Make(RECT{0, 0, 10, 10}, parent);  // a, b, c from the top: each new child goes below
    ASSERT_TRUE(SetWindowPos(a, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(b, GetWindow(parent, GW_CHILD));
    EXPECT_EQ(c, GetWindow(b, GW_HWNDNEXT));
    EXPECT_EQ(a, GetWindow(c, GW_HWNDNEXT));
}

TEST_F(UserTest, VisibilityFollowsTheAncestors) {
    const HWND top = Make(RECT{0, 0, 100, 100}, nullptr, 0);
    const HWND child = Make(RECT{0, 0, 10, 10}, top);
    EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(top, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(top));
}

}  // namespace
