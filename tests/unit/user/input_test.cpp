// Injected mouse input, mouse-leave tracking, focus and the system cursors.
#include <algorithm>

#include "pixels.h"
#include "user_test_util.h"

namespace {

class InputTest : public ut::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        top_ = Make(RECT{100, 100, 300, 300});
        child_ = Make(RECT{20, 20, 70, 70}, top_);  // screen (120, 120)-(170, 170)
        Pump();
        ut::Log().clear();
    }
    size_t Leaves() const { return ut::Only(WM_MOUSELEAVE).size(); }
    HWND top_ = nullptr;
    HWND child_ = nullptr;
};

TEST_F(InputTest, MouseMessagesGoToTheWindowUnderThePoint) {
    struct Row {
        const char* name;
        UINT msg;
        POINT screen_pt;
        HWND expected;
        LPARAM lParam;
        size_t received;  // an unhandled wheel message bubbles up to the parent
    };
    const Row rows[] = {
        {"button down on the child", WM_LBUTTONDOWN, {121, 122}, child_, MAKELPARAM(1, 2), 1},
        {"button up on the parent", WM_LBUTTONUP, {110, 290}, top_, MAKELPARAM(10, 190), 1},
        {"right button, last pixel of the child", WM_RBUTTONDOWN, {169, 169}, child_, MAKELPARAM(49, 49), 1},
        {"wheel keeps screen coordinates", WM_MOUSEWHEEL, {150, 150}, child_, MAKELPARAM(150, 150), 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ut::Log().clear();
        ASSERT_TRUE(rt::InjectMouse(row.msg, row.screen_pt, MK_LBUTTON));
        Pump();
        const auto got = ut::Calls(row.msg);
        ASSERT_EQ(row.received, got.size());
        EXPECT_EQ((ut::Call{row.expected, MK_LBUTTON, row.lParam}), got[0]);
        POINT pt;
        GetCursorPos(&pt);
        EXPECT_EQ(row.screen_pt.x, pt.x);
    }
    EXPECT_FALSE(rt::InjectMouse(WM_MOUSEMOVE, POINT{5, 5}, 0));  // none of the thread's windows there
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
    rt::InjectMouse(WM_MOUSEMOVE, POINT{130, 130}, 0);
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child_, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    struct Row {
        const char* name;
        POINT screen_pt;
        size_t leaves;  // WM_MOUSELEAVE received so far
    };
    const Row rows[] = {
        {"moving inside", {160, 160}, 0},
        {"onto the parent", {110, 110}, 1},
        {"back onto the child: tracking has ended", {130, 130}, 1},
        {"out again", {110, 110}, 1},
    };
    for (const Row& row : rows) {
        rt::InjectMouse(WM_MOUSEMOVE, row.screen_pt, 0);
        Pump();
        EXPECT_EQ(row.leaves, Leaves()) << row.name;
    }
    EXPECT_EQ(child_, ut::Only(WM_MOUSELEAVE)[0].hwnd);

    // Cancelled tracking posts nothing.
    ut::Log().clear();
    rt::InjectMouse(WM_MOUSEMOVE, POINT{130, 130}, 0);
    ASSERT_TRUE(TrackMouseEvent(&tme));
    tme.dwFlags = TME_LEAVE | TME_CANCEL;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    rt::InjectMouse(WM_MOUSEMOVE, POINT{110, 110}, 0);
    Pump();
    EXPECT_EQ(0u, Leaves());
}

TEST_F(InputTest, TrackingThatStartsOutsideTheWindowPostsTheLeaveAtOnce) {
    SKIP_UNDER_WINE("no WM_MOUSELEAVE when tracking starts outside the window");
    rt::InjectMouse(WM_MOUSEMOVE, POINT{110, 110}, 0);  // over the parent
    Pump();
    ut::Log().clear();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child_, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    Pump();
    EXPECT_EQ(1u, Leaves());
}

TEST_F(InputTest, FocusMovesWithKillAndSetFocus) {
    const HWND other = Make(RECT{80, 80, 90, 90}, top_);
    SetFocus(child_);
    ut::Log().clear();
    EXPECT_EQ(child_, SetFocus(other));
    EXPECT_EQ(other, GetFocus());
    EXPECT_EQ((std::vector<ut::Call>{{child_, reinterpret_cast<WPARAM>(other), 0}}), ut::Calls(WM_KILLFOCUS));
    EXPECT_EQ((std::vector<ut::Call>{{other, reinterpret_cast<WPARAM>(child_), 0}}), ut::Calls(WM_SETFOCUS));
    EXPECT_EQ(top_, GetActiveWindow());

    ASSERT_TRUE(rt::InjectKey(WM_KEYDOWN, 0x41, 1));  // keys go to the focus window
    Pump();
    ASSERT_EQ(1u, ut::Only(WM_KEYDOWN).size());
    EXPECT_EQ(other, ut::Only(WM_KEYDOWN)[0].hwnd);

    DestroyWindow(other);  // a focused child that goes away hands the focus to its parent
    EXPECT_EQ(top_, GetFocus());
}

TEST(Cursors, SystemCursorsAreDistinctAndStable) {
    const int ids[] = {32512, 32513, 32514, 32515, 32516, 32644, 32645, 32646, 32648, 32649};
    std::vector<HCURSOR> seen;
    for (int id : ids) {
        SCOPED_TRACE(id);
        const HCURSOR cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
        ASSERT_NE(nullptr, cursor);
        EXPECT_EQ(cursor, LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
        EXPECT_EQ(id, rt::CursorId(cursor));
        EXPECT_EQ(seen.end(), std::find(seen.begin(), seen.end(), cursor));
        seen.push_back(cursor);
    }
    EXPECT_EQ(nullptr, LoadCursorW(nullptr, MAKEINTRESOURCEW(1)));
    EXPECT_EQ(nullptr, LoadCursorW(reinterpret_cast<HINSTANCE>(&seen), IDC_ARROW));  // no cursor resources
    EXPECT_EQ(0, rt::CursorId(nullptr));
    SetCursor(seen[0]);
    EXPECT_EQ(seen[0], SetCursor(seen[1]));
    EXPECT_EQ(seen[1], GetCursor());
}

}  // namespace
