// Object lifetime and selection: stock objects, selection rules, SaveDC/RestoreDC,
// bitmap creation and bits.

#include "gdi_test_util.h"

using namespace gt;

namespace {

TEST(Objects, StockObjectsSurviveDeleteObject) {
    for (int i = WHITE_BRUSH; i <= DC_PEN; ++i) {
        if (i == 9 || i == DEFAULT_PALETTE) continue;  // no stock object; no palettes
        const DWORD type = i <= NULL_BRUSH || i == DC_BRUSH ? OBJ_BRUSH
                           : i <= NULL_PEN || i == DC_PEN   ? OBJ_PEN
                                                            : OBJ_FONT;
        HGDIOBJ h = GetStockObject(i);
        ASSERT_NE(nullptr, h) << i;
        EXPECT_TRUE(DeleteObject(h)) << i;
        EXPECT_EQ(h, GetStockObject(i)) << i;
        EXPECT_EQ(type, GetObjectType(h)) << i;
    }
    EXPECT_EQ(nullptr, GetStockObject(-1));
    LOGFONTW lf{};
    ASSERT_EQ(int(sizeof(lf)), GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf));
    EXPECT_EQ(-11, lf.lfHeight);
    EXPECT_EQ(std::wstring(L"MS Shell Dlg"), lf.lfFaceName);
    ASSERT_EQ(int(sizeof(lf)), GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf));
    EXPECT_EQ(16, lf.lfHeight);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_EQ(std::wstring(L"System"), lf.lfFaceName);
}

TEST(Objects, NewMemoryDcDefaultsAndSelectReturnsPrevious) {
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    EXPECT_EQ(DWORD(OBJ_MEMDC), GetObjectType(a));
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(a, OBJ_PEN));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(a, OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetCurrentObject(a, OBJ_FONT));
    // the default bitmap is one shared, uncounted 1x1 monochrome bitmap
    HGDIOBJ defaultBmp = GetCurrentObject(a, OBJ_BITMAP);
    EXPECT_EQ(defaultBmp, GetCurrentObject(b, OBJ_BITMAP));
    BITMAP bm{};
    ASSERT_EQ(int(sizeof(bm)), GetObjectW(defaultBmp, sizeof(bm), &bm));
    EXPECT_EQ((std::vector<LONG>{1, 1, 1}), (std::vector<LONG>{bm.bmWidth, bm.bmHeight, bm.bmBitsPixel}));

    HPEN red = CreatePen(PS_SOLID, 1, kRed), blue = CreatePen(PS_SOLID, 1, kBlue);
    EXPECT_EQ(GetStockObject(BLACK_PEN), SelectObject(a, red));
    EXPECT_EQ(HGDIOBJ(red), SelectObject(a, blue));
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(nullptr, SelectObject(a, reinterpret_cast<HGDIOBJ>(uintptr_t(0x12345))));
    EXPECT_EQ(nullptr, SelectObject(nullptr, blue));
    DeleteDC(a);  // deselects
    EXPECT_TRUE(DeleteObject(blue));
    DeleteDC(b);
}

