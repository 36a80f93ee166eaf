// Skins on disk: good and broken palette files, missing bitmaps, reloading.
#include "host/Skin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "pixels.h"
#include "win32/runtime_ext.h"

namespace {

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::string(KELEM_TEST_OUTPUT_DIR) + "/skin_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/folder'").c_str());
    }
    void Write(const std::string& file, const std::string& text) { std::ofstream(dir + "/" + file) << text; }
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

TEST_F(SkinTest, GoodPaletteGivesEveryKind) {
    WriteBmp("folder/pic.bmp", RGB(10, 20, 30));
    Write("palette.ini",
          "[colors]\nA.Red = #FF0000\nA.Green = 0, 255, 0\n"
          "[fonts]\nA.Font = DejaVu Sans, -12, 700, 1\n"
          "[bitmaps]\nA.Pic = folder/pic.bmp\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    EXPECT_TRUE(skin.Problems().empty());
    CSkinPalette* p = skin.Palette();
    EXPECT_EQ(RGB(255, 0, 0), p->GetColor(L"A.Red"));
    EXPECT_EQ(RGB(0, 255, 0), p->GetColor(L"A.Green"));
    LOGFONT lf{};
    ASSERT_NE(nullptr, p->GetFont(L"A.Font"));
    p->GetFont(L"A.Font")->GetLogFont(&lf);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(1, lf.lfItalic);
    ASSERT_NE(nullptr, p->GetBitmap(L"A.Pic"));
    BITMAP bm{};
    p->GetBitmap(L"A.Pic")->GetBitmap(&bm);
    EXPECT_EQ(3, bm.bmWidth);
    ASSERT_NE(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"none.bmp"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"..", L"palette.ini")) << "no climbing out of the skin";
    EXPECT_EQ(1u, skin.Factory()->MissingFiles().size());
}

