// Construction, skin loading, tab building, the tab records and the configuration operations.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "host/HostTypes.h"
#include "tab_test_util.h"

namespace {

using tabtest::Strip;

// The skin's strip height, colours and arrows show in the layout rows and the goldens.
TEST(TabControlInit, RegistersMessages) {
    Strip strip;
    EXPECT_EQ((std::vector<UINT>{15, 512, 513, 514, 675, 5, 273, 32}), strip.tabs->HostState()->registered);
}

TEST(TabControlInit, WithoutSkinInitObjectFails) {
    CHeadlessHost host(SIZE{200, 40});  // no skin loaded: no palette, no factory
    EXPECT_FALSE(host.Add(new CElementTabControl, L"tabs", RECT{0, 0, 200, 40}));
}

// The skin's own bitmaps, with and without a menu: tests/scenarios/tabs_click.kel and
// tabs_menu.kel. Here a tab's own bitmaps under a name far wider than any of them: the
// width is the right bitmap's.
TEST(BuildTabItem, WidthsFromOwnBitmaps) {
    struct Row {
        const char* name;
        const wchar_t* right;
        int width, height;
    };
    const Row rows[] = {
        {"own left, default right", nullptr, tabtest::kRightW, tabtest::kTabBmpH},
        {"own left and right", L"own_right.bmp", tabtest::kOwnRightW, 12},
        {"right missing", L"missing.bmp", tabtest::kOwnLeftW, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        _TAB_PARAM_INFO_ info;
        info.nID = 1;
        info.lpszName = L"A very long name that is much wider than any bitmap";
        info.lpszLeftBmp = L"own_left.bmp";
        info.lpszRightBmp = row.right;
        ASSERT_EQ(0, strip.tabs->Add(&info));
        EXPECT_EQ(row.width, strip.tabs->m_arrItems[0]->m_nWidth);
        EXPECT_EQ(row.width, strip.tabs->m_arrItems[0]->m_nOrgWidth);
        EXPECT_EQ(row.height, strip.tabs->m_arrItems[0]->m_nHeight);
    }
}

TEST(BuildTabItem, NullNameEmptyBitmapNameAndDefaultKeys) {
    Strip strip;
    _TAB_PARAM_INFO_ info;
    info.nID = 4;
    info.lpszMidBmp = L"";  // only null takes the default
    info.lpszBorderColor = info.lpszFillNormal = L"";
    ASSERT_EQ(0, strip.tabs->Add(&info));
    const CQuoteTabItem& tab = *strip.tabs->m_arrItems[0];
    EXPECT_TRUE(tab.m_strName.IsEmpty() && tab.m_strOrgName.IsEmpty() && tab.m_strMidBmp.IsEmpty());
    EXPECT_TRUE(tab.m_strMidHotBmp == L"middletab_hot.bmp");
    EXPECT_EQ(tabtest::kLeftW + tabtest::kRightW, tab.m_nWidth);
    // The defaults are written into the caller's record as well.
    EXPECT_STREQ(L"CElementTabControl.Border", info.lpszBorderColor);
    EXPECT_STREQ(L"CElementTabControl.FillHotlight", info.lpszFillHotlight);
    EXPECT_TRUE(tab.m_strFillNormal == L"CElementTabControl.FillNormal");
    EXPECT_EQ(0, strip.tabs->BuildTabItem(nullptr, strip.tabs->m_arrItems[0]));
    EXPECT_EQ(0, strip.tabs->BuildTabItem(&info, nullptr));
}

// Every member but the menu, each with a value of its own: copies and moves carry them all.
CString CQuoteTabItem::*const kItemStrings[] = {
    &CQuoteTabItem::m_strOrgName,      &CQuoteTabItem::m_strName,         &CQuoteTabItem::m_strTextColor,
    &CQuoteTabItem::m_strSelTextColor, &CQuoteTabItem::m_strBkColor,      &CQuoteTabItem::m_strBorderColor,
    &CQuoteTabItem::m_strFillNormal,   &CQuoteTabItem::m_strHoverBkColor, &CQuoteTabItem::m_strFillHotlight,
    &CQuoteTabItem::m_strLeftBmp,      &CQuoteTabItem::m_strMidBmp,       &CQuoteTabItem::m_strRightBmp,
    &CQuoteTabItem::m_strLeftHotBmp,   &CQuoteTabItem::m_strMidHotBmp,    &CQuoteTabItem::m_strRightHotBmp};
int CQuoteTabItem::*const kItemInts[] = {
    &CQuoteTabItem::m_nID,       &CQuoteTabItem::m_nSelMenuID, &CQuoteTabItem::m_bMenuOnClick,
    &CQuoteTabItem::m_nWidth,    &CQuoteTabItem::m_nHeight,    &CQuoteTabItem::m_nShareWidth,
    &CQuoteTabItem::m_nReserved, &CQuoteTabItem::m_nOrgWidth,  &CQuoteTabItem::m_nOrgHeight,
    &CQuoteTabItem::m_bVisible,  &CQuoteTabItem::m_nDivide,    &CQuoteTabItem::m_nSizeMode};

CQuoteTabItem FilledItem() {
    CQuoteTabItem tab;
    for (size_t i = 0; i < std::size(kItemStrings); ++i) tab.*kItemStrings[i] = std::to_wstring(i).c_str();
    for (size_t i = 0; i < std::size(kItemInts); ++i) tab.*kItemInts[i] = int(100 + i);
    tab.m_rcItem = CRect(1, 2, 3, 4);
    tab.m_vecMenu = kt::PlainMenu(3, 100, 101).vecMenu;
    return tab;
}

void ExpectFilled(const CQuoteTabItem& tab) {
    for (size_t i = 0; i < std::size(kItemStrings); ++i)
        EXPECT_TRUE(tab.*kItemStrings[i] == std::to_wstring(i).c_str()) << "string " << i;
    for (size_t i = 0; i < std::size(kItemInts); ++i) EXPECT_EQ(int(100 + i), tab.*kItemInts[i]) << "int " << i;
    EXPECT_TRUE(tab.m_rcItem == CRect(1, 2, 3, 4));
}

// A move takes only the menu: the source keeps its names and scalars.
void ExpectMoved(const CQuoteTabItem& to, const CQuoteTabItem& from) {
    EXPECT_EQ(3u, to.m_vecMenu.size());
    ExpectFilled(to);
    EXPECT_TRUE(from.m_vecMenu.empty());
    ExpectFilled(from);
}

TEST(QuoteTabItem, CopiesAndMoves) {
    CQuoteTabItem source = FilledItem();
    CQuoteTabItem copy(source);
    copy.m_vecMenu[0].strText = L"changed";
    copy.m_vecMenu.pop_back();
    EXPECT_EQ(3u, source.m_vecMenu.size());
    EXPECT_TRUE(source.m_vecMenu[0].strText == L"Item 1");
    ExpectFilled(copy);

    CQuoteTabItem moved(std::move(source));
    ExpectMoved(moved, source);  // NOLINT(bugprone-use-after-move): the contract says so
    CQuoteTabItem second = FilledItem();
    CQuoteTabItem target;
    target = std::move(second);
    ExpectMoved(target, second);  // NOLINT(bugprone-use-after-move)

    CQuoteTabItem small;
    small.m_vecMenu = kt::PlainMenu(1, 500, 500).vecMenu;
    target = small;  // replaces the menu
    ASSERT_EQ(1u, target.m_vecMenu.size());
    EXPECT_EQ(500, target.m_vecMenu[0].nCmdID);
    EXPECT_EQ(0, target.m_nID);
    CQuoteTabItem& alias = moved;
    moved = alias;
    moved = std::move(alias);
    EXPECT_EQ(3u, moved.m_vecMenu.size());
    ExpectFilled(moved);
}

TEST(Configuration, HeightsWidthsAndBackgrounds) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    EXPECT_EQ(0, t.GetGrayBkColor());  // defined before the first SetGrayBkColor
    EXPECT_EQ(1, t.SetTabHeight(20));

    t.SetBkColor(RGB(1, 2, 3));
    EXPECT_EQ(0, t.m_bBmpBk);
    EXPECT_FALSE(t.SetTabBKbmp(nullptr));
    EXPECT_EQ(1, t.m_bBmpBk);
    EXPECT_TRUE(t.m_strTabBkBmp == L"Tab_Bk4.bmp");
    EXPECT_EQ(20, t.m_nTabHeight);  // a null name leaves the height alone

    t.SetGrayBkColor(2);
    EXPECT_TRUE(t.m_strTabBkBmp == L"Tab_Bk1.bmp");
    EXPECT_EQ(tabtest::kGray1H, t.m_nTabHeight);
    t.SetGrayBkColor(3);
    EXPECT_EQ(tabtest::kGray2H, t.m_nTabHeight);
    t.m_nTabHeight = 30;
    t.SetGrayBkColor(5);  // keeps the name, re-reads the height from it
    EXPECT_TRUE(t.m_strTabBkBmp == L"Tab_Bk2.bmp");
    EXPECT_EQ(tabtest::kGray2H, t.m_nTabHeight);
    EXPECT_EQ(5, t.GetGrayBkColor());
    EXPECT_TRUE(t.SetTabBKbmp(L"no_such.bmp"));  // a missing bitmap keeps the height
    EXPECT_EQ(tabtest::kGray2H, t.m_nTabHeight);
}

TEST(Tabs, DelSwapAndVisibility) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 0);
    strip.AddTab(1, L"One");
    strip.AddTab(2, L"Two");
    strip.AddTab(3, L"Three");
    strip.Layout();
    t.SetSelectedTab(2);
    EXPECT_EQ(1, t.DelItem(2));
    EXPECT_EQ(1, t.m_nSelTab);                                                   // the selected index is kept
    EXPECT_EQ(t.m_arrItems[0]->m_rcItem.right, t.m_arrItems[1]->m_rcItem.left);  // laid out again

    strip.host.Pump();
    strip.TakeInvalid();
    EXPECT_EQ(0, t.SetItemVisibleByID(42, 0));
    const RECT expected{0, 0, 300, 40};  // laid out and repainted all the same
    const RECT invalid = strip.TakeInvalid();
    EXPECT_TRUE(::EqualRect(&expected, &invalid));
    EXPECT_EQ(1, t.SetItemVisibleByID(3, 0));
    int visible = -1;
    EXPECT_EQ(1, t.GetItemVisibleFromID(3, visible));
    EXPECT_EQ(0, visible);
}

