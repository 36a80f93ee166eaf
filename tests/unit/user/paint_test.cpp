// Update areas, WM_PAINT, BeginPaint clipping and window DCs, checked on the screen pixels.
#include "user_test_util.h"

namespace {

using ut::ScreenPixel;
using ut::UserTest;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct PaintRecord {
    HWND hwnd;
    RECT rcPaint;
    BOOL fErase;
};
std::vector<PaintRecord> g_paints;
COLORREF g_fill = kRed;
bool g_fillOnPaint = true;

// Paints its whole client area in g_fill; BeginPaint limits what reaches the screen.
LRESULT CALLBACK PainterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ut::Log().push_back(ut::Record{hwnd, msg, wParam, lParam, 0});
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    g_paints.push_back(PaintRecord{hwnd, ps.rcPaint, ps.fErase});
    if (g_fillOnPaint) {
        RECT client_rect;
        GetClientRect(hwnd, &client_rect);
        HBRUSH brush = CreateSolidBrush(g_fill);
        FillRect(dc, &client_rect, brush);
        DeleteObject(brush);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LPCWSTR PainterClass(bool withBackground) {
    static HBRUSH blue = CreateSolidBrush(kBlue);
    const LPCWSTR name = withBackground ? L"UtPainterBlue" : L"UtPainter";
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, name, &wc)) {
        wc.lpfnWndProc = PainterProc;
        wc.hbrBackground = withBackground ? blue : nullptr;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
    return name;
}

class PaintTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        g_paints.clear();
        g_fill = kRed;
        g_fillOnPaint = true;
        // A known background on the part of the screen the tests use.
        HDC screen = GetDC(nullptr);
        RECT area{0, 0, 600, 300};
        HBRUSH white = CreateSolidBrush(kWhite);
        FillRect(screen, &area, white);
        DeleteObject(white);
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override {
        for (HWND hwnd : windows_) DestroyWindow(hwnd);
        UserTest::TearDown();
    }
    HWND MakePainter(RECT rect, HWND parent = nullptr, bool withBackground = false) {
        HWND hwnd = CreateWindowExW(0, PainterClass(withBackground), L"", WS_VISIBLE | (parent ? WS_CHILD : WS_POPUP),
                                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                    nullptr, nullptr, nullptr);
        if (!parent) windows_.push_back(hwnd);
        return hwnd;
    }

private:
    std::vector<HWND> windows_;
};

TEST_F(PaintTest, BeginPaintClipsToTheUpdateRectangle) {
    const HWND hwnd = MakePainter(RECT{200, 100, 260, 140});
    ASSERT_TRUE(UpdateWindow(hwnd));  // the first paint covers everything
    ASSERT_EQ(1u, g_paints.size());
    EXPECT_EQ(kRed, ScreenPixel(200, 100));
    EXPECT_EQ(kRed, ScreenPixel(259, 139));
    EXPECT_EQ(kWhite, ScreenPixel(260, 139));

    g_paints.clear();
    g_fill = kGreen;
    const RECT dirty_rect{10, 5, 30, 15};
    InvalidateRect(hwnd, &dirty_rect, FALSE);
    UpdateWindow(hwnd);
    ASSERT_EQ(1u, g_paints.size());
    EXPECT_TRUE(EqualRect(&dirty_rect, &g_paints[0].rcPaint));
    EXPECT_FALSE(g_paints[0].fErase);
    struct Row {
        const char* name;
        int x, y;
        COLORREF expected;
    };
    const Row rows[] = {
        {"top-left of the update", 210, 105, kGreen},
        {"bottom-right of the update", 229, 114, kGreen},
        {"left of it", 209, 105, kRed},
        {"right of it", 230, 105, kRed},
        {"above it", 210, 104, kRed},
        {"below it", 210, 115, kRed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, ScreenPixel(row.x, row.y));
    }
    UpdateWindow(hwnd);
    EXPECT_EQ(1u, g_paints.size());  // nothing left to paint
}

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
    ValidateRect(hwnd, &a);  // would leave a non-rectangle: the area stays
    GetUpdateRect(hwnd, &update_rect, FALSE);
    EXPECT_TRUE(EqualRect(&expected, &update_rect));
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
        COLORREF expectedPixel;  // the painter draws nothing here
        int x;                   // where the window goes on the screen
    };
    const Row rows[] = {
        {"class brush erases", true, FALSE, kBlue, 300},
        {"no class brush", false, TRUE, kWhite, 330},
    };
    g_fillOnPaint = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_paints.clear();
        ut::Log().clear();
        const HWND hwnd = MakePainter(RECT{row.x, 100, row.x + 20, 120}, nullptr, row.withBackground);
        UpdateWindow(hwnd);
        ASSERT_EQ(1u, g_paints.size());
        EXPECT_EQ(row.expectedFErase, g_paints[0].fErase);
        const std::vector<UINT> expected{WM_PAINT, WM_ERASEBKGND};  // sent from BeginPaint
        auto seen = ut::MessagesOf(hwnd);
        seen.erase(seen.begin(), seen.begin() + 5);  // creation messages
        EXPECT_EQ(expected, seen);
        EXPECT_EQ(row.expectedPixel, ScreenPixel(row.x + 10, 110));
        DestroyWindow(hwnd);
    }
}

