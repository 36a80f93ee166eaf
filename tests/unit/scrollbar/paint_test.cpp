// Painting: exact pixels with the solid-colour test skin (each piece and frame has its
// own colour, so each pixel says who painted it), goldens of every set of the default
// skin, and GDI accounting around the paints.
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "scroll_test_util.h"

namespace st {
namespace {

using Paint = ScrollTest;

using kt::Hex;

// Runs of colours along column x (vertical) or row y (horizontal) of the element, as
// "from-to<code>" or "at<code>": U, D the arrows, S the span, H, B, E, G the thumb's head,
// body, edge and grip (all frame 0); a, s, h, b the one-frame sets' arrows, span, head and
// body; K black, W the host's background.
void ExpectRuns(const kt::Image& img, bool column, int at, const char* runs) {
    const std::pair<char, COLORREF> legend[] = {
        {'U', UpColor(0)},   {'D', DownColor(0)}, {'S', kSpanColor},     {'H', HeadColor(0)}, {'B', BodyColor(0)},
        {'E', EdgeColor(0)}, {'G', GripColor(0)}, {'a', kTipColor},      {'s', kTipSpan},     {'h', kTipHead},
        {'b', kTipBody},     {'K', kBlack},       {'W', kHostBackground}};
    std::istringstream in(runs);
    for (std::string run; in >> run;) {
        int from = 0, to = 0;
        char code = 0;
        if (std::sscanf(run.c_str(), "%d-%d%c", &from, &to, &code) != 3) {
            ASSERT_EQ(2, std::sscanf(run.c_str(), "%d%c", &from, &code)) << run;
            to = from;
        }
        const auto* entry =
            std::find_if(std::begin(legend), std::end(legend), [code](auto& e) { return e.first == code; });
        ASSERT_NE(std::end(legend), entry) << run;
        for (int i = from; i <= to; ++i) {
            const int x = column ? at : i, y = column ? i : at;
            EXPECT_EQ(Hex(entry->second), Hex(ScrollTest::At(img, x, y))) << run << " at (" << x << ", " << y << ")";
        }
    }
}

void ExpectColumn(const kt::Image& img, int x, const char* runs) {
    ExpectRuns(img, true, x, runs);
}

// The runs along x = 6 (vertical) or y = 6 (horizontal), the state normal. A vertical
// thumb of 20 (no body: 20 < h1 + h2 - 1) and a horizontal one of 30 (head, grip, stepped
// body, edge) are in the vertical_set and horizontal_set goldens, whose skin has the
// test skin's piece sizes.
TEST_F(Paint, ThumbPieces) {
    struct Row {
        const char* name;
        bool vertical;
        int count, page, pos;
        const char* runs;
    };
    const Row rows[] = {
        // len 30, thumb 32..61: head, grip at 32 + (30 - 6) / 2, body copies from 51 on
        // (the head's last row replaced), the edge on the last row.
        {"len 30: head, grip, stepped body, edge", true, 100, 30, 20,
         "0-11U 12-31S 32-43H 44-49G 50H 51-60B 61E 62-111S 112-123D"},
        // len = h1 + h2: the body is copied twice, at y0 + 19 and y0 + 20.
        {"len 22: body twice", true, 100, 22, 0, "12-19H 20-25G 26-30H 31-32B 33E 34-40S"},
        {"P >= N: arrows and track only", true, 100, 200, 0, "0-11U 12-111S"},
        // P >= N: (124 - 24) x 20 / 10 = 200 pixels, drawn over the right arrow.
        {"horizontal, P >= N: the thumb is drawn, past the track", false, 10, 20, 0,
         "0-11U 12-13H 14-105B 106-117G 118-123B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
        if (row.vertical) {
            AddVertical(124, row.count, row.page, row.pos);
        } else {
            AddHorizontal(124, row.count, row.page, row.pos);
        }
        ExpectRuns(Shot(), row.vertical, 6, row.runs);
    }
}

TEST_F(Paint, OneFrameSetSwitchedBeforeAndAfterInitObject) {
    // Before InitObject: set 1 loads no grip and none was loaded before: never paints.
    auto* early = new CVerticalScrollbar;
    early->InitVScrollBar(1);
    ASSERT_TRUE(host_->Add(early, L"early", RECT{kOrigin.x, kOrigin.y, kOrigin.x + 12, kOrigin.y + 124}));
    early->SetRowNumber(100);
    early->SetPageSize(10);
    early->UpdateThumbPos(0);
    EXPECT_EQ(nullptr, early->m_pGrip);
    ExpectColumn(Shot(), 4, "0-123W");

    // After InitObject: set 0's grip is still there, so it paints, stretched and unframed.
    host_ = std::make_unique<CHeadlessHost>(SIZE{240, 200});
    CVerticalScrollbar* late = AddVertical(124);
    late->InitVScrollBar(1);
    late->SetRowNumber(100);
    late->SetPageSize(10);  // (124 - 16) x 10 / 100 = 10, raised to set 0's minimum 20
    late->UpdateThumbPos(0);
    ASSERT_EQ(20, late->m_nThumbLength);
    ASSERT_EQ(kTipArrow, late->m_nThumbPos);
    const kt::Image img = Shot();
    // The head (24 rows) is longer than the thumb (20): the body has no room and is not
    // drawn, rather than drawn upside down over the head's last rows.
    ExpectColumn(img, 3, "0-7a 8-31h 32-115s 116-123a");
    ExpectColumn(img, 0, "8-31s");    // the one-pixel indent
    ExpectColumn(img, 10, "0-123K");  // beyond the 8-pixel arrows: the black fill
    late->SetPageSize(50);            // (124 - 16) x 50 / 100 = 54: the body is stretched
    ::InvalidateRect(host_->Window().GetSafeHwnd(), nullptr, TRUE);
    ExpectColumn(Shot(), 3, "8-31h 32-61b 62s");
}

// ---- goldens of the default skin -------------------------------------------------------------
struct GoldenRow {
    const char* name;
    bool vertical;
    int set;
    int pos;
    int drive;  // 0 none, 1 hover the first arrow, 2 press the second arrow, 3 press the thumb
};

TEST_F(Paint, DefaultSkinGoldens) {
    std::vector<GoldenRow> rows;
    for (int set = 0; set <= 5; ++set) rows.push_back({"vertical_set", true, set, 45, 0});
    for (int set = 0; set <= 4; ++set) rows.push_back({"horizontal_set", false, set, 45, 0});
    for (int drive = 1; drive <= 3; ++drive) {
        rows.push_back({"vertical_state", true, 0, 30, drive});
        rows.push_back({"horizontal_state", false, 0, 30, drive});
    }
    for (const GoldenRow& row : rows) {
        const std::string name = std::string("scrollbar/") + row.name + std::to_string(row.drive ? row.drive : row.set);
        SCOPED_TRACE(name);
        host_ = std::make_unique<CHeadlessHost>(row.vertical ? SIZE{36, 164} : SIZE{164, 36});
        ASSERT_TRUE(host_->LoadSkin(kt::DefaultSkinDir()));
        POINT first{}, second{}, thumb{};
        if (row.vertical) {
            CVerticalScrollbar* bar = AddVertical(124, 16);
            bar->InitVScrollBar(row.set);
            bar->SetRowNumber(100);
            bar->SetPageSize(10);
            bar->UpdateThumbPos(row.pos);
            first = POINT{4, 4};
            second = POINT{4, 120};
            thumb = POINT{4, bar->m_nThumbPos + bar->m_nThumbLength / 2};
        } else {
            CHorizontalScrollbar* bar = AddHorizontal(124, 16);
            bar->InitHScrollBar(row.set);
            bar->SetColumnNumber(100);
            bar->SetPageSize(30);
            bar->UpdateThumbPos(row.pos);
            first = POINT{4, 4};
            second = POINT{120, 4};
            thumb = POINT{bar->m_nThumbPos + bar->m_nThumbLength / 2, 4};
        }
        if (row.drive == 1) host_->Move(Win(first));
        if (row.drive == 2) Press(second);
        if (row.drive == 3) Press(thumb);
        HBITMAP bmp = host_->Snapshot();
        EXPECT_TRUE(kt::MatchesGolden(bmp, name));
        ::DeleteObject(bmp);
    }
}

// A set out of range asks the skin for nothing.
TEST_F(Paint, SetsOutOfRangeAskForNothing) {
    CVerticalScrollbar* v = AddVertical(124);
    CHorizontalScrollbar* h = AddHorizontal(124);
    for (int set : {6, -1}) {
        palette_->asked.clear();
        v->InitVScrollBar(set);
        h->InitHScrollBar(set - 1);
        EXPECT_TRUE(palette_->asked.empty()) << set;
    }
}

}  // namespace
}  // namespace st
