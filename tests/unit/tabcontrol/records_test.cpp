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
    tab.m_vecMenu = tabtest::MakeMenu(3, 100, 101).vecMenu;
    tab.m_nSelMenuID = 101;
    return tab;
}

TEST(TabRecords, DefaultsAreDefined) {
    const CQuoteTabItem tab;
    EXPECT_EQ(0, tab.m_nID);
    EXPECT_EQ(1, tab.m_bVisible);
    EXPECT_EQ(0, tab.m_nDivide);
    EXPECT_EQ(0, tab.m_nSizeMode);
    EXPECT_EQ(-1, tab.m_nSelMenuID);
    EXPECT_EQ(0, tab.m_bMenuOnClick);
    EXPECT_TRUE(tab.m_vecMenu.empty());
    EXPECT_TRUE(CRect(tab.m_rcItem).IsRectNull());
    EXPECT_EQ(0,
              tab.m_nWidth + tab.m_nHeight + tab.m_nShareWidth + tab.m_nReserved + tab.m_nOrgWidth + tab.m_nOrgHeight);
    const _TEXT_BUTTON btn;
    EXPECT_TRUE(CRect(btn.rcBtn).IsRectNull());
    EXPECT_EQ(0, btn.sizeText.cx + btn.sizeText.cy + btn.sizeImage.cx + btn.sizeImage.cy);
    EXPECT_FALSE(btn.bHot);
    EXPECT_EQ(1, btn.m_bVisible);
    EXPECT_EQ(0, btn.bLineFont);
    EXPECT_TRUE(btn.strImage.IsEmpty());
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
    source.m_vecMenu = tabtest::MakeMenu(1, 500, 500).vecMenu;
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

// Colour keys: null and empty both take the default; present keys stay.
TEST(InitTabItemColor, DefaultsFiveKeys) {
    struct Row {
        const char* name;
        const wchar_t* given;
        bool keeps;
    };
    const Row rows[] = {{"null", nullptr, false}, {"empty", L"", false}, {"own key", L"Test.OwnBk", true}};
    tabtest::Strip strip;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        _TAB_PARAM_INFO_ info;
        info.lpszBkColor = info.lpszBorderColor = info.lpszFillNormal = info.lpszHoverBkColor = info.lpszFillHotlight =
            row.given;
        EXPECT_EQ(1, TabControlTestAccess::InitTabItemColor(*strip.tabs, &info));
        const std::pair<const wchar_t*, const wchar_t*> fields[] = {
            {info.lpszBkColor, L"CElementTabControl.BackGround"},
            {info.lpszBorderColor, L"CElementTabControl.Border"},
            {info.lpszFillNormal, L"CElementTabControl.FillNormal"},
            {info.lpszHoverBkColor, L"CElementTabControl.HoverBackground"},
            {info.lpszFillHotlight, L"CElementTabControl.FillHotlight"},
        };
        for (const auto& [value, fallback] : fields) EXPECT_STREQ(row.keeps ? row.given : fallback, value);
        EXPECT_EQ(nullptr, info.lpszTextColor);  // no default for the text keys
        EXPECT_EQ(nullptr, info.lpszSelTextColor);
    }
    EXPECT_EQ(0, TabControlTestAccess::InitTabItemColor(*strip.tabs, nullptr));
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
