// CMenuEx's model: background mode, records, commands above 16 bits, resources and the
// left strip.
#include <gtest/gtest.h>

#include "frame/ElementBaseApp.h"
#include "menu_test_util.h"
#include "pixels.h"

namespace {

using menutest::ObjectCounts;

TEST(MenuExStyle, SetBackGroundMode) {
    struct Row {
        const char* name;
        int mode;
        COLORREF back;  // m_clrBack and m_clrLeft after the call
    };
    // Light, and both through the constructor: tests/scenarios/menu_cmenuex.kel.
    const Row rows[] = {
        {"dark", 1, RGB(72, 72, 72)},
        {"other value: colours stay", 2, RGB(1, 2, 3)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestMenu menu;
        menu.SetBackColor(RGB(1, 2, 3));
        menu.SetLeftColor(RGB(1, 2, 3));
        menu.SetBackGroundMode(static_cast<MENUBK_MODE>(r.mode));
        EXPECT_EQ(r.mode, CMenuEx::nMenuBackGroundMode);
        EXPECT_EQ(r.back, menu.m_clrBack);
        EXPECT_EQ(r.back, menu.m_clrLeft);
    }
}

// ---- records ------------------------------------------------------------------------------------------
TEST(MenuExCommands, AboveSixteenBitsAreRefusedWhereTheyEnter) {
    struct Row {
        const char* name;
        UINT flags;
        UINT id;
        BOOL appended;
    };
    // 70000 would reach the element as 4464, the low word of WM_COMMAND's wParam. Both refusals
    // in a script: tests/scenarios/menu_cmenuex.kel.
    const Row rows[] = {
        {"the largest that travels", MF_STRING, 0xFFFF, TRUE},
        {"one more", MF_STRING, 0x10000, FALSE},
        {"a separator's id is not read", MF_SEPARATOR, 70000, TRUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        EXPECT_EQ(row.appended, menu.AppendMenuEx(row.flags, row.id, L"Item"));
        EXPECT_EQ(row.appended ? 1 : 0, ::GetMenuItemCount(menu));
        ASSERT_TRUE(menu.AppendMenuEx(MF_STRING, 5, L"Five"));
        EXPECT_EQ(row.appended, menu.ModifyMenuEx(5, MF_BYCOMMAND | row.flags, row.id, L"Changed"));
        EXPECT_EQ(row.appended ? 1 : 0, menu.m_arrItems.GetSize());  // no record for a refused one
    }
}

TEST(ModifyMenuEx, AddsThenUpdatesOneRecord) {
    TestMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenuEx(MF_STRING, 10, L"Ten"));
    ASSERT_TRUE(menu.AppendMenuEx(MF_STRING, 11, L"Eleven"));
    EXPECT_EQ(0, menu.m_arrItems.GetSize());  // AppendMenuEx makes no record

    ASSERT_TRUE(menu.ModifyMenuEx(1, MF_BYPOSITION, 11, L"Eleven\tCtrl+E"));
    ASSERT_EQ(1, menu.m_arrItems.GetSize());
    tagMENUITEM* rec = menu.m_arrItems[0];
    EXPECT_EQ(11u, rec->nID);
    EXPECT_STREQ(L"Eleven\tCtrl+E", rec->strText.GetString());
    EXPECT_EQ(&menu.m_ImageList, rec->pImageList);
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_OWNERDRAW);

    // The same item again, by position then by command: the one record is updated.
    ASSERT_TRUE(menu.ModifyMenuEx(1, MF_BYPOSITION, 12, L"Twelve"));
    ASSERT_EQ(1, menu.m_arrItems.GetSize());
    EXPECT_EQ(12u, rec->nID);
    EXPECT_STREQ(L"Twelve", rec->strText.GetString());
    ASSERT_TRUE(menu.ModifyMenuEx(12, MF_BYCOMMAND, 0, L"Still twelve"));  // newID 0 keeps the id
    ASSERT_EQ(1, menu.m_arrItems.GetSize());
    EXPECT_EQ(12u, rec->nID);
    EXPECT_STREQ(L"Still twelve", rec->strText.GetString());

    tagMENUITEM copy;
    EXPECT_EQ(1, menu.GetMenuItem(12, &copy));
    EXPECT_STREQ(L"Still twelve", copy.strText.GetString());
    EXPECT_EQ(0, menu.GetMenuItem(99, &copy));
    EXPECT_EQ(0, menu.GetMenuItem(12, nullptr));
}

TEST(RemoveMenuEx, DropsTheRecordThenTheItem) {
    struct Row {
        const char* name;
        UINT position;
        UINT flags;
        int records_left;
        int items_left;
    };
    const Row rows[] = {
        {"by command", 21, MF_BYCOMMAND, 1, 1},
        {"by position", 0, MF_BYPOSITION, 1, 1},
        {"unknown command", 99, MF_BYCOMMAND, 2, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenuEx(MF_STRING, 21, L"A");
        menu.AppendMenuEx(MF_STRING, 22, L"B");
        menu.ModifyMenuEx(0, MF_BYPOSITION, 21, L"A");
        menu.ModifyMenuEx(1, MF_BYPOSITION, 22, L"B");
        menu.RemoveMenuEx(r.position, r.flags);
        EXPECT_EQ(r.records_left, menu.m_arrItems.GetSize());
        EXPECT_EQ(r.items_left, ::GetMenuItemCount(menu));
        if (r.records_left == 1) {
            EXPECT_EQ(22u, menu.m_arrItems[0]->nID);
        }
    }
}

// ---- resources: menus, tool bars, the left strip --------------------------------------------------------
// tools.bmp: three 4 x 3 images, red, green and blue; left.bmp: a 5 x 30 strip.
class MenuResources : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string tools = kt::OutputPath("menu/tools.bmp");
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
        kt::Surface strip(12, 3), left(5, 30, colours[0]);
        for (int x = 0; x < 12; ++x)
            for (int y = 0; y < 3; ++y) strip.set(x, y, colours[x / 4]);
        ASSERT_TRUE(rt::SaveBmpFile(strip.bitmap(), tools));
        ASSERT_TRUE(rt::SaveBmpFile(left.bitmap(), kt::OutputPath("menu/left.bmp")));
        std::string error;
        ASSERT_TRUE(rt::RegisterResourceText(
            AfxGetResourceHandle(),
            "700 MENU\nBEGIN\n POPUP \"x\"\n BEGIN\n  MENUITEM \"Cut\", 601\n  MENUITEM SEPARATOR\n"
            "  MENUITEM \"Copy\", 602\n END\nEND\n"
            "800 BITMAP \"tools.bmp\"\n"
            "800 TOOLBAR 4, 3\nBEGIN\n BUTTON 601\n SEPARATOR\n BUTTON 602\n BUTTON 603\nEND\n"
            "801 BITMAP \"tools.bmp\"\n"
            "801 TOOLBAR 4, 3\nBEGIN\n SEPARATOR\n SEPARATOR\nEND\n"
            "900 BITMAP \"left.bmp\"\n",
            "menu_test.rc", tools.substr(0, tools.rfind('/')), &error))
            << error;
    }
    void TearDown() override { rt::UnregisterResources(AfxGetResourceHandle()); }
};

