// Regression tests for faults the fuzz targets and the bad-input tables caught, each
// named after what it caught.
#include <malloc.h>

#include "bad_input.h"
#include "button/ElementButton.h"
#include "pixels.h"
#include "tabcontrol/ElementTabControl.h"

namespace {

class RegressionTest : public rel::ReliabilityTest {
protected:
    COLORREF WindowPixel(POINT window_pt) { return kt::Shot(*host).at(window_pt.x, window_pt.y); }
};

// fuzz_button: bottom - top of (x, INT_MIN, x, INT_MAX) overflowed int in DrawBitmap.
// The image is centred on the rectangle: top = INT_MIN + (2^32 - 1 - H) / 2, which for
// an even H is -H / 2 - 1 (H = 24: row 13 of the image lands on row 0 of the DC).
TEST_F(RegressionTest, ButtonDrawBitmapOnRectangleTallerThanIntMax) {
    auto* b = new CElementButton;
    ASSERT_TRUE(host->Add(b, L"b", RECT{0, 0, 10, 10}, 1));
    CBitmap* image = host->Skin().Factory()->GetFolderBitmap(L"button", L"normal.bmp");
    ASSERT_NE(nullptr, image);
    BITMAP bm{};
    image->GetBitmap(&bm);
    ASSERT_EQ(0, bm.bmHeight % 2);
    const int first_row = bm.bmHeight / 2 + 1;  // the image row that lands on DC row 0

    kt::Image expected;
    ASSERT_TRUE(kt::ReadBitmap(HBITMAP(image->GetSafeHandle()), &expected));
    {
        kt::Surface target(8, 4);
        {
            CLightCanvas canvas(CDC::FromHandle(target.dc()));
            CRect rc(0, INT_MIN, 8, INT_MAX);
            EXPECT_TRUE(b->DrawBitmap(canvas, image, rc));
        }
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) EXPECT_EQ(expected.at(x, first_row + y), target.at(x, y)) << x << "," << y;
    }
    Release(b);
}

// fuzz_tabs: a tab as wide as INT_MAX ends at INT_MAX; inflating its cell by one pixel
// for the frame overflowed, and the cell was not drawn.
TEST_F(RegressionTest, TabCellEndingAtIntMaxIsStillFilled) {
    auto* t = new CElementTabControl;
    ASSERT_TRUE(host->Add(t, L"t", RECT{10, 10, 310, 40}, 2));
    t->SetStyle(1, 0, 0);  // left-aligned at the top
    _TAB_PARAM_INFO_ info;
    info.nID = 1;
    info.lpszName = L"Wide";
    info.lpszTextColor = L"CElementTabControl.Text";
    info.lpszSelTextColor = L"CElementTabControl.SelText";
    ASSERT_EQ(0, t->Add(&info));
    t->SetTabHeight(24);
    ASSERT_EQ(1, t->SetItemWidthWithMargin(1, INT_MAX));
    t->SetTabHeight(24);  // lays out again
    const CRect item = t->m_arrItems[0]->m_rcItem;
    ASSERT_EQ(INT_MAX, item.right);
    const COLORREF fill = t->GetColorEx(L"CElementTabControl.FillNormal");
    // Inside the frame, below the name (which is centred far to the right).
    EXPECT_EQ(fill, WindowPixel(POINT{10 + item.left + 3, 10 + item.bottom - 3}));
    Release(t);
}

// kelem_soak: every host paint made a temporary CDC for the background erase
// (CDC::FromHandle) that nothing freed, since the headless host's Pump never went idle;
// resident memory grew by about 300 bytes per paint.
TEST_F(RegressionTest, HostPaintsKeepNoTemporaryDcWrappers) {
    auto* b = new CElementButton;
    ASSERT_TRUE(host->Add(b, L"b", RECT{20, 20, 116, 44}, 1));
    HWND hwnd = host->Window().GetSafeHwnd();
    auto paint = [&] {
        ::InvalidateRect(hwnd, nullptr, TRUE);
        host->Pump();
    };
    for (int i = 0; i < 50; ++i) paint();  // first-use allocations
    const size_t before = ::mallinfo2().uordblks;
    for (int i = 0; i < 2000; ++i) paint();
    const size_t after = ::mallinfo2().uordblks;
    EXPECT_LT(after, before + 16 * 1024) << "heap grew by " << (after - before) << " bytes over 2000 paints";
    Release(b);
}

}  // namespace
