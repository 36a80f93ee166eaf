// The runtime's own screen: display DCs on the virtual screen, its size and device
// capabilities.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace gdi {  // the runtime's entry for window DCs (windowing code calls it)
HDC CreateDisplayDC(HWND hwnd, POINT dcOrg, const RECT* visRect);
}

namespace {

TEST(Screen, DisplayDcDrawsOnTheVirtualScreen) {
    const int before = rt::GdiObjectTotal();
    HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(DWORD(OBJ_DC), GetObjectType(screen));
    const SIZE size = rt::GetScreenSize();
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.cx, GetDeviceCaps(screen, HORZRES));
    RECT box;
    GetClipBox(screen, &box);
    EXPECT_TRUE(SameRect(RECT{0, 0, size.cx, size.cy}, box));
    PatBlt(screen, 10, 10, 3, 1, WHITENESS);
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));

    // a window-like DC: device (0,0) at (11,10) on the screen, drawing limited to x < 12
    const RECT vis{0, 0, 12, 800};
    HDC win = gdi::CreateDisplayDC(nullptr, POINT{11, 10}, &vis);
    PatBlt(win, -1, 0, 3, 1, BLACKNESS);
    EXPECT_EQ(1, ReleaseDC(nullptr, win));
    HBITMAP copy = rt::CopyScreenRect(RECT{9, 10, 14, 11});
    ASSERT_NE(nullptr, copy);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    const COLORREF expected[] = {kBlack, kBlack, kBlack, kWhite, kBlack};  // x 9..13
    for (int i = 0; i < 5; ++i) EXPECT_EQ(expected[i], GetPixel(dc, i, 0)) << i;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(copy);
    // put the screen back
    screen = GetDC(nullptr);
    PatBlt(screen, 10, 10, 3, 1, BLACKNESS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(before, rt::GdiObjectTotal());
}

TEST(Screen, ResizeAndDeviceCaps) {
    const SIZE old = rt::GetScreenSize();
    rt::SetScreenSize(640, 480);
    EXPECT_EQ(640, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(480, GetSystemMetrics(SM_CYSCREEN));
    rt::SetScreenSize(INT_MAX, INT_MAX);  // cannot be allocated: unchanged
    EXPECT_EQ(640, rt::GetScreenSize().cx);
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_EQ(96, GetDeviceCaps(mem, LOGPIXELSY));
    EXPECT_EQ(32, GetDeviceCaps(mem, BITSPIXEL));
    EXPECT_EQ(480, GetDeviceCaps(mem, VERTRES));
    EXPECT_EQ(0, GetDeviceCaps(nullptr, LOGPIXELSX));
    EXPECT_EQ(0, ReleaseDC(nullptr, mem));  // not a display DC: refused, still alive
    EXPECT_EQ(DWORD(OBJ_MEMDC), GetObjectType(mem));
    DeleteDC(mem);
    rt::SetScreenSize(old.cx, old.cy);
}

}  // namespace
