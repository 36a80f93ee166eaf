// Painting: hand-worked pixels of cells, frames, fills, arrows and backgrounds, goldens
// for each side and background mode, and no GDI object left behind.
#include <gtest/gtest.h>

#include "host_fixture.h"
#include "pixels.h"
#include "tab_test_util.h"
#include "win32/runtime_ext.h"

namespace {

using tabtest::Strip;

const RECT kPlace{10, 5, 310, 45};  // window 320 x 60
const SIZE kWindow{320, 60};

// Repaints the whole window and reads it back.
kt::Image Paint(Strip& strip) {
    ::InvalidateRect(strip.host.Window().GetSafeHwnd(), nullptr, TRUE);
    return kt::Shot(strip.host);
}

// A pixel in element coordinates.
COLORREF At(const kt::Image& img, int x, int y) {
    return img.at(x + kPlace.left, y + kPlace.top);
}

bool Contains(const kt::Image& img, const RECT& element_rc, COLORREF c) {
    for (int y = element_rc.top; y < element_rc.bottom; ++y)
        for (int x = element_rc.left; x < element_rc.right; ++x)
            if (At(img, x, y) == c) return true;
    return false;
}

// Normal, hovered and selected cells, their frames (a positive ID's cell over its left
// neighbour's frame; ID 0 in left_rows) and the strip's bitmap are in the goldens below;
// the selected tab's arrow in tests/scenarios/menu_tab_choose.kel (menu_tab_renamed.png).
// A cell both selected and hovered takes the selection's colours.
TEST(TabPaint, SelectedAndHoveredCell) {
    Strip strip(kPlace, kWindow);
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 0);
    strip.AddTab(1, L"Stocks");
    strip.Layout();
    ASSERT_TRUE(CRect(0, 0, 47, 14) == CRect(t.m_arrItems[0]->m_rcItem));
    t.m_nSelTab = t.m_nHotTab = 0;
    const kt::Image img = Paint(strip);
    EXPECT_EQ(tabtest::kHotlight, At(img, 0, 0));
    EXPECT_EQ(tabtest::kHotlight, At(img, 46, 13));
    EXPECT_TRUE(Contains(img, RECT{0, 0, 47, 14}, tabtest::kSelText));
    EXPECT_FALSE(Contains(img, RECT{0, 0, 47, 14}, tabtest::kHoverText));
}

// A name's rectangle grows one pixel at the bottom in a tab of odd height.
TEST(TabPaint, NameRowsInEvenAndOddTabs) {
    struct Row {
        const char* name;
        int height, textBottom;
        int textRow;  // the one row of the name in the text colour itself
    };
    const Row rows[] = {{"even, centred", 14, 0, 4}, {"odd, centred", 15, 0, 5}, {"odd, on the bottom", 15, 1, 6}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip(kPlace, kWindow, row.textBottom);
        strip.tabs->SetStyle(1, 0, 0);
        strip.AddTab(1, L"Stocks");
        strip.tabs->SetTabHeight(row.height);
        strip.Layout();
        const kt::Image img = Paint(strip);
        for (int y = 0; y < row.height; ++y)
            EXPECT_EQ(y == row.textRow, Contains(img, RECT{0, y, 47, y + 1}, tabtest::kText)) << y;
    }
}

// The strip's bitmap, the named bitmap and the colour with the default key: the goldens.
// Bitmap type 1 without tabs fills only; a colour background takes the first tab's own key.
TEST(TabPaint, Backgrounds) {
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "bitmap without tabs");
        Strip strip(kPlace, kWindow);
        CElementTabControl& t = *strip.tabs;
        t.SetStyle(1, 0, 0);
        if (colour) {
            t.SetBkColor(RGB(9, 9, 9));
            _TAB_PARAM_INFO_ info;
            info.nID = 1;
            info.lpszName = L"Stocks";
            info.lpszTextColor = info.lpszSelTextColor = L"CElementTabControl.Text";
            info.lpszBkColor = L"Test.OwnBk";
            t.Add(&info);
            strip.Layout();
        }
        const kt::Image img = Paint(strip);
        EXPECT_EQ(colour ? tabtest::kOwnBk : tabtest::kBackground, At(img, 250, 5));
        EXPECT_EQ(RGB(0, 0, 0), At(img, 250, 30));
        EXPECT_EQ(tabtest::kBackground, t.m_clrBk);  // the paint reloads the skin colour
    }
}

