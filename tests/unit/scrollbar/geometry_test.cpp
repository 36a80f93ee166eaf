// Thumb length, thumb offset, clamping, position acceptance and skin-set loading.
#include "scroll_test_util.h"

namespace st {
namespace {

using Geometry = ScrollTest;

// Test skin set 0: arrows 12 long; the vertical thumb is at least 20 long, the horizontal
// one has no minimum. The horizontal defaults (N = 23, P = 16: N - 1 pins, N - P does
// not): tests/scenarios/scroll_hscroll_limits.kel. A short thumb raised to the minimum
// (scroll_hold_up.kel), the thumb at N - P (scroll_click_down.kel) and a horizontal
// thumb without a minimum (scroll_drag.kel) are in the transcripts; a length computed
// above the minimum and a horizontal thumb outgrowing its track, in the pixels of
// Paint.ThumbPieces.
TEST_F(Geometry, ThumbLengthAndOffset) {
    struct Row {
        const char* name;
        bool vertical;
        int length;  // L
        int count, page, pos;
        int thumbLength, thumbPos;
    };
    const Row rows[] = {
        {"pos 0 gives A even when N - P <= 0", true, 124, 10, 10, 0, 20, 12},
        // pos != 0 and pos >= N - P (negative) pins before the scale could matter.
        {"P >= N: pos 5 is pinned against the down arrow", true, 124, 10, 20, 5, 20, 92},
        {"thumb longer than the track ends at A", true, 40, 100, 10, 50, 20, 12},
        // 100 x 100,000,000 overflows 32 bits; the exact result is 50.
        {"huge counts: the length product does not overflow", true, 124, 200000000, 100000000, 0, 50, 12},
        {"horizontal, huge counts", false, 124, 200000000, 100000000, 0, 50, 12},
        // (20 - 24) x 50 / 100 would be -2: a bar without a track gets an empty thumb.
        {"horizontal, no room for a track: length 0, not negative", false, 20, 100, 50, 0, 0, 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 260});
        auto check = [&row](auto* bar) {
            EXPECT_EQ(row.pos, bar->m_nCurPos);
            EXPECT_EQ(row.thumbLength, bar->m_nThumbLength);
            EXPECT_EQ(row.thumbPos, bar->m_nThumbPos);
        };
        if (row.vertical) {
            check(AddVertical(row.length, row.count, row.page, row.pos));
        } else {
            check(AddHorizontal(row.length, row.count, row.page, row.pos));
        }
    }
}

// UpdateThumbPos takes 0..N and refuses the rest unchanged: tests/unit/reliability/bad_input_scrollbar_test.cpp.
TEST_F(Geometry, ResizeReplacesTheThumbButKeepsItsLength) {
    CVerticalScrollbar* bar = AddVertical(124, 100, 40, 30);  // (124 - 24) x 40 / 100 = 40
    ASSERT_EQ(12 + 30, bar->m_nThumbPos);
    host_->Window().PlaceElement(bar, RECT{kOrigin.x, kOrigin.y, kOrigin.x + 12, kOrigin.y + 224});
    EXPECT_EQ(40, bar->m_nThumbLength);
    EXPECT_EQ(12 + 60, bar->m_nThumbPos);  // scale (224 - 24) / 100 = 2
}

// ---- skin sets -------------------------------------------------------------------------------
// Each set's keys and thumb indent are in the goldens of every set (paint_test.cpp): a
// missing bitmap stops the paint. A set out of range asks for nothing.
TEST_F(Geometry, SetsOutOfRangeAskForNothing) {
    CVerticalScrollbar* v = AddVertical(124);
    CHorizontalScrollbar* h = AddHorizontal(124);
    for (int set : {6, -1}) {
        palette_->asked.clear();
        v->InitVScrollBar(set);
        h->InitHScrollBar(set - 1);
        EXPECT_TRUE(palette_->asked.empty()) << set;
    }
}

TEST_F(Geometry, LoadingASetSetsTheSizes) {
    // Make set 0's arrows and head distinct from the defaults first.
    palette_->Add(L"scroll_bar.UpArrow", 3 * 14, 16, [](int, int) { return UpColor(0); });
    palette_->Add(L"scroll_bar.VThumb1", 3 * 14, 26, [](int, int) { return HeadColor(0); });
    palette_->Add(L"scroll_bar.LeftArrow", 3 * 15, 13, [](int, int) { return UpColor(0); });
    using Sizes = std::vector<int>;
    CVerticalScrollbar* v = AddVertical(124);
    EXPECT_EQ((Sizes{14, 16, 14, 26}), (Sizes{v->m_nArrowWidth, v->m_nArrowHeight, v->m_nWidth, v->m_nMinThumbLength}));
    // One frame: arrow sizes only; the width stays (the minimum, grip, indent and thumb
    // position of set 1: Paint.OneFrameSetSwitchedBeforeAndAfterInitObject).
    v->InitVScrollBar(1);
    EXPECT_EQ((Sizes{kTipArrow, kTipArrow, 14}), (Sizes{v->m_nArrowWidth, v->m_nArrowHeight, v->m_nWidth}));

    CHorizontalScrollbar* h = AddHorizontal(124);
    EXPECT_EQ((Sizes{15, 13, 13, 100}), (Sizes{h->m_nArrowWidth, h->m_nArrowHeight, h->m_nHeight, h->m_nWidth}));
    h->InitHScrollBar(1);
    EXPECT_EQ((Sizes{kTipArrow, kTipArrow, 1}), (Sizes{h->m_nArrowWidth, h->m_nHeight, h->m_nThumbIndent}));
}

TEST_F(Geometry, AMissingUpArrowKeepsTheSizes) {
    CVerticalScrollbar* bar = AddVertical(124);
    palette_->Remove(L"scroll_bar.UpArrow");
    bar->InitVScrollBar(0);
    EXPECT_EQ(nullptr, bar->m_pUpArrow);
    EXPECT_EQ((std::vector<int>{kArrow, kArrow}), (std::vector<int>{bar->m_nArrowHeight, bar->m_nArrowWidth}));
    // The missing bitmap counts 0 pixels in the length: (124 - 0 - 12) x 50 / 100.
    bar->SetRowNumber(100);
    bar->SetPageSize(50);
    EXPECT_EQ(56, bar->m_nThumbLength);
}

TEST_F(Geometry, WithoutAPaletteTheLastLoadStays) {
    CVerticalScrollbar* v = AddVertical(124);
    CHorizontalScrollbar* h = AddHorizontal(124);
    CGlobalEnv::GetGlobalEnv()->SetSkinPalette(nullptr);
    v->InitVScrollBar(1);
    h->InitHScrollBar(1);
    EXPECT_EQ(kArrow, v->m_nArrowWidth);
    EXPECT_EQ(kArrow, h->m_nArrowWidth);
    EXPECT_EQ(palette_->bitmaps.at(L"scroll_bar.UpArrow").get(), v->m_pUpArrow);
    EXPECT_EQ(palette_->bitmaps.at(L"scroll_bar.LeftArrow").get(), h->m_pLeftArrow);
}

}  // namespace
}  // namespace st
