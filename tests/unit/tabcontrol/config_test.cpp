// The tab records' copies and moves, and text buttons: their measures and images.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "host/HostTypes.h"
#include "tab_test_util.h"

namespace {

using tabtest::Strip;

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
