// Painting: goldens for each side and background mode.
#include <gtest/gtest.h>

#include "host_fixture.h"
#include "pixels.h"
#include "tab_test_util.h"
#include "win32/runtime_ext.h"

namespace {

using tabtest::Strip;

const RECT kPlace{10, 5, 310, 45};  // window 320 x 60
const SIZE kWindow{320, 60};

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

}  // namespace
