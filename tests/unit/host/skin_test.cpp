// Skins on disk: good and broken palette files, missing bitmaps, reloading.
#include "host/Skin.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "pixels.h"
#include "win32/runtime_ext.h"

namespace {

class SkinTest : public ::testing::Test {
public:
    void SetUp() override {
        dir = std::string(KELEM_TEST_OUTPUT_DIR) + "/skin_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/folder'").c_str());
    }
    void Write(const std::string& file, const std::string& text) {
        std::ofstream(dir + "/" + file, std::ios::binary) << text;
    }
    void WriteBmp(const std::string& file, COLORREF c) {
        kt::Surface s(3, 2, c);
        ASSERT_TRUE(rt::SaveBmpFile(s.bitmap(), dir + "/" + file));
    }
    std::string dir;
};

bool Mentions(const std::vector<std::string>& problems, const std::string& what) {
    for (const std::string& p : problems)
        if (p.find(what) != std::string::npos) return true;
    return false;
}

std::string Joined(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& p : problems) all += p + "\n";
    return all;
}

COLORREF PixelOf(CBitmap* bitmap, int x, int y) {
    kt::Image img;
    return bitmap && kt::ReadBitmap(HBITMAP(bitmap->GetSafeHandle()), &img) ? img.at(x, y) : CLR_INVALID;
}

// An 8-bit RLE picture of width x height whose stream paints one pixel per two bytes on
// the first row and leaves the rest black: a small file that decodes to a large image.
std::string RleBitmap(int width, int height, int streamBytes) {
    std::string rle;
    for (int i = 0; i + 2 < streamBytes && i / 2 < width; i += 2) rle += std::string("\x01\x00", 2);
    rle += std::string("\x00\x01", 2);  // end of bitmap
    auto u16 = [](uint32_t v) { return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)}; };
    auto u32 = [&](uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    const uint32_t offset = 14 + 40 + 4;
    std::string file = "BM" + u32(offset + uint32_t(rle.size())) + u32(0) + u32(offset);
    file += u32(40) + u32(uint32_t(width)) + u32(uint32_t(height)) + u16(1) + u16(8) + u32(BI_RLE8) +
            u32(uint32_t(rle.size())) + u32(0) + u32(0) + u32(1) + u32(0);
    file += std::string("\xFF\xFF\xFF\x00", 4);  // one palette entry: white
    return file + rle;
}

TEST_F(SkinTest, PaletteGivesEveryKindAndCitesBrokenLines) {
    WriteBmp("folder/pic.bmp", RGB(10, 20, 30));
    Write("palette.ini",
          "[colors]\nA.Red = #FF0000\nA.Green = 0, 255, 0\nBad.Hex = #12345G\nBad.Range = 256, 0, 0\n"
          "[fonts]\nA.Font = DejaVu Sans, -12, 700, 1\nBad.Font = NoHeight\n"
          "[bitmaps]\nA.Pic = folder/pic.bmp\nMissing.Pic = folder/missing.bmp\n"
          "[strange]\nx = 1\nthis line has no equals sign\n"
          "[colors]\nA.Blue = 4,5,6\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    const std::vector<std::string>& problems = skin.Problems();
    const std::vector<std::string> expected = {"palette.ini:4: bad colour '#12345G'",
                                               "palette.ini:5: bad colour",
                                               "palette.ini:8: bad font",
                                               "palette.ini:11: " + dir + "/folder/missing.bmp: no such file",
                                               "palette.ini:13: unknown section [strange]",
                                               "palette.ini:14: not a key = value line"};
    for (const std::string& problem : expected) EXPECT_TRUE(Mentions(problems, problem)) << problem;
    EXPECT_EQ(6u, problems.size()) << Joined(problems);
    CSkinPalette* p = skin.Palette();
    EXPECT_EQ(RGB(255, 0, 0), p->GetColor(L"A.Red"));
    EXPECT_EQ(RGB(0, 255, 0), p->GetColor(L"A.Green"));
    EXPECT_EQ(RGB(4, 5, 6), p->GetColor(L"A.Blue"));
    EXPECT_EQ(0u, p->GetColor(L"Bad.Hex"));
    EXPECT_EQ(nullptr, p->GetFont(L"Bad.Font"));
    LOGFONT lf{};
    ASSERT_NE(nullptr, p->GetFont(L"A.Font"));
    p->GetFont(L"A.Font")->GetLogFont(&lf);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_STREQ(L"DejaVu Sans", lf.lfFaceName);
    EXPECT_EQ(RGB(10, 20, 30), PixelOf(p->GetBitmap(L"A.Pic"), 2, 1));
    ASSERT_NE(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"none.bmp"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"..", L"palette.ini")) << "no climbing out of the skin";
    EXPECT_EQ(1u, skin.Factory()->MissingFiles().size());
}

