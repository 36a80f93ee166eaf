// Resource scripts: what a good script gives (menus, bitmaps, tool bars) and the errors of
// broken ones; AfxFindResourceHandle, CToolBar::LoadToolBar and CImageList over them.
#include "menu_test_util.h"
#include "pixels.h"

namespace {

using mt::MenuTest;

const std::string kDataDir = std::string(KELEM_SOURCE_DIR) + "/tests/unit/menu_runtime/data";

// Fake module handles: distinct addresses, as the loader would give.
HINSTANCE__ g_moduleA{};
HINSTANCE__ g_moduleB{};

class ResourceTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        std::string error;
        ASSERT_TRUE(rt::RegisterResourceScript(&g_moduleA, kDataDir + "/sample.rc", &error)) << error;
    }
    void TearDown() override {
        rt::UnregisterResources(&g_moduleA);
        rt::UnregisterResources(&g_moduleB);
        MenuTest::TearDown();
    }
};

std::wstring Text(HMENU menu, int pos) {
    wchar_t buffer[64] = {};
    GetMenuStringW(menu, UINT(pos), buffer, 64, MF_BYPOSITION);
    return buffer;
}

TEST_F(ResourceTest, MenuResourceBuildsTheMenuTree) {
    HMENU bar = LoadMenuW(&g_moduleA, MAKEINTRESOURCEW(100));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Text(bar, 0), L"&File");
    EXPECT_EQ(Text(bar, 1), L"&Edit");
    HMENU file = GetSubMenu(bar, 0);
    HMENU recent = GetSubMenu(file, 4);
    struct Row {
        const char* name;
        HMENU menu;
        int pos;
        std::wstring text;
        UINT id;
        UINT state;
    };
    const Row rows[] = {
        {"escape and symbol", file, 0, L"&New\tCtrl+N", 0x101, MF_STRING},
        {"expression id, CHECKED", file, 1, L"&Open...", 0x102, MF_CHECKED},
        {"separator", file, 2, L"", 0, MF_SEPARATOR},
        {"doubled quotes, GRAYED", file, 3, L"Say \"hi\"", 300, MF_GRAYED},
        {"MENUBREAK", recent, 1, L"Two", 302, MF_MENUBREAK},
        {"MENUBARBREAK, INACTIVE", recent, 2, L"Three", 303, MF_MENUBARBREAK | MF_DISABLED},
        {"braces for BEGIN/END", GetSubMenu(bar, 1), 0, L"Cu&t", 0x201, MF_STRING},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Text(r.menu, r.pos), r.text);
        EXPECT_EQ(GetMenuItemID(r.menu, r.pos), r.id);
        EXPECT_EQ(GetMenuState(r.menu, UINT(r.pos), MF_BYPOSITION), r.state);
    }
    EXPECT_EQ(GetMenuItemID(file, 4), UINT(-1));
    DestroyMenu(bar);
}

