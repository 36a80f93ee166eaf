// Thumb length, thumb offset, clamping, position acceptance and skin-set loading.
#include <sstream>

#include "scroll_test_util.h"

namespace st {
namespace {

using Geometry = ScrollTest;

struct ThumbRow {
    const char* name;
    int length;  // L
    int rows, page, pos;
    int thumbLength, thumbPos;
};

// Test skin set 0: arrows 12 high, minimum thumb length 20.
TEST_F(Geometry, VerticalThumbLengthAndOffset) {
    const ThumbRow rows[] = {
        {"length 10 raised to the minimum 20, pos 45 -> 12 + 45", 124, 100, 10, 45, 20, 57},
        {"pos N - P sits against the down arrow: 124 - 12 - 20", 124, 100, 10, 90, 20, 92},
        {"pos N is accepted and pinned too", 124, 100, 10, 100, 20, 92},
        {"pos 0 gives A even when N - P <= 0", 124, 10, 10, 0, 20, 12},
        {"P >= N: minimum length, scale 0 at pos 0", 124, 10, 20, 0, 20, 12},
        // pos != 0 and pos >= N - P (negative) pins before the scale could matter.
        {"P >= N: pos 5 is pinned against the down arrow", 124, 10, 20, 5, 20, 92},
        {"computed length above the minimum: 200 x 20 / 100", 224, 100, 20, 40, 40, 12 + 80},
        {"thumb longer than the track ends at A", 40, 100, 10, 50, 20, 12},
        // 100 x 100,000,000 overflows 32 bits; the exact result is 50.
        {"huge counts: the length product does not overflow", 124, 200000000, 100000000, 0, 50, 12},
    };
    for (const ThumbRow& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 260});
        CVerticalScrollbar* bar = AddVertical(row.length);
        bar->InitVScrollBar(0);
        bar->SetRowNumber(row.rows);
        bar->SetPageSize(row.page);
        EXPECT_EQ(1, bar->UpdateThumbPos(row.pos));
        EXPECT_EQ(row.thumbLength, bar->m_nThumbLength);
        EXPECT_EQ(row.thumbPos, bar->m_nThumbPos);
    }
}

// The defaults (N = 23, P = 16: N - 1 pins, N - P does not): tests/scenarios/scroll_hscroll_limits.kel.
TEST_F(Geometry, HorizontalThumbLengthAndOffset) {
    const ThumbRow rows[] = {
        {"length: 100 x 10 / 100, no minimum", 124, 100, 10, 45, 10, 57},
        {"P >= N: the thumb outgrows the track (100 x 20 / 10)", 124, 10, 20, 0, 200, 12},
        {"huge counts: the length product does not overflow", 124, 200000000, 100000000, 0, 50, 12},
        // (20 - 24) x 50 / 100 would be -2: a bar without a track gets an empty thumb.
        {"no room for a track: length 0, not negative", 20, 100, 50, 0, 0, 12},
    };
    for (const ThumbRow& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 260});
        CHorizontalScrollbar* bar = AddHorizontal(row.length);
        bar->InitHScrollBar(0);
        bar->SetColumnNumber(row.rows);
        bar->SetPageSize(row.page);
        EXPECT_EQ(1, bar->UpdateThumbPos(row.pos));
        EXPECT_EQ(row.thumbLength, bar->m_nThumbLength);
        EXPECT_EQ(row.thumbPos, bar->m_nThumbPos);
    }
}

TEST_F(Geometry, HorizontalArrowWidthsInTheLengthFormula) {
    // Set 0 divides the 36-pixel arrow bitmaps by 3; set 1 takes the 8-pixel tips whole.
    CHorizontalScrollbar* bar = AddHorizontal(124);
    bar->SetColumnNumber(100);
    bar->SetPageSize(50);
    EXPECT_EQ((124 - 12 - 12) * 50 / 100, bar->m_nThumbLength);
    bar->InitHScrollBar(1);
    bar->SetPageSize(50);
    EXPECT_EQ((124 - 8 - 8) * 50 / 100, bar->m_nThumbLength);
}

TEST_F(Geometry, UpdateThumbPosAcceptsZeroToN) {
    struct Row {
        const char* name;
        int pos;
        int result;
    };
    const Row rows[] = {{"N accepted", 100, 1}, {"N + 1 refused", 101, 0}, {"-1 refused", -1, 0}, {"0 accepted", 0, 1}};
    CVerticalScrollbar* v = AddVertical(124);
    v->SetRowNumber(100);
    v->SetPageSize(10);
    CHorizontalScrollbar* h = AddHorizontal(124);
    h->SetColumnNumber(100);
    h->SetPageSize(10);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        v->UpdateThumbPos(50);
        h->UpdateThumbPos(50);
        EXPECT_EQ(row.result, v->UpdateThumbPos(row.pos));
        EXPECT_EQ(row.result, h->UpdateThumbPos(row.pos));
        EXPECT_EQ(row.result ? row.pos : 50, v->GetCurrentPosition());
        EXPECT_EQ(row.result ? row.pos : 50, h->m_nCurPos);
    }
    // A vertical bar without rows refuses every position.
    CVerticalScrollbar* empty = AddVertical(124);
    EXPECT_EQ(0, empty->UpdateThumbPos(0));
}

TEST_F(Geometry, ResizeReplacesTheThumbButKeepsItsLength) {
    CVerticalScrollbar* bar = AddVertical(124, 100, 40, 30);  // (124 - 24) x 40 / 100 = 40
    ASSERT_EQ(12 + 30, bar->m_nThumbPos);
    host_->Window().PlaceElement(bar, RECT{kOrigin.x, kOrigin.y, kOrigin.x + 12, kOrigin.y + 224});
    EXPECT_EQ(40, bar->m_nThumbLength);
    EXPECT_EQ(12 + 60, bar->m_nThumbPos);  // scale (224 - 24) / 100 = 2
}

