// The GDI wrappers: the permanent and temporary handle maps that CDC::SelectObject relies
// on, and the drawing helpers MFC builds on ExtTextOut (their object accounting:
// accounting_test.cpp).
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "pixels.h"
#include "platform.h"
#include "win32/runtime_ext.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

// The shared test surface, drawn on through a CDC.
struct Canvas : kt::Surface {
    Canvas(int cx, int cy, COLORREF fill) : kt::Surface(cx, cy, fill) { dc.Attach(Surface::dc()); }
    ~Canvas() { dc.Detach(); }
    CDC dc;
};

TEST(HandleMaps, GenericFromHandleMakesTheMatchingClass) {
    const std::pair<int, CRuntimeClass*> rows[] = {
        {BLACK_PEN, RUNTIME_CLASS(CPen)}, {WHITE_BRUSH, RUNTIME_CLASS(CBrush)}, {DEFAULT_GUI_FONT, RUNTIME_CLASS(CFont)}};
    for (const auto& [stock, cls] : rows) {
        CGdiObject* obj = CGdiObject::FromHandle(::GetStockObject(stock));
        ASSERT_NE(nullptr, obj) << cls->m_lpszClassName;
        EXPECT_TRUE(obj->IsKindOf(cls)) << cls->m_lpszClassName;
    }
    AfxDeleteTempMaps();
}

// FromHandle hands back a permanent wrapper of the asked class or of a class derived
// from it; a wrapper of another class gets a temporary of the asked class instead.
TEST(HandleMaps, PermanentWrapperOfDerivedOrBaseClass) {
    struct BoldFont : CFont {};
    const HFONT h = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    {
        BoldFont derived;
        derived.Attach(h);
        EXPECT_EQ(&derived, CFont::FromHandle(h));
        EXPECT_EQ(&derived, CGdiObject::FromHandle(h));
        derived.Detach();
    }
    CGdiObject base;
    base.Attach(h);
    CFont* temp = CFont::FromHandle(h);
    ASSERT_NE(nullptr, temp);
    EXPECT_NE(static_cast<CGdiObject*>(temp), &base);
    EXPECT_EQ(h, temp->m_hObject);
    AfxDeleteTempMaps();
    EXPECT_TRUE(base.DeleteObject());
}


TEST(CDCSelect, BitmapsComeBackAsWrappers) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateBitmap(3, 2, 1, 32, nullptr);
    CBitmap* initial = dc.SelectObject(&bmp);
    ASSERT_NE(nullptr, initial);
    BITMAP info{};
    initial->GetBitmap(&info);
    EXPECT_EQ(1, info.bmWidth);  // a new memory DC holds a 1x1 monochrome bitmap
    EXPECT_EQ(1, info.bmBitsPixel);
    EXPECT_EQ(&bmp, dc.GetCurrentBitmap());
    EXPECT_EQ(&bmp, dc.SelectObject(initial));
    AfxDeleteTempMaps();
}