TEST_F(ResourceTest, NamesAndModules) {
    struct Row {
        const char* name;
        HINSTANCE module;
        LPCWSTR resource;
        bool found;
    };
    const Row rows[] = {
        {"by id", &g_moduleA, MAKEINTRESOURCEW(100), true},
        {"\"#100\"", &g_moduleA, L"#100", true},
        {"by name, any case", &g_moduleA, L"contextmenu", true},
        {"any module (null)", nullptr, L"CONTEXTMENU", true},
        {"another module", &g_moduleB, MAKEINTRESOURCEW(100), false},
        {"a bitmap is not a menu", &g_moduleA, MAKEINTRESOURCEW(200), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HMENU m = LoadMenuW(r.module, r.resource);
        EXPECT_EQ(m != nullptr, r.found);
        if (m) DestroyMenu(m);
    }
    HMENU ctx = LoadMenuW(&g_moduleA, L"ContextMenu");
    EXPECT_EQ(Text(GetSubMenu(ctx, 0), 0), L"Copy!");  // \x21
    DestroyMenu(ctx);
    EXPECT_NE(FindResourceW(&g_moduleA, MAKEINTRESOURCEW(200), RT_TOOLBAR), nullptr);
    EXPECT_EQ(FindResourceW(&g_moduleA, MAKEINTRESOURCEW(201), RT_TOOLBAR), nullptr);
}

TEST_F(ResourceTest, BitmapResourceLoadsTheFileBesideTheScript) {
    HBITMAP bmp = LoadBitmapW(&g_moduleA, MAKEINTRESOURCEW(200));
    ASSERT_NE(bmp, nullptr);
    kt::Image img;
    ASSERT_TRUE(kt::ReadBitmap(bmp, &img));
    EXPECT_EQ(img.width, 12);
    EXPECT_EQ(img.height, 3);
    EXPECT_EQ(img.at(0, 0), RGB(192, 192, 192));
    EXPECT_EQ(img.at(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(img.at(5, 2), RGB(0, 255, 0));
    DeleteObject(bmp);
    CBitmap wrapped;  // CBitmap::LoadBitmap asks every module
    EXPECT_TRUE(wrapped.LoadBitmap(200));
    EXPECT_EQ(LoadBitmapW(&g_moduleA, MAKEINTRESOURCEW(999)), nullptr);
}

TEST_F(ResourceTest, BrokenScriptsSayFileAndLine) {
    struct Row {
        const char* name;
        const char* text;
        std::string error;
    };
    const Row rows[] = {
        {"unknown type", "1 DIALOG\n", "bad.rc:1: unsupported resource type 'DIALOG'"},
        {"unterminated string", "1 MENU\nBEGIN\n MENUITEM \"Open, 1\nEND\n", "bad.rc:3: unterminated string"},
        {"missing END", "1 MENU\nBEGIN\n MENUITEM \"A\", 1\n", "bad.rc:2: BEGIN without END"},
        {"undefined symbol", "1 MENU\nBEGIN\n\n MENUITEM \"A\", ID_NOPE\nEND\n",
         "bad.rc:4: undefined symbol 'ID_NOPE'"},
        {"missing comma", "1 MENU\nBEGIN\n MENUITEM \"A\" 1\nEND\n", "bad.rc:3: expected ',', found '1'"},
        {"bad item", "1 MENU\nBEGIN\n ITEM \"A\", 1\nEND\n", "bad.rc:3: expected MENUITEM, POPUP or END, found 'ITEM'"},
        {"missing bitmap", "\n2 BITMAP \"nope.bmp\"\n", "bad.rc:2: cannot load bitmap 'nope.bmp': "},
        {"duplicate", "1 MENU { }\n// again\n1 MENU { }\n", "bad.rc:3: duplicate MENU resource 1 (first at line 1)"},
        {"unterminated comment", "/* no end\n\n", "bad.rc:1: unterminated comment"},
        {"#if without #endif", "#ifdef X\n", "bad.rc:2: #if without #endif"},
        {"bad escape", "1 MENU { MENUITEM \"a\\q\", 1 }", "bad.rc:1: unknown escape \\q"},
        {"tool bar item", "1 TOOLBAR 16, 15\nBEGIN\n KNOB 3\nEND\n",
         "bad.rc:3: expected BUTTON, SEPARATOR or END, found 'KNOB'"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string error;
        EXPECT_FALSE(rt::RegisterResourceText(&g_moduleB, r.text, "bad.rc", kDataDir, &error));
        EXPECT_EQ(error.substr(0, r.error.size()), r.error);
    }
    // Nothing of a broken script is registered.
    EXPECT_EQ(LoadMenuW(&g_moduleB, MAKEINTRESOURCEW(1)), nullptr);
    std::string error;
    EXPECT_FALSE(rt::RegisterResourceScript(&g_moduleB, kDataDir + "/missing.rc", &error));
    EXPECT_EQ(error, kDataDir + "/missing.rc: cannot open");
    // A second script may not reuse a name of the module.
    EXPECT_FALSE(rt::RegisterResourceText(&g_moduleA, "IDR 100 MENU { }", "again.rc", kDataDir, &error));
    EXPECT_FALSE(rt::RegisterResourceText(&g_moduleA, "100 MENU { }", "again.rc", kDataDir, &error));
    EXPECT_EQ(error.substr(0, 48), "again.rc:1: resource 100 is already registered b");
}

TEST_F(ResourceTest, AfxFindResourceHandlePrefersTheResourceModule) {
    // The library's own resource handle has nothing registered: the module that has it wins.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(100), RT_MENU), &g_moduleA);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(555), RT_MENU), AfxGetResourceHandle());
    std::string error;
    ASSERT_TRUE(rt::RegisterResourceText(AfxGetResourceHandle(), "100 MENU { POPUP \"x\" { MENUITEM \"y\", 1 } }",
                                         "own.rc", kDataDir, &error))
        << error;
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(100), RT_MENU), AfxGetResourceHandle());
    CMenu menu;
    EXPECT_TRUE(menu.LoadMenu(100));
    EXPECT_EQ(menu.GetMenuItemCount(), 1u);
    rt::UnregisterResources(AfxGetResourceHandle());
}

TEST_F(ResourceTest, ToolBarLoadsButtonsAndItsBitmap) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    {
        CToolBar bar;
        ASSERT_TRUE(bar.CreateEx(&parent, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR));
        EXPECT_EQ(bar.GetDlgCtrlID(), AFX_IDW_TOOLBAR);
        EXPECT_FALSE(bar.LoadToolBar(201));
        ASSERT_TRUE(bar.LoadToolBar(200));
        ASSERT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 4);
        struct Row {
            int index;
            int id;
            BYTE style;
            int image;
        };
        const Row rows[] = {{0, 0x201, TBSTYLE_BUTTON, 0},
                            {1, 0, TBSTYLE_SEP, 6},
                            {2, 0x202, TBSTYLE_BUTTON, 1},
                            {3, 0x101, TBSTYLE_BUTTON, 2}};
        for (const Row& r : rows) {
            SCOPED_TRACE(r.index);
            TBBUTTON b{};
            EXPECT_TRUE(bar.SendMessage(TB_GETBUTTON, WPARAM(r.index), reinterpret_cast<LPARAM>(&b)));
            EXPECT_EQ(b.idCommand, r.id);
            EXPECT_EQ(b.fsStyle, r.style);
            EXPECT_EQ(b.iBitmap, r.image);
        }
        TBBUTTON none{};
        EXPECT_FALSE(bar.SendMessage(TB_GETBUTTON, 4, reinterpret_cast<LPARAM>(&none)));
        BITMAP bm{};
        ASSERT_TRUE(GetObjectW(bar.GetBitmapHandle(), sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, 12);
        bar.DestroyWindow();
    }
    parent.DestroyWindow();
    CToolBar orphan;
    EXPECT_FALSE(orphan.CreateEx(nullptr));
}

TEST_F(ResourceTest, ImageListFromABitmapResourceDraws) {
    CImageList images;
    ASSERT_TRUE(images.Create(200, 4, 5, RGB(192, 192, 192)));
    EXPECT_EQ(images.GetImageCount(), 3);
    const COLORREF bg = RGB(1, 2, 3);
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);  // 10, 36, 106
    struct Row {
        const char* name;
        int image;
        UINT style;
        COLORREF bk;
        COLORREF corner;  // the masked pixel (0, 0)
        COLORREF body;    // pixel (1, 1)
    };
    const Row rows[] = {
        {"transparent", 0, ILD_TRANSPARENT, CLR_NONE, bg, RGB(255, 0, 0)},
        {"normal without a background colour", 1, ILD_NORMAL, CLR_NONE, bg, RGB(0, 255, 0)},
        {"normal with a background colour", 1, ILD_NORMAL, RGB(9, 9, 9), RGB(9, 9, 9), RGB(0, 255, 0)},
        {"transparent ignores the background colour", 1, ILD_TRANSPARENT, RGB(9, 9, 9), bg, RGB(0, 255, 0)},
        {"blend 50% with the highlight", 2, ILD_TRANSPARENT | ILD_BLEND50, CLR_NONE, bg,
         RGB((0 + GetRValue(hl)) / 2, (0 + GetGValue(hl)) / 2, (255 + GetBValue(hl)) / 2)},
        {"mask", 0, ILD_MASK, CLR_NONE, RGB(255, 255, 255), RGB(0, 0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(8, 8, bg);
        images.SetBkColor(r.bk);
        CDC* dc = CDC::FromHandle(s.dc());
        EXPECT_TRUE(images.Draw(dc, r.image, POINT{2, 3}, r.style));
        EXPECT_EQ(s.at(2, 3), r.corner);
        EXPECT_EQ(s.at(3, 4), r.body);
        EXPECT_EQ(s.at(6, 3), bg);  // right of the 4-pixel image
    }
    EXPECT_FALSE(images.Draw(CDC::FromHandle(nullptr), 0, POINT{0, 0}, 0));
    HIMAGELIST gone = images.Detach();
    ImageList_Destroy(gone);
    EXPECT_FALSE(ImageList_Draw(gone, 0, nullptr, 0, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(gone), 0);
}

}  // namespace
