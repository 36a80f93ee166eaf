// The GDI wrappers' object accounting: each wrapper, handle map and DC class gives back
// exactly the objects it made (the runtime's per-kind object counts).
#include <gtest/gtest.h>

#include "platform.h"
#include "win32/runtime_ext.h"

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0);

HFONT MakeRawFont() {
    CFont font;
    font.CreatePointFont(90, L"DejaVu Sans");
    return static_cast<HFONT>(font.Detach());  // nobody wraps it now
}

TEST(GdiLifetimes, WrappersReturnObjectCountsToBaseline) {
    struct Row {
        const char* name;
        DWORD kind;
        int (*count_while_alive)(DWORD kind);
    };
    const Row rows[] = {
        {"pen", OBJ_PEN, [](DWORD k) { CPen pen(PS_SOLID, 2, kRed); return rt::GdiObjectCount(k); }},
        {"brush", OBJ_BRUSH, [](DWORD k) { CBrush brush(kRed); return rt::GdiObjectCount(k); }},
        {"font", OBJ_FONT, [](DWORD k) { CFont f; f.CreatePointFont(100, L"DejaVu Sans"); return rt::GdiObjectCount(k); }},
        {"bitmap", OBJ_BITMAP, [](DWORD k) { CBitmap b; b.CreateBitmap(4, 4, 1, 32, nullptr); return rt::GdiObjectCount(k); }},
        {"region", OBJ_REGION, [](DWORD k) { CRgn rgn; rgn.CreateRectRgn(0, 0, 5, 5); return rt::GdiObjectCount(k); }},
        {"memory dc", OBJ_DC, [](DWORD k) { CDC dc; dc.CreateCompatibleDC(nullptr); return rt::GdiObjectCount(k); }},
        {"heap pen deleted explicitly", OBJ_PEN,
         [](DWORD k) {
             CPen* pen = new CPen(PS_DOT, 1, kRed);
             const int n = rt::GdiObjectCount(k);
             delete pen;
             return n;
         }},
    };
    for (const Row& r : rows) {
        const int before = rt::GdiObjectCount(r.kind);
        EXPECT_EQ(before + 1, r.count_while_alive(r.kind)) << r.name;
        EXPECT_EQ(before, rt::GdiObjectCount(r.kind)) << r.name;
    }
}

TEST(GdiLifetimes, DeleteObjectAndDetach) {
    const int before = rt::GdiObjectCount(OBJ_BRUSH);
    CBrush brush;
    EXPECT_FALSE(brush.DeleteObject());  // nothing attached
    brush.CreateSolidBrush(kRed);
    HBRUSH h = brush;
    EXPECT_EQ(h, brush.Detach());
    EXPECT_EQ(before + 1, rt::GdiObjectCount(OBJ_BRUSH));  // detaching keeps the handle
    brush.Attach(h);
    EXPECT_TRUE(brush.DeleteObject());
    EXPECT_EQ(before, rt::GdiObjectCount(OBJ_BRUSH));
}

TEST(HandleMaps, SelectObjectHandsBackThePermanentFont) {
    const int before = rt::GdiObjectCount(OBJ_FONT);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CFont* first = new CFont;
    CFont* second = new CFont;
    first->CreatePointFont(90, L"DejaVu Sans");
    second->CreatePointFont(120, L"DejaVu Sans");
    CFont* dc_font = dc.SelectObject(first);  // the DC's stock font: a temporary wrapper
    ASSERT_NE(nullptr, dc_font);
    EXPECT_NE(first, dc_font);
    const HFONT dc_font_handle = *dc_font;

    CFont* handed_back = dc.SelectObject(second);
    EXPECT_EQ(first, handed_back);  // the very object that created the font
    delete handed_back;             // and deleting it deletes the font
    EXPECT_EQ(before + 1, rt::GdiObjectCount(OBJ_FONT));
    EXPECT_EQ(second, dc.GetCurrentFont());
    EXPECT_EQ(second, dc.SelectObject(CFont::FromHandle(dc_font_handle)));
    delete second;
    EXPECT_EQ(before, rt::GdiObjectCount(OBJ_FONT));
    AfxDeleteTempMaps();
    EXPECT_EQ(DWORD(OBJ_FONT), ::GetObjectType(dc_font_handle));  // the stock font lives on
}

TEST(HandleMaps, DeletingATemporaryDeletesItsHandle) {
    const HFONT h = MakeRawFont();
    const int before = rt::GdiObjectCount(OBJ_FONT);
    delete CFont::FromHandle(h);
    EXPECT_EQ(before - 1, rt::GdiObjectCount(OBJ_FONT));
    AfxDeleteTempMaps();  // must not free the wrapper a second time

    const HFONT h2 = MakeRawFont();
    CFont::FromHandle(h2)->Detach();  // a detached temporary is still freed by the cleanup
    AfxDeleteTempMaps();
    EXPECT_EQ(before, rt::GdiObjectCount(OBJ_FONT));
    ::DeleteObject(h2);
}

}  // namespace