// The palette reader reads every line whole, however long, and counts lines exactly.
TEST_F(SkinTest, PaletteLinesAreReadWholeAndCitedExactly) {
    const std::string longTail(250, 'x');
    struct Row {
        const char* name;
        std::string text;
        const wchar_t* key;   // a colour to check, or null
        COLORREF color;       // what it must read (0: missing)
        std::string problem;  // a problem that must be there ("" for none at all)
    } rows[] = {
        {"a long comment's tail is no line", "[colors]\n; " + longTail + " Button.Text = #FF0000\n", L"Button.Text", 0,
         ""},
        {"a long value with a trailing comment", "[colors]\nA = #010203 ;" + longTail + "\n", L"A", RGB(1, 2, 3), ""},
        {"a long bad line is one problem on its line", "[colors]\n" + longTail + longTail + "\nA = 1,2,3\n", L"A",
         RGB(1, 2, 3), "palette.ini:2: not a key = value line"},
        {"a NUL byte", "[colors]\nA = #01" + std::string(1, '\0') + "0203\n", L"A", 0, "palette.ini:2: NUL byte"},
        {"a key before any section", "A = #010203\n[colors]\n", L"A", 0, "palette.ini:1: key 'A' before the first"},
        {"a byte order mark, CRLF lines, lower-case digits", "\xEF\xBB\xBF[colors]\r\nA = #0a0b0f\r\n", L"A",
         RGB(10, 11, 15), ""},
        {"a line without a key", "[colors]\n= #010203\n", nullptr, 0, "palette.ini:2: no key before '='"},
        {"an unclosed section", "[colors\nA = #010203\n", L"A", 0, "palette.ini:1: no ']'"},
        {"a section with text after it", "[colors] x\n", nullptr, 0, "palette.ini:1: text after the section name"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Write("palette.ini", row.text);
        CSkin skin;
        ASSERT_TRUE(skin.Load(dir));
        const std::vector<std::string> problems = skin.Problems();
        if (row.problem.empty()) {
            EXPECT_TRUE(problems.empty()) << Joined(problems);
        } else {
            EXPECT_TRUE(Mentions(problems, row.problem)) << Joined(problems);
        }
        const int lines = int(std::count(row.text.begin(), row.text.end(), '\n'));
        for (int past = lines + 1; past < lines + 4; ++past)
            EXPECT_FALSE(Mentions(problems, "palette.ini:" + std::to_string(past) + ":")) << "no line past the end";
        if (row.key) {
            EXPECT_EQ(row.color, skin.Palette()->GetColor(row.key));
        }
    }
}

TEST_F(SkinTest, APaletteFileTooLargeIsRefusedWithItsSize) {
    Write("palette.ini", "[colors]\n" + std::string(SkinLimits::kMaxPaletteBytes, ';'));
    CSkin skin;
    EXPECT_FALSE(skin.Load(dir));
    EXPECT_TRUE(Mentions(skin.Problems(), "bytes; the limit is")) << Joined(skin.Problems());
}

// Whatever the palette names must be a regular file inside the skin folder; nothing may
// hang the loader or read beside the skin.
TEST_F(SkinTest, SkinFilesStayInsideTheSkinFolderAndAreRegularFiles) {
    namespace fs = std::filesystem;
    WriteBmp("folder/pic.bmp", RGB(1, 2, 3));
    WriteBmp("../skin_outside.bmp", RGB(1, 2, 3));
    ASSERT_EQ(0, ::mkfifo((dir + "/folder/pipe.bmp").c_str(), 0600));
    fs::create_symlink("../../skin_outside.bmp", dir + "/folder/link.bmp");
    struct Row {
        const char* name;
        std::string path;
        const char* problem;
    } rows[] = {
        {"absolute", dir + "/folder/pic.bmp", "is an absolute path"},
        {"climbing out", "../skin_outside.bmp", "leaves the skin folder"},
        {"a link leading out", "folder/link.bmp", "leaves the skin folder"},
        {"a FIFO", "folder/pipe.bmp", "not a regular file"},
        {"a folder", "folder", "a folder, not a file"},
        {"missing", "folder/none.bmp", "no such file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Write("palette.ini", "[bitmaps]\nP = " + row.path + "\n");
        CSkin skin;
        ASSERT_TRUE(skin.Load(dir));
        EXPECT_TRUE(Mentions(skin.Problems(), std::string("palette.ini:2: "))) << Joined(skin.Problems());
        EXPECT_TRUE(Mentions(skin.Problems(), row.problem)) << Joined(skin.Problems());
        EXPECT_EQ(nullptr, skin.Palette()->GetBitmap(L"P"));
    }
    EXPECT_EQ(nullptr, CSkin().Factory()->GetFolderBitmap(L"/etc", L"passwd"));

    fs::remove(dir + "/palette.ini");
    fs::create_directory(dir + "/palette.ini");
    CSkin skin;
    EXPECT_FALSE(skin.Load(dir));
    EXPECT_TRUE(Mentions(skin.Problems(), "palette.ini: cannot open the palette file: ")) << Joined(skin.Problems());
    EXPECT_TRUE(Mentions(skin.Problems(), "a folder, not a file")) << Joined(skin.Problems());
}

// Decoded pictures are bounded one by one and for the whole skin, before they are decoded.
TEST_F(SkinTest, DecodedPicturesAreBoundedPerPictureAndPerSkin) {
    Write("folder/huge.bmp", RleBitmap(16384, 4096, 65536));  // 64 KB that would decode to 256 MB
    for (int i = 0; i < 4; ++i) Write("folder/big" + std::to_string(i) + ".bmp", RleBitmap(2048, 2048, 4096));
    WriteBmp("folder/small.bmp", RGB(1, 2, 3));
    Write("palette.ini",
          "[bitmaps]\nHuge = folder/huge.bmp\nB0 = folder/big0.bmp\nB1 = folder/big1.bmp\n"
          "B2 = folder/big2.bmp\nB3 = folder/big3.bmp\nSmall = folder/small.bmp\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    const std::vector<std::string> problems = skin.Problems();
    EXPECT_TRUE(Mentions(problems, "palette.ini:2: " + dir + "/folder/huge.bmp: 16384 x 4096 pixels; a skin image"))
        << Joined(problems);
    EXPECT_TRUE(Mentions(problems, "palette.ini:7: " + dir + "/folder/small.bmp: 3 x 2 pixels would take the skin"))
        << Joined(problems);
    EXPECT_EQ(nullptr, skin.Palette()->GetBitmap(L"Huge"));
    EXPECT_NE(nullptr, skin.Palette()->GetBitmap(L"B3"));
    EXPECT_EQ(nullptr, skin.Palette()->GetBitmap(L"Small"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"small.bmp")) << "the factory shares the bound";
}

// The factory keeps at most its limit of names, missing ones included: past it a new
// name is refused, even that of a picture on disk, and names it holds are still served.
TEST_F(SkinTest, TheFactoryHoldsAtMostItsLimitOfNames) {
    WriteBmp("folder/pic.bmp", RGB(1, 2, 3));
    WriteBmp("folder/late.bmp", RGB(1, 2, 3));
    Write("palette.ini", "[colors]\nC = #010203\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    for (size_t i = 0; i + 1 < SkinLimits::kMaxFactoryNames; ++i)
        skin.Factory()->GetFolderBitmap(L"folder", (L"none" + std::to_wstring(i)).c_str());
    EXPECT_NE(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp")) << "the last name within the limit";
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"late.bmp"));
    EXPECT_NE(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp"));
}

// A palette of one colour C, one font F and one picture P.
std::string Palette(const char* color, const char* font) {
    return std::string("[colors]\nC = ") + color + "\n[fonts]\nF = " + font + "\n[bitmaps]\nP = folder/pic.bmp\n";
}

// A reload puts the new values into the objects elements hold; one that cannot read
// something keeps what was there and says so.
TEST_F(SkinTest, AReloadKeepsItsObjectsAndEveryValueItCouldNotLoad) {
    struct Row {
        const char* name;
        std::function<void(SkinTest*)> spoil;
        bool loads;           // whether Load answers true
        const char* problem;  // what the problems must mention; null: no problem at all
        int fontHeight;
        COLORREF pixel;
    } rows[] = {
        {"a good reload",
         [](SkinTest* t) {
             t->WriteBmp("folder/pic.bmp", RGB(200, 0, 0));
             t->Write("palette.ini", Palette("#010203", "DejaVu Sans, -20"));
         },
         true, nullptr, -20, RGB(200, 0, 0)},
        {"a missing folder", [](SkinTest* t) { t->dir += "/gone"; }, false, "cannot open the palette file", -12,
         RGB(10, 20, 30)},
        {"a broken picture", [](SkinTest* t) { t->Write("folder/pic.bmp", "BM broken"); }, true,
         "the previous value is kept", -12, RGB(10, 20, 30)},
        {"a bad colour line", [](SkinTest* t) { t->Write("palette.ini", Palette("#zzzzzz", "DejaVu Sans, -12")); },
         true, "palette.ini:2: bad colour '#zzzzzz' for C; the previous value is kept", -12, RGB(10, 20, 30)},
        {"a bad font line", [](SkinTest* t) { t->Write("palette.ini", Palette("#010203", "DejaVu Sans")); }, true,
         "palette.ini:4: bad font 'DejaVu Sans' for F; the previous value is kept", -12, RGB(10, 20, 30)},
    };
    const std::string base = dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir = base;
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/folder'").c_str());
        WriteBmp("folder/pic.bmp", RGB(10, 20, 30));
        Write("palette.ini", Palette("#010203", "DejaVu Sans, -12"));
        CSkin skin;
        ASSERT_TRUE(skin.Load(dir));
        CFont* font = skin.Palette()->GetFont(L"F");
        CBitmap* factoryPic = skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp");
        ASSERT_NE(nullptr, factoryPic);
        const int objects = rt::GdiObjectTotal();
        row.spoil(this);
        EXPECT_EQ(row.loads, skin.Load(dir));
        if (row.problem) {
            EXPECT_TRUE(Mentions(skin.Problems(), row.problem)) << Joined(skin.Problems());
        } else {
            EXPECT_TRUE(skin.Problems().empty()) << Joined(skin.Problems());
        }
        EXPECT_EQ(RGB(1, 2, 3), skin.Palette()->GetColor(L"C"));
        LOGFONT lf{};
        ASSERT_EQ(font, skin.Palette()->GetFont(L"F")) << "pointers held by elements stay valid";
        font->GetLogFont(&lf);
        EXPECT_EQ(row.fontHeight, lf.lfHeight);
        EXPECT_EQ(row.pixel, PixelOf(skin.Palette()->GetBitmap(L"P"), 0, 0));
        EXPECT_EQ(factoryPic, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp"));
        EXPECT_EQ(row.pixel, PixelOf(factoryPic, 0, 0));
        EXPECT_EQ(1, skin.Factory()->GetLoadedCount());
        EXPECT_EQ(objects, rt::GdiObjectTotal()) << "a reload replaces objects, it does not pile them up";
        if (!row.loads) continue;
        Write("palette.ini", "[colors]\nC = #000000\n");
        ASSERT_TRUE(skin.Load(dir));
        EXPECT_EQ(nullptr, skin.Palette()->GetFont(L"F")) << "a key the new skin lacks is missing";
    }
}

}  // namespace