// CDC's fills take one call to the DC; they must draw what MFC's way, SetBkColor and a
// glyph-less ExtTextOut per rectangle, draws, and leave the same background colour.
TEST(CDCDraw, FillsMatchSetBkColorAndExtTextOut) {
    struct Row {
        const char* name;
        RECT rc;
        void (*prepare)(HDC hdc);
    };
    auto none = [](HDC) {};
    const Row rows[] = {
        {"two colours", {2, 1, 9, 7}, none},
        {"1x1", {3, 3, 4, 4}, none},
        {"2x2", {3, 3, 5, 5}, none},
        {"empty width", {3, 3, 3, 6}, none},
        {"inverted", {8, 6, 2, 1}, none},
        {"past the bitmap", {-3, -2, 14, 12}, none},
        {"window origin moved", {2, 1, 9, 7}, [](HDC hdc) { ::SetWindowOrgEx(hdc, -2, 1, nullptr); }},
        {"clipped", {2, 1, 9, 7}, [](HDC hdc) { ::IntersectClipRect(hdc, 3, 0, 7, 5); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int mode = 0; mode < 3; ++mode) {  // a fill, a frame by rectangle, a frame by x, y, cx, cy
            Canvas ours(12, 10, kWhite), theirs(12, 10, kWhite);
            row.prepare(ours.dc.GetSafeHdc());
            row.prepare(theirs.dc.GetSafeHdc());
            const CRect rc(row.rc);
            HDC hdc = theirs.dc.GetSafeHdc();
            auto fill = [hdc](const RECT& r, COLORREF c) {
                ::SetBkColor(hdc, c);
                ::ExtTextOut(hdc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
            };
            const int x = rc.left, y = rc.top, cx = rc.Width(), cy = rc.Height();
            if (mode == 0) {
                ours.dc.FillSolidRect(&rc, kRed);
                fill(rc, kRed);
            } else {
                mode == 2 ? ours.dc.Draw3dRect(x, y, cx, cy, kRed, kBlue) : ours.dc.Draw3dRect(&rc, kRed, kBlue);
                fill(RECT{x, y, x + cx - 1, y + 1}, kRed);
                fill(RECT{x, y, x + 1, y + cy - 1}, kRed);
                fill(RECT{x + cx, y, x + cx - 1, y + cy}, kBlue);
                fill(RECT{x, y + cy, x + cx, y + cy - 1}, kBlue);
            }
            EXPECT_EQ(theirs.dc.GetBkColor(), ours.dc.GetBkColor()) << "mode " << mode;
            int differing = 0;
            for (int py = 0; py < 10; ++py)
                for (int px = 0; px < 12; ++px) differing += ours.at(px, py) != theirs.at(px, py);
            EXPECT_EQ(0, differing) << "mode " << mode;
        }
    }
}

TEST(CDCDraw, TextMeasuresInTheSelectedFont) {
    Canvas c(40, 20, kWhite);
    CFont font, larger;
    font.CreatePointFont(90, L"DejaVu Sans");  // at 96 DPI: 12 pixels, and 13.33 rounded for 10 points
    larger.CreatePointFont(100, L"DejaVu Sans");
    LOGFONT lf{}, lfLarger{};
    font.GetLogFont(&lf), larger.GetLogFont(&lfLarger);
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(-13, lfLarger.lfHeight);
    CFont* old = c.dc.SelectObject(&font);
    TEXTMETRIC tm{};
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    const CSize one = c.dc.GetTextExtent(CString(L"Hello"));
    EXPECT_EQ(tm.tmHeight, one.cy);
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(2 * one.cx, c.dc.GetTextExtent(L"HelloHello", 10).cx);
    CRect rc(0, 0, 40, 20);
    EXPECT_EQ(tm.tmHeight, c.dc.DrawText(CString(L"Hi"), &rc, DT_SINGLELINE | DT_NOCLIP));
    c.dc.SelectObject(old);
}

}  // namespace

// The text-run hook's cells: each run's ink lies inside its cell (give or take the one-pixel
// antialiasing fringe), for every placement the class library's text calls take.
TEST(CDCTextRuns, CellsHoldTheInkOfEachRun) {
    struct Row {
        const char* name;
        UINT drawFormat;  // 0: a TextOut row
        int x, y;
        bool drawState = false;  // a DrawState text row at (x, y)
        UINT stateFlags = 0;
        CSize stateSize = CSize(0, 0);
    };
    const Row rows[] = {
        {"TextOut", 0, 20, 10},
        {"DrawState normal", 0, 20, 10, true, DSS_NORMAL},
        {"DrawState disabled (embossed one pixel down and right)", 0, 20, 10, true, DSS_DISABLED},
        {"DrawState normal is not cut to a smaller size", 0, 20, 10, true, DSS_NORMAL, CSize(30, 6)},
        {"DrawText centred", DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, 0},
        {"DrawText right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 0, 0},
        {"DrawText cut by ellipsis", DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS, 0, 0},
    };
    const wchar_t* text = L"Quote 600519 +2.35% and more";
    for (const Row& row : rows) {
        Canvas canvas(200, 60, kWhite);
        CFont font;
        font.CreatePointFont(90, L"DejaVu Sans");
        CFont* old = canvas.dc.SelectObject(&font);
        std::vector<RECT> cells;
        rt::SetTextRunHook([&](HDC, const RECT& cell) { cells.push_back(cell); });
        if (row.drawState) {
            canvas.dc.DrawState(CPoint(row.x, row.y), row.stateSize, text, row.stateFlags, FALSE, 0, (HBRUSH) nullptr);
        } else if (row.drawFormat) {
            CRect rc(10, 5, 190, 55);
            canvas.dc.DrawText(text, -1, &rc, row.drawFormat);
            CRect measure(10, 5, 190, 55);
            canvas.dc.DrawText(text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);  // not a run
        } else {
            canvas.dc.TextOut(row.x, row.y, text, int(wcslen(text)));
        }
        rt::SetTextRunHook(nullptr);
        canvas.dc.SelectObject(old);
        ASSERT_EQ(cells.size(), 1u) << row.name;
        const RECT cell = cells[0];
        int ink = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) {
                if (canvas.dc.GetPixel(x, y) == kWhite) continue;
                ++ink;
                EXPECT_TRUE(x >= cell.left - 1 && x <= cell.right && y >= cell.top - 1 && y <= cell.bottom)
                    << row.name << ": ink at " << x << "," << y << " outside (" << cell.left << ", " << cell.top
                    << ", " << cell.right << ", " << cell.bottom << ")";
            }
        EXPECT_GT(ink, 0) << row.name;
    }
}
