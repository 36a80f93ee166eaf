#include "tab_test_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "pixels.h"
#include "win32/runtime_ext.h"

namespace tabtest {
namespace {

void WriteBmp(const std::string& path, int w, int h, COLORREF fill) {
    kt::Surface s(w, h, fill);
    std::string error;
    ASSERT_TRUE(rt::SaveBmpFile(s.bitmap(), path, &error)) << path << ": " << error;
}

std::string WriteSkin() {
    const std::string dir = kt::OutputPath("tabcontrol/skin");
    ::mkdir(dir.c_str(), 0755);
    ::mkdir((dir + "/tab_control").c_str(), 0755);
    const std::string tc = dir + "/tab_control/";
    for (const char* part : {"lefttab", "middletab", "righttab"}) {
        const int w = part[0] == 'l' ? kLeftW : part[0] == 'r' ? kRightW : 1;
        WriteBmp(tc + part + ".bmp", w, kTabBmpH, RGB(1, 2, 3));
        WriteBmp(tc + part + "_hot.bmp", w, kTabBmpH, RGB(1, 2, 3));
    }
    WriteBmp(tc + "own_left.bmp", kOwnLeftW, 16, RGB(1, 2, 3));
    WriteBmp(tc + "own_right.bmp", kOwnRightW, 12, RGB(1, 2, 3));
    // The arrows: the key colour around a solid triangle pointing down.
    for (COLORREF glyph : {kArrow, kArrowSel}) {
        kt::Surface s(kArrowW, kArrowH, kColorKey);
        for (int y = 0; y < kArrowH; ++y)
            for (int x = y; x < kArrowW - y; ++x) s.set(x, y, glyph);
        const std::string path = tc + (glyph == kArrow ? "arrow.bmp" : "arrow2.bmp");
        EXPECT_TRUE(rt::SaveBmpFile(s.bitmap(), path)) << path;
    }
    WriteBmp(tc + "Tab_Bk4.bmp", 8, kStripBmpH, kStripBmp);
    WriteBmp(tc + "Tab_Bk1.bmp", 8, kGray1H, kGrayBmp);
    WriteBmp(tc + "Tab_Bk2.bmp", 8, kGray2H, kGrayBmp);
    WriteBmp(dir + "/img.bmp", kImageW, kImageH, kImage);
    WriteBmp(dir + "/img_hot.bmp", kImageW, kImageH, kImageHot);

    const std::pair<const char*, COLORREF> colors[] = {
        {"CElementTabControl.ColorKey", kColorKey},
        {"CElementTabControl.BackGround", kBackground},
        {"CElementTabControl.Border", kBorder},
        {"CElementTabControl.FillNormal", kFillNormal},
        {"CElementTabControl.HoverBackground", kHoverFill},
        {"CElementTabControl.FillHotlight", kHotlight},
        {"CElementTabControl.HoverForeground", kHoverText},
        {"CElementTabControl.Text", kText},
        {"CElementTabControl.SelText", kSelText},
        {"QuoteTab.BtnText", kBtnText},
        {"QuoteTab.BtnHot", kBtnHot},
        {"Test.OwnBk", kOwnBk},
    };
    std::ofstream ini(dir + "/palette.ini");
    ini << "[colors]\n";
    for (const auto& [key, color] : colors) ini << key << " = " << kt::Hex(color) << "\n";
    ini << "[fonts]\n"
        << "QuoteTab.Button = DejaVu Sans, -12, 400\n"
        << "QuoteTab.ButtonBold = DejaVu Sans, -12, 700\n"
        << "QuoteTab.ButtonLine = DejaVu Sans, -12, 400, 0, 1\n"
        << "[bitmaps]\n"
        << "Test.Img = img.bmp\n"
        << "Test.ImgHot = img_hot.bmp\n";
    return dir;
}

// The same bitmaps without any font: the strip cannot paint.
}  // namespace

const std::string& SkinDir() {
    static const std::string dir = WriteSkin();
    return dir;
}

int TextWidth(const wchar_t* text) {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = 400;
    wcscpy(lf.lfFaceName, L"DejaVu Sans");
    HFONT font = ::CreateFontIndirectW(&lf);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return size.cx;
}

}  // namespace tabtest
