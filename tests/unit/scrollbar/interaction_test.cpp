// The bars driven as a user would: presses, holds, moves and drags through the host on
// the virtual clock, with click points taken from each bar's own fields.
#include "scroll_test_util.h"

namespace st {
namespace {

using Interaction = ScrollTest;
using Posts = std::vector<ScrollTest::Post>;

const UINT kVerticalPost = 1344, kHorizontalPost = 1345;

// ---- arrows ---------------------------------------------------------------------------------
enum class Part { First, Second };  // up / left, down / right

struct ArrowRow {
    const char* name;
    bool vertical;
    Part part;
    int pos;
    DWORD hold;  // ms between press and release
    Posts posts;
};

// Plain clicks and holds of the vertical arrows, and a hold of the right arrow at N - P
// (the release steps up to N - 1, the repeat only up to N - P):
// tests/scenarios/scroll_click_down.kel, scroll_hold_up.kel, scroll_hscroll_limits.kel.
TEST_F(Interaction, ArrowClicksAndHolds) {
    const ArrowRow rows[] = {
        {"click up at 0: nothing", true, Part::First, 0, 100, {}},
        {"click left at 0: nothing", false, Part::First, 0, 100, {}},
        {"click right at N - 1: nothing", false, Part::Second, 99, 100, {}},
        {"hold right at 50 for 400 ms: 51, 52, 53, and 54 at the release",
         false,
         Part::Second,
         50,
         400,
         {{300, 51}, {350, 52}, {400, 53}, {400, 54}}},
        {"hold left at 2 for 400 ms: 1, 0, nothing at the release", false, Part::First, 2, 400, {{300, 1}, {350, 0}}},
    };
    for (const ArrowRow& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        POINT pt{};
        UINT msg = 0;
        if (row.vertical) {
            CVerticalScrollbar* bar = AddVertical(124, 100, 10, row.pos);
            const int A = bar->m_nArrowHeight;
            pt = row.part == Part::First ? POINT{6, A / 2} : POINT{6, 124 - A / 2};
            msg = kVerticalPost;
        } else {
            CHorizontalScrollbar* bar = AddHorizontal(124, 100, 10, row.pos);
            const int A = bar->m_nArrowWidth;
            pt = row.part == Part::First ? POINT{A / 2, 6} : POINT{124 - A / 2, 6};
            msg = kHorizontalPost;
        }
        Press(pt);
        const DWORD t0 = rt::ClockNow();
        host_->Wait(row.hold);
        Release(pt);
        EXPECT_EQ(row.posts, TakePosts(msg, t0));
        // Nothing keeps firing after the release: timer 5 and the repeat timer are gone.
        EXPECT_EQ(rt::kNoTimerDue, rt::NextTimerDue());
    }
}

TEST_F(Interaction, LeavingAPressedArrowPausesItsRepeat) {
    CVerticalScrollbar* bar = AddVertical(124, 100, 10, 50);
    const POINT down_pt{6, 118};
    Press(down_pt);
    const DWORD t0 = rt::ClockNow();
    host_->Wait(300);              // 51 at 300
    const POINT track_pt{6, 100};  // off the arrow, still over the bar
    host_->Move(Win(track_pt));
    EXPECT_TRUE(bar->m_bDownSuspended);
    host_->Wait(100);  // 350 and 400 held back
    host_->Move(Win(down_pt));
    host_->Wait(50);  // 450: 52
    host_->Move(Win(track_pt));
    Release(track_pt);  // off the arrow: no step at the release
    EXPECT_EQ((Posts{{300, 51}, {450, 52}}), TakePosts(kVerticalPost, t0));
    EXPECT_EQ(2, bar->m_nDownState);  // states stay until the next move or leave
    host_->Move(Win(POINT{6, 60}));
    EXPECT_EQ(0, bar->m_nDownState);
}

// ---- track and thumb drag (the plain hold and drag: tests/scenarios/scroll_page_track.kel,
// scroll_drag.kel) ------------------------------------------------------------------------------
TEST_F(Interaction, LeavingTheTrackPausesPaging) {
    AddHorizontal(224, 100, 10, 0);  // thumb 20 long
    const POINT press_pt{180, 6};
    Press(press_pt);
    const DWORD t0 = rt::ClockNow();
    host_->Wait(300);                  // 10 at 300
    host_->Move(Win(POINT{180, 40}));  // below the bar
    host_->Wait(100);                  // held back
    host_->Move(Win(press_pt));        // back on the track
    host_->Wait(50);                   // 20 at 450
    Release(press_pt);                 // still on the track: one more page
    // Repeat forward stops at N - 1, the release at N - P: both far away here.
    EXPECT_EQ((Posts{{300, 10}, {450, 20}, {450, 30}}), TakePosts(kHorizontalPost, t0));
}

// The held track left of the horizontal thumb pages left on the repeat timer.
TEST_F(Interaction, HoldingTheTrackLeftOfTheThumbPagesLeft) {
    AddHorizontal(224, 100, 10, 90);  // thumb 20 long, against the right arrow
    const POINT press_pt{40, 6};
    Press(press_pt);
    const DWORD t0 = rt::ClockNow();
    host_->Wait(400);
    Release(press_pt);
    // As on the right (LeavingTheTrackPausesPaging): the repeat from 300 ms, one more page at the release.
    EXPECT_EQ((Posts{{300, 80}, {350, 70}, {400, 60}, {400, 50}}), TakePosts(kHorizontalPost, t0));
}

TEST_F(Interaction, VerticalDragWithHugeRowCountDoesNotOverflow) {
    AddVertical(124, 100000000, 10, 0);  // minimum thumb, 20
    const DWORD t0 = rt::ClockNow();
    Press(POINT{6, 20});
    host_->Move(Win(POINT{6, 60}));  // thumb 12 -> 52: offset 40 of track 100
    EXPECT_EQ((Posts{{0, 40000000}}), TakePosts(kVerticalPost, t0));
    Release(POINT{6, 60});
}

TEST_F(Interaction, DragToTheEndWithMoreRowsOnAPageThanInAll) {
    struct Row {
        const char* name;
        bool vertical;
        long long posted;
    };
    // N = 5, P = 10: N - P = -5. The vertical result is at least 0; the horizontal bar posts
    // N - P as it stands, and its UpdateThumbPos refuses it.
    const Row rows[] = {{"vertical: 0, never below", true, 0}, {"horizontal: N - P unchanged", false, -5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        const DWORD t0 = rt::ClockNow();
        if (row.vertical) {
            CVerticalScrollbar* bar = AddVertical(124, 5, 10, 0);  // minimum thumb, 12..32
            Press(POINT{6, 20});
            host_->Move(Win(POINT{6, 100}));
            Release(POINT{6, 100});
            EXPECT_EQ((Posts{{0, row.posted}}), TakePosts(kVerticalPost, t0));
            EXPECT_EQ(0, bar->GetCurrentPosition());
        } else {
            AddHorizontal(124, 5, 10, 0);  // thumb 200 long, held at A
            Press(POINT{20, 6});
            host_->Move(Win(POINT{60, 6}));
            Release(POINT{60, 6});
            EXPECT_EQ((Posts{{0, row.posted}}), TakePosts(kHorizontalPost, t0));
        }
    }
}

TEST_F(Interaction, DragWithoutATrackPostsNothing) {
    struct Row {
        const char* name;
        bool vertical;
        int length;
    };
    // L - 2A = 0 and < 0: an offset cannot be turned into a position.
    const Row rows[] = {{"vertical, no track", true, 24},
                        {"vertical, arrows overlap", true, 20},
                        {"horizontal, no track", false, 24},
                        {"horizontal, arrows overlap", false, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        const DWORD t0 = rt::ClockNow();
        int* thumbPos = nullptr;
        POINT from{6, 12}, to{6, 16};  // the thumb at A
        if (row.vertical) {
            thumbPos = &AddVertical(row.length, 100, 10, 0)->m_nThumbPos;
        } else {
            CHorizontalScrollbar* bar = AddHorizontal(row.length, 100, 10, 0);
            bar->m_nThumbLength = 4;  // a thumb to press on (the track gives it none)
            thumbPos = &bar->m_nThumbPos;
            from = POINT{13, 6};
            to = POINT{15, 6};
        }
        Press(from);
        host_->Move(Win(to));
        Release(to);
        EXPECT_EQ(12, *thumbPos);
        EXPECT_TRUE(TakePosts(row.vertical ? kVerticalPost : kHorizontalPost, t0).empty());
    }
}

// ---- presses on the thumb ------------------------------------------------------------------
TEST_F(Interaction, VerticalThumbPressBoundsTest) {
    struct Row {
        const char* name;
        int y;
        bool consumed;
        int thumbState;
    };
    // L = 40: the 20-pixel thumb (12..32) reaches into the down arrow (28..40).
    const Row rows[] = {{"inside the track part: consumed, pressed", 20, true, 2},
                        {"on the down arrow's rows: left to the host", 30, false, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        CVerticalScrollbar* bar = AddVertical(40, 100, 10, 0);
        ASSERT_EQ(12, bar->m_nThumbPos);
        ASSERT_EQ(20, bar->m_nThumbLength);
        host_->Down(Win(POINT{6, row.y}));
        EXPECT_EQ(row.consumed, host_->Window().LastSkipper() == bar);
        EXPECT_EQ(row.thumbState, bar->m_nThumbState);
        EXPECT_TRUE(bar->m_bThumbPressed);
        EXPECT_EQ(row.y, bar->m_ptDrag.y);
        EXPECT_EQ(1, bar->m_bButtonDown);
        host_->Up(Win(POINT{6, row.y}));
    }
    // The horizontal bar has no such test: the same overlap is consumed.
    host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
    CHorizontalScrollbar* h = AddHorizontal(40);
    h->SetColumnNumber(10);
    h->SetPageSize(10);  // (40 - 24) x 10 / 10 = 16: thumb 12..28, right arrow 28..40
    h->m_nThumbLength = 20;
    h->UpdateThumbPos(0);
    ASSERT_EQ(12, h->m_nThumbPos);
    host_->Down(Win(POINT{30, 6}));
    EXPECT_EQ(host_->Window().LastSkipper(), h);
    EXPECT_EQ(2, h->m_nThumbState);
    EXPECT_EQ(0, h->m_bButtonDown);  // never raised
    host_->Up(Win(POINT{30, 6}));
}

// ---- active state and forwarded moves ------------------------------------------------------
// The vertical bar's inactive state: tests/scenarios/scroll_inactive.kel.
TEST_F(Interaction, InactiveHorizontalBarStillTakesInput) {
    CHorizontalScrollbar* h = AddHorizontal(124, 100, 10, 50);
    host_->Window().SetElementActive(h, FALSE);
    host_->Move(Win(POINT{6, 6}));
    EXPECT_EQ(1, h->m_nLeftState);
    const DWORD t1 = rt::ClockNow();
    Press(POINT{6, 6});
    Release(POINT{6, 6});
    EXPECT_EQ((Posts{{0, 49}}), TakePosts(kHorizontalPost, t1));
}

// Forwarding in window coordinates: tests/scenarios/scroll_drag.kel. Here a point left of
// the window, and the horizontal bar, which never raises m_bButtonDown and forwards nothing.
TEST_F(Interaction, ForwardedPointerMoves) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        if (vertical) {
            AddVertical(124, 100, 10, 50);
        } else {
            AddHorizontal(124, 100, 10, 50);
        }
        host_->Down(Win(vertical ? POINT{6, 118} : POINT{60, 6}));
        host_->Move(POINT{-5, 70});  // left of the window: the low word wraps
        host_->Up(POINT{-5, 70});
        host_->Move(POINT{16, 60});  // released: no more forwarding
        std::vector<LPARAM> forwarded;
        for (const ControlMessage& cm : host_->Window().ControlMessages())
            if (cm.msg == WM_MOUSEMOVE && cm.wParam == 0) forwarded.push_back(cm.lParam);
        EXPECT_EQ(vertical ? std::vector<LPARAM>{MAKELPARAM(0xFFFB, 70)} : std::vector<LPARAM>{}, forwarded);
    }
}

TEST_F(Interaction, HotTrackingAndLeave) {
    CHorizontalScrollbar* h = AddHorizontal(124, 100, 10, 45);  // thumb 57..67
    struct Row {
        const char* name;
        POINT pt;
        int left, right, thumb;
    };
    const Row rows[] = {{"left arrow", {3, 6}, 1, 0, 0},
                        {"right arrow", {120, 6}, 0, 1, 0},
                        {"thumb", {60, 6}, 0, 0, 1},
                        {"track", {30, 6}, 0, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_->Move(Win(row.pt));
        EXPECT_EQ(row.left, h->m_nLeftState);
        EXPECT_EQ(row.right, h->m_nRightState);
        EXPECT_EQ(row.thumb, h->m_nThumbState);
    }
    host_->Move(Win(POINT{60, 6}));
    host_->Leave();
    EXPECT_EQ(0, h->m_nThumbState);
}

}  // namespace
}  // namespace st