// ---- skin sets -------------------------------------------------------------------------------
// "scroll_bar." + each name, space-separated.
std::vector<std::wstring> Keys(const std::string& names) {
    std::vector<std::wstring> keys;
    std::istringstream in(names);
    for (std::string name; in >> name;) keys.push_back(L"scroll_bar." + std::wstring(name.begin(), name.end()));
    return keys;
}

TEST_F(Geometry, SetsAskForTheirKeysInOrder) {
    struct Row {
        bool vertical;
        int set;
        const char* keys;
    };
    const Row rows[] = {
        {true, 0, "DownArrow UpArrow VSPAN VThumb1 VThumb2 bot"},
        {true, 1, "DownArrowTip UpArrowTip VSPANTip VThumbTip1 VThumbTip2"},
        {true, 2, "DownArrow_3 VSPAN_3 VThumb1_3 VThumb2_3 UpArrow_3"},
        {true, 3, "DownArrow_big UpArrow_big VSPAN_big VThumb1_big VThumb2_big bot_big"},
        {true, 4, "W_DownArrow W_UpArrow W_VSPAN W_VThumb1 W_VThumb2 W_bot"},
        {true, 5, "TList.DownArrow TList.UpArrow TList.VSPAN TList.VThumb1 TList.VThumb2 TList.bot"},
        {true, 6, ""},
        {true, -1, ""},
        {false, 0, "LeftArrow RightArrow HSPAN HThumb1 HThumb2 HBot"},
        {false, 1, "LeftArrow_2 RightArrow_2 HSPAN_2 HThumb1_2 HThumb2_2"},
        {false, 2, "LeftArrow_big RightArrow_big HSPAN_big HThumb1_big HThumb2_big HBot_big"},
        {false, 3, "W_LeftArrow W_RightArrow W_HSPAN W_HThumb1 W_HThumb2 W_HBot"},
        {false, 4, "TList.LeftArrow TList.RightArrow TList.HSPAN TList.HThumb1 TList.HThumb2 TList.HBot"},
        {false, 5, ""},
    };
    CVerticalScrollbar* v = AddVertical(124);
    CHorizontalScrollbar* h = AddHorizontal(124);
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.vertical ? "vertical set " : "horizontal set ") << row.set);
        palette_->asked.clear();
        if (row.vertical) {
            v->InitVScrollBar(row.set);
        } else {
            h->InitHScrollBar(row.set);
        }
        EXPECT_EQ(Keys(row.keys), palette_->asked);
    }
}

TEST_F(Geometry, LoadingASetSetsTheSizes) {
    // Make set 0's arrows and head distinct from the defaults first.
    palette_->Add(L"scroll_bar.UpArrow", 3 * 14, 16, [](int, int) { return UpColor(0); });
    palette_->Add(L"scroll_bar.VThumb1", 3 * 14, 26, [](int, int) { return HeadColor(0); });
    palette_->Add(L"scroll_bar.LeftArrow", 3 * 15, 13, [](int, int) { return UpColor(0); });
    CVerticalScrollbar* v = AddVertical(124);
    EXPECT_EQ(14, v->m_nArrowWidth);
    EXPECT_EQ(16, v->m_nArrowHeight);
    EXPECT_EQ(14, v->m_nWidth);
    EXPECT_EQ(26, v->m_nMinThumbLength);
    v->InitVScrollBar(1);  // one frame: arrow sizes only; the width, minimum and grip stay
    EXPECT_EQ(kTipArrow, v->m_nArrowWidth);
    EXPECT_EQ(kTipArrow, v->m_nArrowHeight);
    EXPECT_EQ(14, v->m_nWidth);
    EXPECT_EQ(26, v->m_nMinThumbLength);
    EXPECT_NE(nullptr, v->m_pGrip);
    EXPECT_EQ(1, v->m_nThumbIndent);
    EXPECT_EQ(kTipArrow, v->m_nThumbPos);

    CHorizontalScrollbar* h = AddHorizontal(124);
    EXPECT_EQ(15, h->m_nArrowWidth);
    EXPECT_EQ(13, h->m_nArrowHeight);
    EXPECT_EQ(13, h->m_nHeight);
    EXPECT_EQ(100, h->m_nWidth);
    h->InitHScrollBar(1);
    EXPECT_EQ(kTipArrow, h->m_nArrowWidth);
    EXPECT_EQ(kTipArrow, h->m_nHeight);
    EXPECT_EQ(1, h->m_nThumbIndent);
}

TEST_F(Geometry, ThumbIndentPerSet) {
    struct Row {
        int set, vertical, horizontal;
    };
    const Row rows[] = {{0, 0, 0}, {1, 1, 1}, {2, 1, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}};
    CVerticalScrollbar* v = AddVertical(124);
    CHorizontalScrollbar* h = AddHorizontal(124);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.set);
        v->InitVScrollBar(row.set);
        h->InitHScrollBar(row.set);
        EXPECT_EQ(row.vertical, v->m_nThumbIndent);
        EXPECT_EQ(row.horizontal, h->m_nThumbIndent);
    }
}

TEST_F(Geometry, AMissingUpArrowKeepsTheSizes) {
    CVerticalScrollbar* bar = AddVertical(124);
    palette_->Remove(L"scroll_bar.UpArrow");
    bar->InitVScrollBar(0);
    EXPECT_EQ(nullptr, bar->m_pUpArrow);
    EXPECT_EQ(kArrow, bar->m_nArrowHeight);
    EXPECT_EQ(kArrow, bar->m_nArrowWidth);
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
