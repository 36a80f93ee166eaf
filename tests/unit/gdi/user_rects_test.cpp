// Rectangle arithmetic, the classic system colours and the system metrics.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

constexpr RECT kAll{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kLeftHalf{INT_MIN, INT_MIN, 0, INT_MAX};

TEST(RectPairs, IntersectAndUnion) {
    const struct RectPairRow {
        const char* name;
        RECT a, b;
        BOOL intersects;
        RECT intersection, unionRect;
    } rows[] = {
        {"Overlap", {0, 0, 4, 4}, {2, 2, 6, 6}, TRUE, {2, 2, 4, 4}, {0, 0, 6, 6}},
        {"Touching", {0, 0, 4, 4}, {4, 0, 6, 4}, FALSE, {0, 0, 0, 0}, {0, 0, 6, 4}},
        {"EmptyOperand", {0, 0, 4, 4}, {5, 5, 5, 9}, FALSE, {0, 0, 0, 0}, {0, 0, 4, 4}},
        {"Extremes", kAll, kLeftHalf, TRUE, kLeftHalf, kAll},
    };
    for (const RectPairRow& r : rows) {
        SCOPED_TRACE(r.name);
        RECT out;
        EXPECT_EQ(r.intersects, IntersectRect(&out, &r.a, &r.b));
        EXPECT_TRUE(SameRect(r.intersection, out));
        UnionRect(&out, &r.a, &r.b);
        EXPECT_TRUE(SameRect(r.unionRect, out));
    }
}

TEST(Rects, PointsEmptinessOffsetAndInflate) {
    const RECT rc{0, 0, 2, 2}, flat{0, 0, 5, 0}, reversed{5, 5, 0, 0};
    for (POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{2, 1}, POINT{1, 2}})
        EXPECT_EQ(p.x < 2 && p.y < 2, PtInRect(&rc, p) != 0);
    EXPECT_TRUE(IsRectEmpty(&flat) && IsRectEmpty(&reversed) && !IsRectEmpty(&rc));
    RECT wrap{INT_MAX - 1, 0, INT_MAX, 1};  // offsets and insets wrap without overflow traps
    EXPECT_TRUE(OffsetRect(&wrap, 2, -1));
    EXPECT_TRUE(SameRect(RECT{INT_MIN, -1, INT_MIN + 1, 0}, wrap));
    EXPECT_TRUE(InflateRect(&wrap, -1, 2));
    EXPECT_TRUE(SameRect(RECT{INT_MIN + 1, -3, INT_MIN, 2}, wrap));
}

TEST(SysColors, ClassicSchemeAndStockBrushes) {
    // COLOR_HIGHLIGHT, the face and the 3D shades are checked where they are drawn.
    const std::pair<int, COLORREF> rows[] = {
        {COLOR_MENUTEXT, RGB(0, 0, 0)},   {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, {COLOR_MENU, RGB(212, 208, 200)},
        {COLOR_WINDOWTEXT, RGB(0, 0, 0)}, {COLOR_GRAYTEXT, RGB(128, 128, 128)},      {COLOR_WINDOW, RGB(255, 255, 255)},
        {COLOR_INFOBK, RGB(255, 255, 225)},
    };
    for (const auto& [index, colour] : rows) EXPECT_EQ(colour, GetSysColor(index)) << index;
    EXPECT_EQ(0u, GetSysColor(-1));
    EXPECT_EQ(0u, GetSysColor(31));

    const int before = rt::GdiObjectTotal();
    HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
    ASSERT_NE(nullptr, face);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(before, rt::GdiObjectTotal());
    kt::Surface c(1, 1);
    RECT rc{0, 0, 1, 1};
    FillRect(c.dc(), &rc, face);
    EXPECT_EQ(RGB(212, 208, 200), c.at(0, 0));
    EXPECT_EQ(nullptr, GetSysColorBrush(99));
}

// The default metrics at 96 DPI (the menu check mark with the menu font of DejaVu Sans
// at 11 pixels, which the Wine prefix sets).
TEST(SystemMetrics, DefaultValues) {
    const std::pair<int, int> rows[] = {{SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1},
                                        {SM_CXEDGE, 2},     {SM_CYEDGE, 2},     {SM_CYMENU, 19},  {SM_CXMENUCHECK, 13}};
    for (const auto& [index, value] : rows) EXPECT_EQ(value, GetSystemMetrics(index)) << index;
}

// The non-client metrics as Wine 8.0 gives them in that prefix: the menu font is the one
// the popups are laid out in; the dialog base height is the system font's. A missing
// structure is refused.
TEST(SystemMetrics, NonClientMetricsAndDialogBaseUnits) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    const std::pair<const char*, std::pair<int, int>> rows[] = {
        {"border", {ncm.iBorderWidth, 1}},         {"scroll width", {ncm.iScrollWidth, 17}},
        {"scroll height", {ncm.iScrollHeight, 17}}, {"caption height", {ncm.iCaptionHeight, 18}},
        {"small caption", {ncm.iSmCaptionHeight, 15}}, {"menu height", {ncm.iMenuHeight, 18}},
        {"padded border", {ncm.iPaddedBorderWidth, 0}}, {"menu font height", {ncm.lfMenuFont.lfHeight, -11}},
    };
    for (const auto& [name, got_want] : rows) EXPECT_EQ(got_want.second, got_want.first) << name;
    HDC dc = GetDC(nullptr);
    const HFONT menu_font = CreateFontIndirectW(&ncm.lfMenuFont);
    const HGDIOBJ old = SelectObject(dc, menu_font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(L"DejaVu Sans", face);
    SelectObject(dc, old);
    DeleteObject(menu_font);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(16, HIWORD(GetDialogBaseUnits()));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), nullptr, 0));
}

}  // namespace
