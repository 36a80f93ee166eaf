// Construction, skin loading, tab building and the configuration operations.
#include <gtest/gtest.h>

#include "host/HostTypes.h"
#include "tab_test_util.h"
#include "win32/runtime_ext.h"

namespace {

using tabtest::Strip;

TEST(TabControlInit, RegistersMessagesAndLoadsSkin) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    const std::vector<UINT> expected = {15, 512, 513, 514, 675, 5, 273, 32};
    EXPECT_EQ(expected, t.HostState()->registered);
    EXPECT_EQ(tabtest::kStripBmpH, t.m_nTabHeight);  // from Tab_Bk4.bmp
    EXPECT_EQ(tabtest::kBackground, t.m_clrBk);
    EXPECT_EQ(tabtest::kColorKey, t.m_clrKey);
    EXPECT_NE(nullptr, t.m_pFont);
    EXPECT_NE(nullptr, t.m_pArrowBmp);
}

TEST(TabControlInit, WithoutSkinInitObjectFails) {
    CHeadlessHost host(SIZE{200, 40});  // no skin loaded: no palette, no factory
    auto* t = new CElementTabControl;
    EXPECT_FALSE(host.Add(t, L"tabs", RECT{0, 0, 200, 40}));
}

TEST(BuildTabItem, NaturalWidths) {
    Strip strip;
    ASSERT_EQ(40, tabtest::TextWidth(L"Stocks"));  // the name of the worked example
    ASSERT_EQ(0, strip.AddTab(1, L"Stocks"));
    const CQuoteTabItem& plain = *strip.tabs->m_arrItems[0];
    EXPECT_EQ(47, plain.m_nWidth);  // 3 + 4 + 40
    EXPECT_EQ(47, plain.m_nOrgWidth);
    EXPECT_EQ(tabtest::kTabBmpH, plain.m_nHeight);
    EXPECT_EQ(0, plain.m_nSelMenuID);  // no menu information

    _MENU_CMD_INFO_ menu = kt::PlainMenu(2, 100, 100);
    ASSERT_EQ(1, strip.AddTab(2, L"Stocks", &menu));
    const CQuoteTabItem& withMenu = *strip.tabs->m_arrItems[1];
    EXPECT_EQ(64, withMenu.m_nWidth);  // 47 + 4 + 10 - 4 + 7
    EXPECT_EQ(100, withMenu.m_nSelMenuID);
    EXPECT_EQ(2u, withMenu.m_vecMenu.size());

    _MENU_CMD_INFO_ empty;
    ASSERT_EQ(2, strip.AddTab(3, L"Stocks", &empty));
    EXPECT_EQ(64, strip.tabs->m_arrItems[2]->m_nWidth);  // room for the arrow even without entries
}