TEST_F(MenuResources, LoadMenuAttachesOnce) {
    TestMenu menu;
    ASSERT_TRUE(menu.LoadMenuW(700u));
    EXPECT_EQ(1, ::GetMenuItemCount(menu));
    const HMENU first = menu.GetSafeHmenu();
    EXPECT_FALSE(menu.LoadMenuW(700u));  // one menu at a time: the first stays
    EXPECT_EQ(first, menu.GetSafeHmenu());
    TestMenu missing;
    EXPECT_FALSE(missing.LoadMenuW(L"NoSuchMenu"));
}

TEST_F(MenuResources, LoadToolBarGivesImagesAndIndexes) {
    CHeadlessHost host(SIZE{100, 100});
    theApp.m_pMainWnd = &host.Window();
    const ObjectCounts before;
    {
        TestMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenuEx(MF_STRING, 601, L"Cut");
        menu.AppendMenuEx(MF_SEPARATOR, 0, nullptr);
        menu.AppendMenuEx(MF_STRING, 602, L"Copy");
        menu.ModifyMenuEx(0, MF_BYPOSITION, 601, L"Cut");
        menu.ModifyMenuEx(1, MF_BYPOSITION, 0, L"");  // the separator's record, id 0
        menu.ModifyMenuEx(2, MF_BYPOSITION, 602, L"Copy");
        // Only separators: no image to cut, no division by zero, nothing changed.
        EXPECT_EQ(0, menu.LoadToolBar(801, 0));
        EXPECT_EQ(nullptr, menu.m_ImageList.GetSafeHandle());
        EXPECT_EQ(16, menu.m_nImageWidth);
        EXPECT_EQ(15, menu.m_nImageHeight);
        EXPECT_EQ(-1, menu.m_arrItems[0]->nImageIndex);
        EXPECT_EQ(0, menu.GetImageFromToolBar(800, nullptr, RGB(192, 192, 192), 0));

        EXPECT_EQ(3, menu.LoadToolBar(800, 0));  // three buttons that are not separators
        EXPECT_EQ(4, menu.m_nImageWidth);        // 12 pixels / 3 images
        EXPECT_EQ(3, menu.m_nImageHeight);
        EXPECT_EQ(3, menu.m_ImageList.GetImageCount());
        // The index is the button's position, the separator counted; the separator's record
        // takes the separator's position.
        EXPECT_EQ((std::vector<int>{0, 1, 2}), (std::vector<int>{menu.m_arrItems[0]->nImageIndex,
                                                                 menu.m_arrItems[1]->nImageIndex,
                                                                 menu.m_arrItems[2]->nImageIndex}));
        EXPECT_EQ(before.imageLists + 1, rt::ImageListObjectCount());
        EXPECT_EQ(3, menu.LoadToolBar(800, 0));  // a second load replaces the list instead of leaking it
        EXPECT_EQ(before.imageLists + 1, rt::ImageListObjectCount());
    }
    EXPECT_EQ(before, ObjectCounts());
    theApp.m_pMainWnd = nullptr;
    TestMenu orphan;  // without a main window there is no tool bar to load into
    EXPECT_EQ(0, orphan.LoadToolBar(800, 0));
}