TEST_F(SkinTest, BrokenLinesAreReportedWithFileAndLineAndTheRestIsKept) {
    Write("palette.ini",
          "[colors]\n"
          "Good.One = #010203\n"
          "Bad.Hex = #12345G\n"
          "Bad.Range = 256, 0, 0\n"
          "[fonts]\n"
          "Bad.Font = NoHeight\n"
          "[bitmaps]\n"
          "Missing.Pic = folder/missing.bmp\n"
          "[strange]\n"
          "x = 1\n"
          "this line has no equals sign\n"
          "[colors]\n"
          "Good.Two = 4,5,6\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    const std::vector<std::string>& problems = skin.Problems();
    EXPECT_TRUE(Mentions(problems, "palette.ini:3: bad colour '#12345G'"));
    EXPECT_TRUE(Mentions(problems, "palette.ini:4: bad colour"));
    EXPECT_TRUE(Mentions(problems, "palette.ini:6: bad font"));
    EXPECT_TRUE(Mentions(problems, "missing.bmp"));
    EXPECT_TRUE(Mentions(problems, "palette.ini:10: unknown section [strange]"));
    EXPECT_TRUE(Mentions(problems, "palette.ini:11:"));
    EXPECT_EQ(RGB(1, 2, 3), skin.Palette()->GetColor(L"Good.One"));
    EXPECT_EQ(RGB(4, 5, 6), skin.Palette()->GetColor(L"Good.Two"));
    EXPECT_EQ(0u, skin.Palette()->GetColor(L"Bad.Hex"));
    EXPECT_EQ(nullptr, skin.Palette()->GetFont(L"Bad.Font"));
}

// Skin images are kept in the screen's format (a device bitmap, top-down), with the
// file's pixels in the file's row order; a file that cannot be read is reported with
// the reader's reason, by both the palette and the folder factory.
TEST_F(SkinTest, ImagesKeepTheFilesPixelsAndBrokenFilesTheirReason) {
    {
        kt::Surface s(3, 2, RGB(200, 0, 0));
        s.set(1, 1, RGB(0, 0, 200));  // bottom row, middle: a flipped copy would show it on top
        ASSERT_TRUE(rt::SaveBmpFile(s.bitmap(), dir + "/folder/rows.bmp"));
    }
    Write("folder/broken.bmp", "BM this is not a bitmap");
    Write("palette.ini", "[bitmaps]\nRows = folder/rows.bmp\nBroken = folder/broken.bmp\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    struct Row {
        const char* name;
        CBitmap* bitmap;
    } rows[] = {
        {"palette", skin.Palette()->GetBitmap(L"Rows")},
        {"folder factory", skin.Factory()->GetFolderBitmap(L"folder", L"rows.bmp")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(nullptr, row.bitmap);
        BITMAP bm{};
        ASSERT_TRUE(row.bitmap->GetBitmap(&bm));
        EXPECT_EQ(nullptr, bm.bmBits) << "a device bitmap, not the file's DIB section";
        EXPECT_EQ(32, bm.bmBitsPixel);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, row.bitmap->GetSafeHandle());
        EXPECT_EQ(RGB(200, 0, 0), ::GetPixel(dc, 1, 0));
        EXPECT_EQ(RGB(0, 0, 200), ::GetPixel(dc, 1, 1));
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }
    EXPECT_EQ(nullptr, skin.Palette()->GetBitmap(L"Broken"));
    EXPECT_EQ(nullptr, skin.Factory()->GetFolderBitmap(L"folder", L"broken.bmp"));
    std::string reason;
    HBITMAP none = rt::LoadBmpFile(dir + "/folder/broken.bmp", &reason);
    ASSERT_EQ(nullptr, none);
    ASSERT_FALSE(reason.empty());
    int mentions = 0;
    for (const std::string& p : skin.Problems())
        if (p.find("broken.bmp: " + reason) != std::string::npos) ++mentions;
    EXPECT_EQ(2, mentions) << "the palette's and the factory's";
}

TEST_F(SkinTest, AMissingPaletteFileFailsClearly) {
    CSkin skin;
    EXPECT_FALSE(skin.Load(dir));
    EXPECT_TRUE(Mentions(skin.Problems(), "palette.ini: cannot open"));
}

TEST_F(SkinTest, ReloadKeepsObjectsAndSwapsTheirContents) {
    WriteBmp("folder/pic.bmp", RGB(10, 20, 30));
    Write("palette.ini", "[fonts]\nF = DejaVu Sans, -12\n[bitmaps]\nP = folder/pic.bmp\n");
    CSkin skin;
    ASSERT_TRUE(skin.Load(dir));
    CFont* font = skin.Palette()->GetFont(L"F");
    CBitmap* factoryPic = skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp");
    ASSERT_NE(nullptr, font);
    ASSERT_NE(nullptr, factoryPic);
    const int before = rt::GdiObjectTotal();

    WriteBmp("folder/pic.bmp", RGB(200, 0, 0));
    Write("palette.ini", "[fonts]\nF = DejaVu Sans, -20\n[bitmaps]\nP = folder/pic.bmp\n");
    ASSERT_TRUE(skin.Load(dir));
    EXPECT_EQ(font, skin.Palette()->GetFont(L"F")) << "pointers held by elements stay valid";
    LOGFONT lf{};
    font->GetLogFont(&lf);
    EXPECT_EQ(-20, lf.lfHeight);
    EXPECT_EQ(factoryPic, skin.Factory()->GetFolderBitmap(L"folder", L"pic.bmp"));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, factoryPic->GetSafeHandle());
    EXPECT_EQ(RGB(200, 0, 0), ::GetPixel(dc, 0, 0));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    EXPECT_EQ(before, rt::GdiObjectTotal()) << "a reload replaces objects, it does not pile them up";

    Write("palette.ini", "[colors]\nC = #000000\n");
    ASSERT_TRUE(skin.Load(dir));
    EXPECT_EQ(nullptr, skin.Palette()->GetFont(L"F")) << "a key the new skin lacks is missing";
}

}  // namespace