TEST(TabPaint, TextButtonRightEdgesAndMissingImage) {
    Strip strip(kPlace, kWindow);
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 0);
    strip.AddTab(1, L"Stocks");
    t.AddTextButton(L"Stocks", 5, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    t.AddTextButton(L"", 6, nullptr, nullptr, L"Test.Img", L"Test.ImgHot", 0, L"");
    t.AddTextButton(L"", 7, nullptr, nullptr, L"Missing.Img", nullptr, 0, L"");
    t.m_arrTextBtn[0].sizeText.cx = 100;  // stale until the paint measures again
    strip.Layout();
    const CRect missingBefore = t.m_arrTextBtn[2].rcBtn;
    t.m_arrTextBtn[1].bHot = true;
    const kt::Image img = Paint(strip);
    EXPECT_EQ(40, t.m_arrTextBtn[0].sizeText.cx);
    EXPECT_EQ(t.m_arrTextBtn[0].rcBtn.left + 40, t.m_arrTextBtn[0].rcBtn.right);
    EXPECT_EQ(t.m_arrTextBtn[1].rcBtn.left + tabtest::kImageW, t.m_arrTextBtn[1].rcBtn.right);
    EXPECT_TRUE(missingBefore == CRect(t.m_arrTextBtn[2].rcBtn));
    // The hot image, centred in the 14-pixel row: y = (14 - 10) / 2.
    EXPECT_EQ(tabtest::kImageHot, At(img, t.m_arrTextBtn[1].rcBtn.left, 2));
    EXPECT_EQ(tabtest::kImageHot, At(img, t.m_arrTextBtn[1].rcBtn.left + 11, 11));
    EXPECT_TRUE(Contains(img, t.m_arrTextBtn[0].rcBtn, tabtest::kBtnText));
    // A left strip draws no text buttons: the left_rows golden.
}

TEST(TabPaint, WithoutFontsNothingIsDrawn) {
    CHeadlessHost host(kWindow);
    ASSERT_TRUE(host.LoadSkin(tabtest::FontlessSkinDir()));
    auto* t = new CElementTabControl;
    ASSERT_TRUE(host.Add(t, L"tabs", kPlace));  // the skin is reachable
    EXPECT_EQ(0, t->OnPaint(nullptr));
    ::InvalidateRect(host.Window().GetSafeHwnd(), nullptr, TRUE);
    EXPECT_EQ(host.Window().m_clrBackground, kt::Shot(host).at(kPlace.left + 5, kPlace.top + 5));  // not even the fill
}

// ---- goldens --------------------------------------------------------------------------------------
// A realistic strip: a selected tab, a hovered one, a menu tab, a hidden tab and text buttons.
void FillStrip(Strip& strip, int side) {
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, side);
    static _MENU_CMD_INFO_ menu = kt::PlainMenu(3, 101, 101);
    strip.AddTab(1, L"Stocks");
    strip.AddTab(2, L"Bonds");
    strip.AddTab(3, L"Minutes", &menu);
    strip.AddTab(4, L"Hidden", nullptr, 0);
    strip.AddTab(5, L"Swaps");
    t.AddTextButton(L"F10", 10, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, L"");
    t.AddTextButton(L"", 11, nullptr, nullptr, L"Test.Img", L"Test.ImgHot", 0, L"");
    t.AddTextButton(L"Line", 12, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"");
    strip.Layout();
    t.m_nSelTab = 0;
    t.m_nHotTab = 1;
}

