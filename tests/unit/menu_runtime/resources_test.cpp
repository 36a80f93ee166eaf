// Resource scripts: what a good script gives (menus, bitmaps, tool bars) and the errors of
// broken ones; AfxFindResourceHandle, CToolBar::LoadToolBar and CImageList over them.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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
        {"separator", file, 2, L"", 0, MF_SEPARATOR | MF_GRAYED | MF_DISABLED},
        {"doubled quotes, GRAYED", file, 3, L"Say \"hi\"", 300, MF_GRAYED},
        {"sub-menu: id -1, item count in the high byte", file, 4, L"Recent", UINT(-1), (3u << 8) | MF_POPUP},
        {"past the end", file, 5, L"", UINT(-1), UINT(-1)},
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
    EXPECT_EQ(GetSubMenu(file, 0), nullptr);
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

// A script of `depth` POPUPs, one per line, each holding the next; the innermost holds an item.
std::string NestedPopups(int depth) {
    std::string text = "1 MENU\nBEGIN\n";
    for (int i = 0; i < depth; ++i) text += "POPUP \"p\" BEGIN\n";
    text += "MENUITEM \"x\", 7\n";
    for (int i = 0; i < depth; ++i) text += "END\n";
    return text + "END\n";
}

using kt::Repeat;

// Broken scripts name file and line; nesting and numbers are bounded. Nothing of a broken
// script is registered.
TEST_F(ResourceTest, ScriptsAreCheckedWithTheirPlace) {
    struct Row {
        const char* name;
        std::string text;
        std::string error;  // empty: good; ending in ": " only the start of the message
        UINT id = 0;        // when good and not 0: item 0 of menu 1 has this id
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
        {"256 POPUPs", NestedPopups(256), ""},
        {"257 POPUPs", NestedPopups(257), "bad.rc:259: POPUP nested more than 256 deep"},
        {"200,000 parentheses", "1 MENU { MENUITEM \"a\", " + Repeat("(", 200000) + "1" + Repeat(")", 200000) + " }",
         "bad.rc:1: expression nested more than 256 deep"},
        {"256 parentheses", "1 MENU { MENUITEM \"a\", " + Repeat("(", 255) + "1" + Repeat(")", 255) + " }", ""},
        {"100,000 nested #if", Repeat("#if 1\n", 100000) + "1 MENU { }\n" + Repeat("#endif\n", 100000), ""},
        {"largest decimal", "1 MENU { MENUITEM \"a\", 4294967295 }", "", 0xFFFFFFFFu},
        {"largest hex, L suffix", "1 MENU { MENUITEM \"a\", 0xFFFFFFFFL }", "", 0xFFFFFFFFu},
        {"one past in decimal", "1 MENU { MENUITEM \"a\", 4294967296 }",
         "bad.rc:1: number '4294967296' does not fit 32 bits"},
        {"long octal in #define", "#define X 0777777777777\n", "bad.rc:1: number '0777777777777' does not fit 32 bits"},
        {"forty digits", "1 MENU { MENUITEM \"a\", 1234567890123456789012345678901234567890 }",
         "bad.rc:1: number '1234567890123456789012345678901234567890' does not fit 32 bits"},
        {"sums still wrap as 32-bit values", "1 MENU { MENUITEM \"a\", 0xFFFFFFFF + 2 }", "", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string error;
        const bool ok = rt::RegisterResourceText(&g_moduleB, r.text, "bad.rc", kDataDir, &error);
        EXPECT_EQ(ok, r.error.empty());
        const bool prefix = r.error.size() > 1 && r.error.substr(r.error.size() - 2) == ": ";
        EXPECT_EQ(prefix ? error.substr(0, r.error.size()) : error, r.error);
        HMENU m = LoadMenuW(&g_moduleB, MAKEINTRESOURCEW(1));
        EXPECT_EQ(m != nullptr, ok && r.text.find("MENU") != std::string::npos);
        if (r.id) {
            EXPECT_EQ(GetMenuItemID(m, 0), r.id);
        }
        if (m) DestroyMenu(m);
        rt::UnregisterResources(&g_moduleB);
    }
    std::string error;
    EXPECT_FALSE(rt::RegisterResourceScript(&g_moduleB, kDataDir + "/missing.rc", &error));
    EXPECT_EQ(error, kDataDir + "/missing.rc: cannot open");
    // A second script may not reuse a name of the module.
    EXPECT_FALSE(rt::RegisterResourceText(&g_moduleA, "IDR 100 MENU { }", "again.rc", kDataDir, &error));
    EXPECT_FALSE(rt::RegisterResourceText(&g_moduleA, "100 MENU { }", "again.rc", kDataDir, &error));
    EXPECT_EQ(error.substr(0, 48), "again.rc:1: resource 100 is already registered b");
}

// A scratch folder: the script's folder `dir`/script with `dir`/inc as an include folder,
// and files outside them.
class IncludeTest : public ResourceTest {
protected:
    void SetUp() override {
        ResourceTest::SetUp();
        char tmpl[] = "/tmp/kelem-rc-test-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_EQ(::mkdir((dir_ + "/script").c_str(), 0700), 0);
        ASSERT_EQ(::mkdir((dir_ + "/inc").c_str(), 0700), 0);
        Write("/script/ids.h", "#define ID_HERE 5\n");
        Write("/inc/shared.h", "#define ID_SHARED 6\n");
        Write("/secret.h", "#define ID_SECRET 7\n");
        Write("/script/big.h", "// " + std::string(size_t(1) << 20, 'x') + "\n");
        Write("/script/mb.h", "// " + std::string(999996, 'x') + "\n");
        ASSERT_EQ(::mkfifo((dir_ + "/script/pipe.h").c_str(), 0600), 0);
        ASSERT_EQ(::symlink((dir_ + "/secret.h").c_str(), (dir_ + "/script/link.h").c_str()), 0);
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        ResourceTest::TearDown();
    }
    void Write(const std::string& name, const std::string& text) {
        std::FILE* f = std::fopen((dir_ + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    std::string dir_;
};

TEST_F(IncludeTest, IncludesStayInTheScriptsFoldersAndAreBounded) {
    struct Row {
        const char* name;
        std::string line;   // the #include lines, from line 2 of the script
        std::string error;  // empty: the script is good and defines ID_...
    };
    const Row rows[] = {
        {"beside the script", "#include \"ids.h\"", ""},
        {"backslash", "#include \".\\ids.h\"", ""},
        {"from an include folder", "#include \"shared.h\"", ""},
        {"absolute path", "#include \"" + dir_ + "/secret.h\"",
         "rc:2: cannot include '" + dir_ +
             "/secret.h': an absolute path is not allowed; "
             "name a file in the script's folder"},
        {"up and out", "#include \"../secret.h\"",
         "rc:2: cannot include '../secret.h': it lies outside the script's folders"},
        {"a link out", "#include \"link.h\"", "rc:2: cannot include 'link.h': it lies outside the script's folders"},
        {"a FIFO", "#include \"pipe.h\"", "rc:2: cannot include 'pipe.h': it is not a regular file"},
        {"missing", "#include \"none.h\"",
         "rc:2: cannot include 'none.h': not found in the script's folder or the include folders"},
        {"past 1 MiB", "#include \"big.h\"",
         "rc:2: cannot include 'big.h': the file is 1048580 bytes; the limit is 1048576"},
        {"past 16 MiB in all", Repeat("#include \"mb.h\"\n", 17),
         "rc:18: cannot include 'mb.h': the included files of one script may hold at most 16777216 bytes together"},
    };
    const rt::ResourceScriptFolders folders{dir_ + "/script", {dir_ + "/inc"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string error;
        const bool ok =
            rt::RegisterResourceText(&g_moduleB, "// hostile\n" + r.line + "\n1 MENU { }\n", "rc", folders, &error);
        EXPECT_EQ(ok, r.error.empty());
        EXPECT_EQ(error, r.error);
        rt::UnregisterResources(&g_moduleB);
    }
}

TEST_F(IncludeTest, BitmapsAndScriptsFollowTheSameRules) {
    std::string error;
    // A BITMAP is checked like an #include.
    EXPECT_FALSE(rt::RegisterResourceText(&g_moduleB, "2 BITMAP \"pipe.h\"\n", "rc",
                                          rt::ResourceScriptFolders{dir_ + "/script", {}}, &error));
    EXPECT_EQ(error, "rc:1: cannot load bitmap 'pipe.h': it is not a regular file");
    // A script that is not a regular file is refused without reading it.
    EXPECT_FALSE(rt::RegisterResourceScript(&g_moduleB, dir_ + "/script/pipe.h", &error));
    EXPECT_EQ(error, dir_ + "/script/pipe.h: not a regular file");
    // The include folders a caller names are searched after the script's own.
    Write("/script/main.rc", "#include \"shared.h\"\nID_SHARED MENU { MENUITEM \"a\", ID_SHARED }\n");
    EXPECT_FALSE(rt::RegisterResourceScript(&g_moduleB, dir_ + "/script/main.rc", &error));
    EXPECT_EQ(error, dir_ + "/script/main.rc:1: cannot include 'shared.h': not found in the script's folder");
    ASSERT_TRUE(rt::RegisterResourceScript(&g_moduleB, dir_ + "/script/main.rc", {dir_ + "/inc"}, &error)) << error;
    HMENU m = LoadMenuW(&g_moduleB, MAKEINTRESOURCEW(6));
    EXPECT_EQ(GetMenuItemID(m, 0), 6u);
    DestroyMenu(m);
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

// The images of a tool bar as the menus draw them: the transparent and the disabled look
// (the tool bar itself: tests/unit/menu/menu_model_test.cpp).
TEST_F(ResourceTest, ImageListFromResources) {
    CImageList images;
    ASSERT_TRUE(images.Create(200, 4, 5, RGB(192, 192, 192)));
    EXPECT_EQ(images.GetImageCount(), 3);
    const COLORREF bg = RGB(1, 2, 3);
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);  // 10, 36, 106
    struct Row {
        const char* name;
        int image;
        UINT style;
        COLORREF body;  // pixel (1, 1); the masked corner (0, 0) shows the background
    };
    const Row rows[] = {
        {"transparent", 0, ILD_TRANSPARENT, RGB(255, 0, 0)},
        {"blend 50% with the highlight", 2, ILD_TRANSPARENT | ILD_BLEND50,
         RGB((0 + GetRValue(hl)) / 2, (0 + GetGValue(hl)) / 2, (255 + GetBValue(hl)) / 2)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface s(8, 8, bg);
        EXPECT_TRUE(images.Draw(CDC::FromHandle(s.dc()), r.image, POINT{2, 3}, r.style));
        EXPECT_EQ(s.at(2, 3), bg);
        EXPECT_EQ(s.at(3, 4), r.body);
        EXPECT_EQ(s.at(6, 3), bg);  // right of the 4-pixel image
    }
    EXPECT_FALSE(images.Draw(CDC::FromHandle(nullptr), 0, POINT{0, 0}, 0));
    kt::Surface s(8, 8, bg);
    EXPECT_FALSE(images.Draw(CDC::FromHandle(s.dc()), 3, POINT{0, 0}, ILD_NORMAL)) << "one past the last image";
    EXPECT_FALSE(images.Draw(CDC::FromHandle(s.dc()), -1, POINT{0, 0}, ILD_NORMAL));
    HIMAGELIST gone = images.Detach();
    ImageList_Destroy(gone);
    EXPECT_FALSE(ImageList_Draw(gone, 0, nullptr, 0, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(gone), 0);
}

}  // namespace