// DeleteObject fails for an object selected into a DC, which keeps it alive.
TEST(Objects, SelectedObjectIsNotDeleted) {
    SKIP_UNDER_WINE("DeleteObject of a selected pen or bitmap returns TRUE");
    HDC a = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    HGDIOBJ old = SelectObject(a, pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(DWORD(OBJ_PEN), GetObjectType(pen));
    SelectObject(a, old);
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(a);
}

TEST(Objects, BitmapSelectedElsewhereIsRefused) {
    SKIP_UNDER_WINE("DeleteObject of a selected pen or bitmap returns TRUE");
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(2, 2, 1, 32, nullptr);
    HGDIOBJ oldA = SelectObject(a, bmp);
    EXPECT_NE(nullptr, oldA);
    EXPECT_EQ(nullptr, SelectObject(b, bmp));
    EXPECT_EQ(HGDIOBJ(bmp), SelectObject(a, bmp));  // selecting it again where it is: fine
    EXPECT_FALSE(DeleteObject(bmp));
    SelectObject(a, oldA);
    EXPECT_NE(nullptr, SelectObject(b, bmp));
    DeleteDC(b);  // deleting the DC releases the bitmap
    EXPECT_TRUE(DeleteObject(bmp));
    HDC screen = GetDC(nullptr);
    HBITMAP other = CreateCompatibleBitmap(screen, 2, 2);
    EXPECT_EQ(nullptr, SelectObject(screen, other));  // display DCs draw on the screen only
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
    DeleteObject(other);
    DeleteDC(a);
}

TEST(Objects, SelectingARegionClipsAndReturnsItsType) {
    kt::Surface c(4, 1);
    HRGN rgn = CreateRectRgn(1, 0, 3, 1);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(intptr_t(SIMPLEREGION)), SelectObject(c.dc(), rgn));
    EXPECT_TRUE(DeleteObject(rgn));  // the DC keeps a copy
    PatBlt(c.dc(), 0, 0, 4, 1, BLACKNESS);
    EXPECT_EQ(".##.", c.ascii({{kWhite, '.'}, {kBlack, '#'}}));
}

TEST(Objects, SaveAndRestoreDc) {
    kt::Surface c(4, 4);
    HDC dc = c.dc();
    HPEN red = CreatePen(PS_SOLID, 1, kRed);
    SetTextColor(dc, kRed);
    const int level1 = SaveDC(dc);
    EXPECT_EQ(1, level1);
    SelectObject(dc, red);
    SetTextColor(dc, kBlue);
    SetWindowOrgEx(dc, 5, 5, nullptr);
    IntersectClipRect(dc, 5, 5, 6, 6);
    EXPECT_EQ(2, SaveDC(dc));
    SetBkMode(dc, TRANSPARENT);
    EXPECT_TRUE(RestoreDC(dc, level1));  // drops level 2 as well
    EXPECT_EQ(kRed, GetTextColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(HGDIOBJ(c.bitmap()), GetCurrentObject(dc, OBJ_BITMAP));
    POINT org;
    GetWindowOrgEx(dc, &org);
    EXPECT_EQ(0, org.x);
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(4, box.right);
    EXPECT_FALSE(RestoreDC(dc, -1));  // nothing saved any more
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_TRUE(DeleteObject(red));  // no longer selected
    SaveDC(dc);
    SetTextColor(dc, kGreen);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(kRed, GetTextColor(dc));
}

TEST(Bitmaps, BottomUpDibSectionBitsAreLive) {
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pv = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pv, nullptr, 0);
    ASSERT_NE(nullptr, pv);
    uint32_t* bits = static_cast<uint32_t*>(pv);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    bits[0] = 0x00FF0000;  // first row in memory: the bottom row
    EXPECT_EQ(kRed, GetPixel(dc, 0, 1));
    SetPixel(dc, 1, 0, kBlue);
    EXPECT_EQ(0x000000FFu, bits[3]);  // top row is the second in memory
    DIBSECTION ds{};
    ASSERT_EQ(int(sizeof(ds)), GetObjectW(bmp, sizeof(ds), &ds));
    EXPECT_EQ(pv, ds.dsBm.bmBits);
    EXPECT_EQ(2, ds.dsBmih.biHeight);
    EXPECT_EQ(8, ds.dsBm.bmWidthBytes);
    bi.bmiHeader.biHeight = -2;  // GetDIBits into a top-down buffer
    uint32_t lines[4] = {};
    EXPECT_EQ(2, GetDIBits(dc, bmp, 0, 2, lines, &bi, DIB_RGB_COLORS));
    EXPECT_EQ((std::vector<uint32_t>{0, 0xFF, 0xFF0000, 0}), std::vector<uint32_t>(lines, lines + 4));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
}

}  // namespace
