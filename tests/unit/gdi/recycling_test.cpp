// The runtime's object accounting and its own limits, and recycled handle slots, object
// memory and pixel storage: a new object must never show what the deleted one held, and
// the deleted one's handle must stay dead.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

// Each kind is made, deleted and made again: the second object reuses the first's slot
// and memory, and the first handle must still be refused everywhere.
TEST(StaleHandles, RefusedAfterTheSlotIsReused) {
    const struct StaleRow {
        const char* name;
        DWORD type;
        HGDIOBJ (*make)();
    } rows[] = {
        {"MemoryDc", OBJ_MEMDC, [] { return HGDIOBJ(CreateCompatibleDC(nullptr)); }},
        {"Bitmap", OBJ_BITMAP, [] { return HGDIOBJ(CreateBitmap(5, 4, 1, 32, nullptr)); }},
        {"Pen", OBJ_PEN, [] { return HGDIOBJ(CreatePen(PS_SOLID, 1, kRed)); }},
        {"Brush", OBJ_BRUSH, [] { return HGDIOBJ(CreateSolidBrush(kRed)); }},
        {"Font", OBJ_FONT, [] { return HGDIOBJ(CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"")); }},
        {"Region", OBJ_REGION, [] { return HGDIOBJ(CreateRectRgn(0, 0, 3, 3)); }},
    };
    for (const StaleRow& r : rows) {
        SCOPED_TRACE(r.name);
        const int before = rt::GdiObjectTotal();
        HGDIOBJ first = r.make();
        ASSERT_EQ(r.type, GetObjectType(first));
        EXPECT_EQ(1, rt::GdiObjectCount(r.type == OBJ_MEMDC ? OBJ_DC : r.type));
        EXPECT_TRUE(r.type == OBJ_MEMDC ? DeleteDC(HDC(first)) : DeleteObject(first));
        HGDIOBJ second = r.make();
        ASSERT_EQ(r.type, GetObjectType(second));
        EXPECT_NE(first, second);
        EXPECT_EQ(before + 1, rt::GdiObjectTotal());

        EXPECT_EQ(0u, GetObjectType(first));
        EXPECT_EQ(0, GetObject(first, 0, nullptr));
        EXPECT_FALSE(DeleteObject(first));
        EXPECT_FALSE(DeleteDC(HDC(first)));
        HDC probe = CreateCompatibleDC(nullptr);
        EXPECT_EQ(nullptr, SelectObject(probe, first));
        EXPECT_EQ(nullptr, SelectObject(HDC(first), GetStockObject(BLACK_PEN)));
        DeleteDC(probe);

        EXPECT_EQ(r.type, GetObjectType(second));  // the failed calls left the new object alone
        EXPECT_TRUE(r.type == OBJ_MEMDC ? DeleteDC(HDC(second)) : DeleteObject(second));
        EXPECT_EQ(before, rt::GdiObjectTotal());
    }
}

TEST(Objects, StockObjectsAreUncountedAndThereAreNoPalettes) {
    const int before = rt::GdiObjectTotal();
    for (int i = WHITE_BRUSH; i <= DC_PEN; ++i) DeleteObject(GetStockObject(i));
    EXPECT_EQ(before, rt::GdiObjectTotal());
    EXPECT_EQ(nullptr, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(nullptr, GetStockObject(20));  // past the last stock object
}

// Only 1- and 32-bit bitmaps are made, no side below zero, and no more than 64 Mpixels.
TEST(Bitmaps, UnsupportedFormatsFail) {
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pv, nullptr, 0));
    EXPECT_EQ(nullptr, pv);
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biHeight = INT_MIN;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pv, nullptr, 0));
    EXPECT_EQ(nullptr, CreateBitmap(2, 2, 1, 8, nullptr));
    EXPECT_EQ(nullptr, CreateBitmap(-2, 2, 1, 32, nullptr));
    EXPECT_EQ(nullptr, CreateBitmap(1 << 26, 2, 1, 32, nullptr));
    EXPECT_EQ(0, rt::GdiObjectCount(OBJ_BITMAP));
}

}  // namespace