TEST(TextButtons, AddMeasuresAndLooksUpImages) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    t.AddTextButton(L"Stocks", 5, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"extra");
    t.AddTextButton(L"", 6, nullptr, nullptr, L"Test.Img", L"Test.ImgHot", 0, L"");
    t.AddTextButton(L"x", 7, nullptr, nullptr, L"Missing.Img", nullptr, 0, L"");
    // A caption's and an image's width: tests/scenarios/tabs_click.kel, tabs_layout.kel.
    EXPECT_EQ(tabtest::kImageH, t.m_arrTextBtn[1].sizeImage.cy);
    EXPECT_EQ(0, t.m_arrTextBtn[2].sizeImage.cx);

    EXPECT_EQ(1, t.SetBtnTextByID(5, L"Renamed"));
    EXPECT_TRUE(t.m_arrTextBtn[0].strText == L"Renamed");
    EXPECT_EQ(40, t.m_arrTextBtn[0].sizeText.cx);  // re-measured only by a paint
    int visible = -1;
    t.SetTabBtnAglin(DIRECT_RIGHT);  // placed even without tabs
    strip.Layout();
    ASSERT_FALSE(CRect(t.m_arrTextBtn[1].rcBtn).IsRectNull());
    EXPECT_EQ(1, t.SetTextBtnVisibleByID(6, 0));
    EXPECT_TRUE(CRect(t.m_arrTextBtn[1].rcBtn).IsRectNull());  // laid out again
    EXPECT_EQ(1, t.GetTextBtnVisibleFromID(6, visible));
    EXPECT_EQ(0, visible);
}

}  // namespace