TEST(BuildTabItem, OwnBitmapsGiveTheBitmapWidth) {
    struct Row {
        const char* name;
        const wchar_t* left;
        const wchar_t* right;
        int width;
        int height;
    };
    const Row rows[] = {
        {"own left, default right", L"own_left.bmp", nullptr, tabtest::kRightW, tabtest::kTabBmpH},
        {"own left and right", L"own_left.bmp", L"own_right.bmp", tabtest::kOwnRightW, 12},
        {"right missing", L"own_left.bmp", L"missing.bmp", tabtest::kOwnLeftW, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        _TAB_PARAM_INFO_ info;
        info.nID = 1;
        info.lpszName = L"A very long name that is much wider than any bitmap";
        info.lpszLeftBmp = row.left;
        info.lpszRightBmp = row.right;
        info.lpszTextColor = info.lpszSelTextColor = L"CElementTabControl.Text";
        ASSERT_EQ(0, strip.tabs->Add(&info));
        EXPECT_EQ(row.width, strip.tabs->m_arrItems[0]->m_nWidth);
        EXPECT_EQ(row.height, strip.tabs->m_arrItems[0]->m_nHeight);
    }
}

TEST(BuildTabItem, NullNameAndEmptyBitmapName) {
    Strip strip;
    _TAB_PARAM_INFO_ info;
    info.nID = 4;
    info.lpszMidBmp = L"";  // only null takes the default
    ASSERT_EQ(0, strip.tabs->Add(&info));
    const CQuoteTabItem& tab = *strip.tabs->m_arrItems[0];
    EXPECT_TRUE(tab.m_strName.IsEmpty());
    EXPECT_TRUE(tab.m_strOrgName.IsEmpty());
    EXPECT_TRUE(tab.m_strMidBmp.IsEmpty());
    EXPECT_TRUE(tab.m_strMidHotBmp == L"middletab_hot.bmp");
    EXPECT_EQ(tabtest::kLeftW + tabtest::kRightW, tab.m_nWidth);
    EXPECT_EQ(0, strip.tabs->BuildTabItem(nullptr, strip.tabs->m_arrItems[0]));
    EXPECT_EQ(0, strip.tabs->BuildTabItem(&info, nullptr));
}

TEST(TabsByID, DuplicateIDs) {
    Strip strip;
    ASSERT_EQ(0, strip.AddTab(5, L"First"));
    EXPECT_EQ(-1, strip.AddTab(5, L"Again"));
    EXPECT_EQ(1, strip.tabs->m_arrItems.GetSize());

    _TAB_PARAM_INFO_ info;
    info.nID = 5;
    info.lpszName = L"Second";
    strip.tabs->InsertTabItem(1, &info);  // no duplicate check here
    ASSERT_EQ(2, strip.tabs->m_arrItems.GetSize());
    int index = -1;
    EXPECT_EQ(1, strip.tabs->FindTabID(5, index));
    EXPECT_EQ(0, index);
    EXPECT_EQ(1, strip.tabs->ChangeItemNameByID(5, L"Renamed"));
    EXPECT_TRUE(strip.tabs->m_arrItems[0]->m_strName == L"Renamed");
    EXPECT_TRUE(strip.tabs->m_arrItems[1]->m_strName == L"Second");
    EXPECT_EQ(1, strip.tabs->DelItem(5));
    EXPECT_TRUE(strip.tabs->m_arrItems[0]->m_strName == L"Second");
}

TEST(InsertTabItem, IndexClamping) {
    struct Row {
        const char* name;
        int index;
        std::vector<int> order;  // IDs after the insertion of ID 9
    };
    const Row rows[] = {
        {"front", 0, {9, 1, 2}},
        {"middle", 1, {1, 9, 2}},
        {"end", 2, {1, 2, 9}},
        {"past the end appends", 7, {1, 2, 9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        strip.AddTab(1, L"One");
        strip.AddTab(2, L"Two");
        _TAB_PARAM_INFO_ info;
        info.nID = 9;
        info.lpszName = L"Nine";
        strip.tabs->InsertTabItem(row.index, &info);
        std::vector<int> order;
        for (INT_PTR i = 0; i < strip.tabs->m_arrItems.GetSize(); ++i) {
            ASSERT_NE(nullptr, strip.tabs->m_arrItems[i]);
            order.push_back(strip.tabs->m_arrItems[i]->m_nID);
        }
        EXPECT_EQ(row.order, order);
    }
}

TEST(Configuration, HeightsWidthsAndBackgrounds) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    EXPECT_EQ(0, t.GetGrayBkColor());  // defined before the first SetGrayBkColor
    EXPECT_EQ(0, t.SetTabHeight(0));
    EXPECT_EQ(tabtest::kStripBmpH, t.m_nTabHeight);
    EXPECT_EQ(1, t.SetTabHeight(20));
    EXPECT_EQ(0, t.SetTabWidth(-3));
    EXPECT_EQ(100, t.m_nTabWidth);

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

TEST(Configuration, StripAndClientRectangles) {
    struct Row {
        const char* name;
        int side;
        RECT strip;
        RECT client;
    };
    const Row rows[] = {
        {"top", 0, {0, 0, 300, 14}, {0, 14, 300, 40}},
        {"bottom", 3, {0, 26, 300, 40}, {0, 0, 300, 26}},
        {"left", 2, {0, 0, 100, 40}, {0, 0, 300, 40}},
        {"whole", 1, {0, 0, 300, 40}, {0, 0, 300, 40}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        strip.tabs->SetStyle(1, 2, row.side);
        RECT rcStrip{}, rcClient{};
        strip.tabs->GetTabAreaRect(&rcStrip);
        TabControlTestAccess::GetClientRectEx(*strip.tabs, &rcClient);
        EXPECT_TRUE(::EqualRect(&row.strip, &rcStrip));
        EXPECT_TRUE(::EqualRect(&row.client, &rcClient));
    }
}

TEST(Tabs, DelSwapAndVisibility) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    t.SetStyle(1, 0, 0);
    strip.AddTab(1, L"One");
    strip.AddTab(2, L"Two");
    strip.AddTab(3, L"Three");
    t.SetSelectedTab(2);
    ASSERT_EQ(1, t.m_nSelTab);
    EXPECT_EQ(1, t.DelItem(2));
    EXPECT_EQ(1, t.m_nSelTab);  // the selected index is kept
    EXPECT_EQ(0, t.DelItem(2));
    EXPECT_EQ(0, t.SwapWithIndex(0, 2));  // 2 == count
    EXPECT_EQ(1, t.SwapWithIndex(0, 1));
    EXPECT_EQ(3, t.m_arrItems[0]->m_nID);

    strip.host.Pump();
    strip.TakeInvalid();
    EXPECT_EQ(0, t.SetItemVisibleByID(42, 0));
    const RECT expected{0, 0, 300, 40};  // laid out and repainted all the same
    const RECT invalid = strip.TakeInvalid();
    EXPECT_TRUE(::EqualRect(&expected, &invalid));
    EXPECT_EQ(1, t.SetItemVisibleByID(1, 0));
    int visible = -1;
    EXPECT_EQ(1, t.GetItemVisibleFromID(1, visible));
    EXPECT_EQ(0, visible);
    EXPECT_TRUE(CRect(t.m_arrItems[1]->m_rcItem).IsRectNull());
    EXPECT_EQ(0, t.GetItemVisibleFromID(99, visible));
}

TEST(TextButtons, AddMeasuresAndLooksUpImages) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    t.AddTextButton(L"Stocks", 5, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 1, L"extra");
    t.AddTextButton(L"", 6, nullptr, nullptr, L"Test.Img", L"Test.ImgHot", 0, L"");
    t.AddTextButton(L"x", 7, nullptr, nullptr, L"Missing.Img", nullptr, 0, L"");
    ASSERT_EQ(3, t.m_arrTextBtn.GetSize());
    EXPECT_EQ(40, t.m_arrTextBtn[0].sizeText.cx);
    EXPECT_EQ(1, t.m_arrTextBtn[0].bLineFont);
    EXPECT_TRUE(t.m_arrTextBtn[0].strExtra == L"extra");
    EXPECT_EQ(tabtest::kImageW, t.m_arrTextBtn[1].sizeImage.cx);
    EXPECT_EQ(tabtest::kImageH, t.m_arrTextBtn[1].sizeImage.cy);
    EXPECT_TRUE(t.m_arrTextBtn[1].strHotImage == L"Test.ImgHot");
    EXPECT_EQ(0, t.m_arrTextBtn[2].sizeImage.cx);

    EXPECT_EQ(1, t.SetBtnTextByID(5, L"Renamed"));
    EXPECT_TRUE(t.m_arrTextBtn[0].strText == L"Renamed");
    EXPECT_EQ(40, t.m_arrTextBtn[0].sizeText.cx);  // re-measured only by a paint
    int visible = -1;
    EXPECT_EQ(1, t.SetTextBtnVisibleByID(6, 0));
    EXPECT_EQ(1, t.GetTextBtnVisibleFromID(6, visible));
    EXPECT_EQ(0, visible);
}

}  // namespace