TEST_F(PaintTest, ChildrenPaintAfterTheirParentAndStayInsideIt) {
    const HWND parent = MakePainter(RECT{400, 100, 450, 150});
    g_fill = kGreen;
    UpdateWindow(parent);
    const HWND child = MakePainter(RECT{30, 30, 70, 70}, parent);  // reaches past the parent
    UpdateWindow(parent);
    g_fill = kRed;
    InvalidateRect(parent, nullptr, FALSE);  // covers the child too
    g_paints.clear();
    rt::PumpMessages();
    ASSERT_EQ(2u, g_paints.size());
    EXPECT_EQ(parent, g_paints[0].hwnd);
    EXPECT_EQ(child, g_paints[1].hwnd);
    const RECT child_part{0, 0, 20, 20};  // the part of the child inside the parent
    EXPECT_TRUE(EqualRect(&child_part, &g_paints[1].rcPaint));
    EXPECT_EQ(kRed, ScreenPixel(449, 149));
    EXPECT_EQ(kWhite, ScreenPixel(450, 140));  // the child is clipped by its parent

    // A window DC draws at the client origin, clipped the same way.
    HDC dc = GetDC(child);
    ASSERT_NE(nullptr, dc);
    HBRUSH blue = CreateSolidBrush(kBlue);
    const RECT across_rect{15, 15, 30, 30};
    FillRect(dc, &across_rect, blue);
    DeleteObject(blue);
    ReleaseDC(child, dc);
    EXPECT_EQ(kBlue, ScreenPixel(445, 145));
    EXPECT_EQ(kBlue, ScreenPixel(449, 149));
    EXPECT_EQ(kWhite, ScreenPixel(450, 150));
    EXPECT_EQ(kRed, ScreenPixel(444, 144));
}

TEST_F(PaintTest, WindowFromDCNamesTheWindowADCPaints) {
    const HWND hwnd = MakePainter(RECT{10, 10, 60, 60});
    PAINTSTRUCT ps;
    HDC paint = BeginPaint(hwnd, &ps);
    const HWND painted = WindowFromDC(paint);
    EndPaint(hwnd, &ps);
    HDC window = GetDC(hwnd);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    struct Row {
        const char* name;
        HWND got, want;
    };
    const Row rows[] = {
        {"BeginPaint", painted, hwnd},
        {"GetDC of the window", WindowFromDC(window), hwnd},
        {"the screen", WindowFromDC(screen), nullptr},
        {"a memory DC", WindowFromDC(memory), nullptr},
        {"no DC", WindowFromDC(nullptr), nullptr},
    };
    for (const Row& r : rows) EXPECT_EQ(r.want, r.got) << r.name;
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ReleaseDC(hwnd, window);
}

}  // namespace

namespace {

TEST_F(PaintTest, StaticControlPaintsItsFace) {
    const HWND parent = MakePainter(RECT{500, 100, 560, 140});
    const HWND label =
        CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, label);
    rt::PumpMessages();
    EXPECT_EQ(RGB(212, 208, 200), ScreenPixel(510, 110));  // COLOR_BTNFACE
    EXPECT_EQ(RGB(212, 208, 200), ScreenPixel(539, 129));
    EXPECT_EQ(kRed, ScreenPixel(540, 129));  // the parent around it
    EXPECT_EQ(kRed, ScreenPixel(509, 110));
}

}  // namespace
