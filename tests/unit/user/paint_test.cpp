// Update areas, the erase inside BeginPaint, and children painting after their parent. What
// reaches the screen is not read (a display may have no readable screen): the paint DC's
// clip box says where a painter can draw, and drawing is read from memory DCs the test owns.
#include "pixels.h"
#include "user_test_util.h"

namespace {

using ut::UserTest;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct PaintRecord {
    HWND hwnd;
    RECT rcPaint;
    BOOL fErase;
    RECT clip_rect;  // the paint DC's clip box, client coordinates
};
std::vector<PaintRecord> g_paints;

LRESULT CALLBACK PainterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ut::Note(hwnd, msg, wParam, lParam);
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    PaintRecord r{hwnd, ps.rcPaint, ps.fErase, {}};
    GetClipBox(dc, &r.clip_rect);
    g_paints.push_back(r);
    EndPaint(hwnd, &ps);
    return 0;
}

class PaintTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        g_paints.clear();
    }
    // A painter window; with a background, its class erases in blue.
    HWND MakePainter(RECT rect, HWND parent = nullptr, bool withBackground = false) {
        static const HBRUSH blue = CreateSolidBrush(kBlue);
        const LPCWSTR cls = withBackground ? ut::EnsureClass(L"UtPainterBlue", PainterProc, blue)
                                           : ut::EnsureClass(L"UtPainter", PainterProc);
        return Make(rect, parent, WS_VISIBLE, cls);
    }
};

TEST_F(PaintTest, UpdateAreaIsTheBoundingRectangle) {
    const HWND hwnd = MakePainter(RECT{200, 100, 260, 140});
    UpdateWindow(hwnd);
    g_paints.clear();
    const RECT a{0, 0, 5, 5};
    const RECT b{20, 20, 25, 25};
    InvalidateRect(hwnd, &a, FALSE);
    InvalidateRect(hwnd, &b, FALSE);
    RECT update_rect;
    ASSERT_TRUE(GetUpdateRect(hwnd, &update_rect, FALSE));
    const RECT expected{0, 0, 25, 25};
    EXPECT_TRUE(EqualRect(&expected, &update_rect));
    const RECT outside{100, 100, 120, 120};  // clipped away to nothing
    InvalidateRect(hwnd, &outside, FALSE);
    ValidateRect(hwnd, &a);  // what is left is b
    GetUpdateRect(hwnd, &update_rect, FALSE);
    EXPECT_TRUE(EqualRect(&b, &update_rect));
    ValidateRect(hwnd, nullptr);
    EXPECT_FALSE(GetUpdateRect(hwnd, &update_rect, FALSE));
    UpdateWindow(hwnd);
    EXPECT_TRUE(g_paints.empty());
}

TEST_F(PaintTest, EraseHappensInsideBeginPaint) {
    struct Row {
        const char* name;
        bool withBackground;
        BOOL expectedFErase;     // TRUE: the background was left to the painter
        COLORREF expectedPixel;  // the default erase, into a white memory DC
    };
    const Row rows[] = {
        {"class brush erases", true, FALSE, kBlue},
        {"no class brush", false, TRUE, kWhite},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HWND hwnd = MakePainter(RECT{300, 100, 320, 120}, nullptr, row.withBackground);
        UpdateWindow(hwnd);
        g_paints.clear();
        ut::Log().clear();
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
        ASSERT_EQ(1u, g_paints.size());
        EXPECT_EQ(row.expectedFErase, g_paints[0].fErase);
        std::vector<UINT> seen;  // sent from BeginPaint
        for (UINT msg : ut::MessagesOf(hwnd)) {
            if (msg == WM_PAINT || msg == WM_ERASEBKGND) seen.push_back(msg);
        }
        EXPECT_EQ((std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}), seen);
        kt::Surface surface(20, 20, kWhite);
        EXPECT_EQ(row.withBackground ? 1 : 0,
                  DefWindowProcW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc()), 0));
        EXPECT_EQ(row.expectedPixel, surface.at(10, 10));
        DestroyWindow(hwnd);
    }
}

TEST_F(PaintTest, ChildrenPaintAfterTheirParentAndStayInsideIt) {
    const HWND parent = MakePainter(RECT{400, 100, 450, 150});
    const HWND child = MakePainter(RECT{30, 30, 70, 70}, parent);  // reaches past the parent
    UpdateWindow(parent);
    InvalidateRect(parent, nullptr, FALSE);  // covers the child too
    g_paints.clear();
    rt::PumpMessages();
    ASSERT_EQ(2u, g_paints.size());
    EXPECT_EQ(parent, g_paints[0].hwnd);
    EXPECT_EQ(child, g_paints[1].hwnd);
    const RECT child_part{0, 0, 20, 20};  // the part of the child inside the parent
    EXPECT_TRUE(EqualRect(&child_part, &g_paints[1].rcPaint));
    EXPECT_TRUE(EqualRect(&child_part, &g_paints[1].clip_rect));
    // A window DC draws at the client origin, clipped the same way.
    HDC dc = GetDC(child);
    RECT clip_rect;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &clip_rect));
    EXPECT_TRUE(EqualRect(&child_part, &clip_rect));
    ReleaseDC(child, dc);
}

}  // namespace