TEST(TabPaint, Goldens) {
    struct Row {
        const char* golden;
        int side;
        int textBottom;
        void (*setup)(CElementTabControl& t);
    };
    const Row rows[] = {
        {"tabcontrol/top_bitmap", 0, 0, [](CElementTabControl&) {}},
        {"tabcontrol/top_colour_textbottom", 0, 1,
         [](CElementTabControl& t) {
             t.SetBkColor(0);
             t.SetTabHeight(20);  // names stand on the cells' bottom edge
         }},
        {"tabcontrol/bottom_colour", 3, 0, [](CElementTabControl& t) { t.SetBkColor(0); }},
        {"tabcontrol/bottom_named_bitmap", 3, 0,
         [](CElementTabControl& t) {
             t.SetTabbkDrawType(0);
             t.SetGrayBkColor(3);
             t.SetTabHeight(14);
         }},
        {"tabcontrol/left_rows", 2, 0,
         [](CElementTabControl& t) {
             t.SetBkColor(0);
             for (INT_PTR i = 0; i < t.m_arrItems.GetSize(); ++i) t.m_arrItems[i]->m_nDivide = 1;
             t.m_arrItems[0]->m_nID = 0;  // rows by ID
         }},
        {"tabcontrol/whole_element", 1, 0,
         [](CElementTabControl& t) {
             t.SetBkColor(0);
             t.SetTabArrangement(TAB_OVERLAPPED);
             t.SetStyle(1, 2, 1);
             t.OnSize(0, 0, 0);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.golden);
        Strip strip(kPlace, kWindow, row.textBottom);
        FillStrip(strip, row.side);
        row.setup(*strip.tabs);
        ::InvalidateRect(strip.host.Window().GetSafeHwnd(), nullptr, TRUE);
        HBITMAP bmp = strip.host.Snapshot();
        EXPECT_TRUE(kt::MatchesGolden(bmp, row.golden));
        ::DeleteObject(bmp);
    }
}

// A paint of part of the window (the host's paint DC clipped to it) must give the same
// pixels there as a paint of the whole: what lies beyond the clip is skipped, not cut off
// differently. The rectangles cut through frames, names, arrows and the text buttons.
TEST(TabPaint, PartialPaintsMatchTheWholePaint) {
    struct Row {
        const char* name;
        RECT invalid;  // element coordinates
    };
    const Row rows[] = {
        {"first frame column", {0, 0, 1, 40}},           {"across the first cell boundary", {44, 0, 50, 40}},
        {"one pixel inside a name", {20, 7, 21, 8}},     {"menu arrow only", {128, 4, 133, 8}},
        {"a cell's bottom frame row", {0, 14, 300, 15}}, {"text buttons", {230, 0, 300, 20}},
        {"right of everything", {290, 30, 300, 40}},
    };
    struct Setup {
        const char* name;
        int side;
        void (*apply)(CElementTabControl& t);
    };
    const Setup setups[] = {
        {"top, bitmap", 0, [](CElementTabControl&) {}},
        {"left rows", 2,
         [](CElementTabControl& t) {
             t.SetBkColor(0);
             for (INT_PTR i = 0; i < t.m_arrItems.GetSize(); ++i) t.m_arrItems[i]->m_nDivide = 1;
         }},
        {"overlapped, bottom", 3, [](CElementTabControl& t) { t.SetTabArrangement(TAB_OVERLAPPED); }},
    };
    constexpr COLORREF kScribble = RGB(255, 0, 255);
    for (const Setup& setup : setups) {
        Strip strip(kPlace, kWindow);
        FillStrip(strip, setup.side);
        setup.apply(*strip.tabs);
        const kt::Image whole = Paint(strip);
        const HWND hwnd = strip.host.Window().GetSafeHwnd();
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(setup.name) + ": " + row.name);
            HDC hdc = ::GetDC(hwnd);
            HBRUSH brush = ::CreateSolidBrush(kScribble);
            const RECT client{0, 0, kWindow.cx, kWindow.cy};
            ::FillRect(hdc, &client, brush);
            ::DeleteObject(brush);
            ::ReleaseDC(hwnd, hdc);
            RECT invalid = row.invalid;
            ::OffsetRect(&invalid, kPlace.left, kPlace.top);
            ::InvalidateRect(hwnd, &invalid, TRUE);
            const kt::Image part = kt::Shot(strip.host);
            int differing = 0;
            for (int y = invalid.top; y < invalid.bottom; ++y)
                for (int x = invalid.left; x < invalid.right; ++x) differing += part.at(x, y) != whole.at(x, y);
            EXPECT_EQ(0, differing);
            // A pixel of the element outside the rectangle keeps the scribble: the paint was partial.
            EXPECT_EQ(kScribble, At(part, row.invalid.left > 0 ? 0 : 299, row.invalid.top > 0 ? 0 : 39));
        }
    }
}

}  // namespace
