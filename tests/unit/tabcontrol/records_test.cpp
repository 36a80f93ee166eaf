// The tab records: constructors, copies and moves of CQuoteTabItem, text buttons, and
// the defaulting of colour keys.
#include <gtest/gtest.h>

#include "tab_test_util.h"

namespace {

CQuoteTabItem TabWithMenu() {
    CQuoteTabItem tab;
    tab.m_strName = L"Futures";
    tab.m_strOrgName = L"Futures";
    tab.m_nID = 7;
    tab.m_nWidth = 61;
    tab.m_rcItem = CRect(1, 2, 3, 4);
    tab.m_vecMenu = kt::PlainMenu(3, 100, 101).vecMenu;
    tab.m_nSelMenuID = 101;
    tab.m_nDivide = 3;
    tab.m_nSizeMode = 2;
    return tab;
}

TEST(QuoteTabItem, CopyIsIndependent) {
    CQuoteTabItem source = TabWithMenu();
    CQuoteTabItem copy(source);
    ASSERT_EQ(3u, copy.m_vecMenu.size());
    copy.m_vecMenu[0].strText = L"changed";
    copy.m_vecMenu.pop_back();
    EXPECT_EQ(3u, source.m_vecMenu.size());
    EXPECT_TRUE(source.m_vecMenu[0].strText == L"Item 1");
    EXPECT_EQ(61, copy.m_nWidth);
    EXPECT_EQ(101, copy.m_nSelMenuID);
    EXPECT_EQ(3, copy.m_nDivide);
    EXPECT_EQ(2, copy.m_nSizeMode);
    EXPECT_TRUE(copy.m_strName == L"Futures");
}

TEST(QuoteTabItem, MoveTakesOnlyTheMenu) {
    CQuoteTabItem source = TabWithMenu();
    CQuoteTabItem moved(std::move(source));
    EXPECT_EQ(3u, moved.m_vecMenu.size());
    EXPECT_TRUE(source.m_vecMenu.empty());  // NOLINT(bugprone-use-after-move): the contract says so
    EXPECT_TRUE(source.m_strName == L"Futures");
    EXPECT_EQ(7, source.m_nID);

    CQuoteTabItem target;
    CQuoteTabItem second = TabWithMenu();
    target = std::move(second);
    EXPECT_EQ(3u, target.m_vecMenu.size());
    EXPECT_TRUE(second.m_vecMenu.empty());  // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(second.m_strOrgName == L"Futures");
}

TEST(QuoteTabItem, CopyAssignmentReplacesTheMenuAndSurvivesSelfAssignment) {
    CQuoteTabItem target = TabWithMenu();
    CQuoteTabItem source;
    source.m_vecMenu = kt::PlainMenu(1, 500, 500).vecMenu;
    target = source;
    ASSERT_EQ(1u, target.m_vecMenu.size());
    EXPECT_EQ(500, target.m_vecMenu[0].nCmdID);
    EXPECT_EQ(0, target.m_nID);

    CQuoteTabItem tab = TabWithMenu();
    CQuoteTabItem& alias = tab;
    tab = alias;
    EXPECT_EQ(3u, tab.m_vecMenu.size());
    tab = std::move(alias);
    EXPECT_EQ(3u, tab.m_vecMenu.size());
    EXPECT_TRUE(tab.m_strName == L"Futures");
}

TEST(InitTabItemColor, AddWritesDefaultsIntoTheCallersRecord) {
    tabtest::Strip strip;
    _TAB_PARAM_INFO_ info;
    info.nID = 1;
    info.lpszName = L"Stocks";
    info.lpszTextColor = L"CElementTabControl.Text";
    info.lpszSelTextColor = L"CElementTabControl.SelText";
    info.lpszBkColor = info.lpszBorderColor = info.lpszFillNormal = info.lpszHoverBkColor = info.lpszFillHotlight = L"";
    ASSERT_EQ(0, strip.tabs->Add(&info));
    EXPECT_STREQ(L"CElementTabControl.Border", info.lpszBorderColor);
    EXPECT_STREQ(L"CElementTabControl.FillHotlight", info.lpszFillHotlight);
    EXPECT_TRUE(strip.tabs->m_arrItems[0]->m_strFillNormal == L"CElementTabControl.FillNormal");
}

}  // namespace
