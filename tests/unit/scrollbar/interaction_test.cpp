// The bars driven as a user would: presses, holds, moves and drags through the host on
// the virtual clock, with click points taken from each bar's own fields.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "scroll_test_util.h"

namespace st {
namespace {

using Interaction = ScrollTest;

const UINT kVerticalPost = 1344, kHorizontalPost = 1345;

// ---- gestures -------------------------------------------------------------------------------
// A gesture in element coordinates: "p x,y" moves there and presses, "m x,y" moves,
// "r x,y" releases, "w ms" waits on the virtual clock.
struct GestureRow {
    const char* name;
    bool vertical;
    int length, count, page, pos;
    const char* steps;
    const char* posts;  // "ms:position ...", the times from the gesture's start
};

// Plain arrow clicks and holds, the plain track hold and the plain drag are in
// tests/scenarios (scroll_click_down.kel, scroll_hold_up.kel, scroll_hscroll_limits.kel,
// scroll_page_track.kel, scroll_drag.kel), with the up arrow's release at 0 stepping
// nothing. The release steps up to N - 1 on the right arrow but the repeat, and the
// track, only to N - P.
TEST_F(Interaction, Gestures) {
    const GestureRow rows[] = {
        {"click left at 0: nothing", false, 124, 100, 10, 0, "p6,6 w100 r6,6", ""},
        {"click right at N - 1: nothing", false, 124, 100, 10, 99, "p118,6 w100 r118,6", ""},
        {"hold right at 50: 51, 52, 53, and 54 at the release", false, 124, 100, 10, 50, "p118,6 w400 r118,6",
         "300:51 350:52 400:53 400:54"},
        {"hold left at 2: 1, 0, nothing at the release", false, 124, 100, 10, 2, "p6,6 w400 r6,6", "300:1 350:0"},
        {"leaving a pressed arrow pauses its repeat; a release off it steps nothing", true, 124, 100, 10, 50,
         "p6,118 w300 m6,100 w100 m6,118 w50 m6,100 r6,100", "300:51 450:52"},
        {"leaving the track pauses paging; the release on it pages once more", false, 224, 100, 10, 0,
         "p180,6 w300 m180,40 w100 m180,6 w50 r180,6", "300:10 450:20 450:30"},
        {"the track left of the horizontal thumb pages left", false, 224, 100, 10, 90, "p40,6 w400 r40,6",
         "300:80 350:70 400:60 400:50"},
        {"a page-up press paused off the track, then a new press pages again", true, 124, 100, 10, 90,
         "p6,50 m40,50 r40,50 p6,50 w300 r6,50", "300:80 300:70"},
        {"a drag with a huge row count does not overflow", true, 124, 100000000, 10, 0, "p6,20 m6,60 r6,60",
         "0:40000000"},
        // N - P = -5: the vertical result is at least 0; the horizontal bar posts N - P as
        // it stands (its thumb, 200 long, is held at A), and its UpdateThumbPos refuses it.
        {"vertical drag to the end with P > N: 0", true, 124, 5, 10, 0, "p6,20 m6,100 r6,100", "0:0"},
        {"horizontal drag to the end with P > N: N - P", false, 124, 5, 10, 0, "p20,6 m60,6 r60,6", "0:-5"},
        // L - 2A = 0 and < 0: an offset cannot be turned into a position.
        {"vertical drag without a track", true, 24, 100, 10, 0, "p6,12 m6,16 r6,16", ""},
        {"vertical drag, arrows overlapping", true, 20, 100, 10, 0, "p6,12 m6,16 r6,16", ""},
    };
    for (const GestureRow& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        if (row.vertical) {
            AddVertical(row.length, row.count, row.page, row.pos);
        } else {
            AddHorizontal(row.length, row.count, row.page, row.pos);
        }
        const DWORD t0 = rt::ClockNow();
        std::istringstream steps(row.steps);
        for (std::string step; steps >> step;) {
            int x = 0, y = 0;
            std::sscanf(step.c_str() + 1, "%d,%d", &x, &y);
            const POINT pt{x, y};
            if (step[0] == 'p') Press(pt);
            if (step[0] == 'm') host_->Move(Win(pt));
            if (step[0] == 'r') Release(pt);
            if (step[0] == 'w') host_->Wait(DWORD(std::atoi(step.c_str() + 1)));
        }
        EXPECT_EQ(row.posts, TakePosts(row.vertical ? kVerticalPost : kHorizontalPost, t0));
        // Nothing keeps firing after the release: timer 5 and the repeat timers are gone.
        EXPECT_EQ(rt::kNoTimerDue, rt::NextTimerDue());
    }
}

// The horizontal bar's thumb on a bar without a track (the track gives it no length).
TEST_F(Interaction, HorizontalDragWithoutATrackPostsNothing) {
    for (int length : {24, 20}) {
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        CHorizontalScrollbar* bar = AddHorizontal(length, 100, 10, 0);
        bar->m_nThumbLength = 4;
        Press(POINT{13, 6});
        host_->Move(Win(POINT{15, 6}));
        Release(POINT{15, 6});
        EXPECT_EQ(12, bar->m_nThumbPos) << length;
        EXPECT_TRUE(TakePosts(kHorizontalPost, 0).empty()) << length;
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

}  // namespace
}  // namespace st