TEST_F(MenuResources, LeftStripAndSlots) {
    TestMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (UINT id : {31u, 32u, 33u}) menu.AppendMenuEx(MF_STRING, id, L"x");
    for (UINT pos = 0; pos < 3; ++pos) menu.ModifyMenuEx(pos, MF_BYPOSITION, 31 + pos, L"x");

    EXPECT_FALSE(menu.SetImageLeft(999, 0));  // no such bitmap: no strip
    EXPECT_FALSE(menu.m_bHasLeftImage);
    const int gdi_before = rt::GdiObjectTotal();
    ASSERT_TRUE(menu.SetImageLeft(900, 0));
    ASSERT_TRUE(menu.SetImageLeft(900, 0));  // the first bitmap is freed
    EXPECT_EQ(gdi_before + 1, rt::GdiObjectTotal());
    EXPECT_TRUE(menu.m_bHasLeftImage);
    EXPECT_EQ(5, menu.m_nLeftImageWidth);
    EXPECT_EQ(30, menu.m_nLeftImageHeight);
    for (INT_PTR i = 0; i < 3; ++i) EXPECT_EQ(1, menu.m_arrItems[i]->nLeftImagePos);

    menu.CalculateLeftImagePos(&menu);  // counted from the last item
    EXPECT_EQ(2, menu.m_arrItems[0]->nLeftImagePos);
    EXPECT_EQ(1, menu.m_arrItems[1]->nLeftImagePos);
    EXPECT_EQ(0, menu.m_arrItems[2]->nLeftImagePos);
}

}  // namespace
