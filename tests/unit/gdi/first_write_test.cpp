// A new compatible bitmap is black to every reader, whatever touches it first: a write
// that covers part of it, all of it, or reads what it covers. Its storage is taken dirty
// first (a white bitmap of the same size is deleted just before), so a black that was
// never stored shows white.
#include "gdi_test_util.h"
#include "platform.h"

using namespace gt;

namespace {

constexpr int kW = 6, kH = 4;

enum class Reader { DibBits, Pixel, BlitOut, BitmapBits };

struct FirstWriteRow {
    const char* name;
    void (*write)(HDC dc, HDC red);  // red: a memory DC holding a 6x4 red bitmap
    RECT written;                    // where the first write leaves `colour`; black elsewhere
    COLORREF colour;
    Reader reader;
};
GT_PRINT_ROW_NAME(FirstWriteRow)

// The bitmap's pixels, top-down, through the row's reader.
std::vector<COLORREF> Read(HDC dc, HBITMAP bmp, Reader reader) {
    std::vector<COLORREF> out;
    if (reader == Reader::Pixel) {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(GetPixel(dc, x, y));
        return out;
    }
    if (reader == Reader::BlitOut) {
        kt::Surface copy(kW, kH, kWhite);
        BitBlt(copy.dc(), 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(copy.at(x, y));
        return out;
    }
    if (reader == Reader::BitmapBits) {
        std::vector<uint32_t> bits(kW * kH);
        EXPECT_EQ(LONG(bits.size() * 4), GetBitmapBits(bmp, LONG(bits.size() * 4), bits.data()));
        for (uint32_t p : bits) out.push_back(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
        return out;
    }
    kt::Image img;
    EXPECT_TRUE(kt::ReadBitmap(bmp, &img));
    return img.pixels;
}

class FirstWrite : public ::testing::TestWithParam<FirstWriteRow> {};

TEST_P(FirstWrite, LeavesTheRestBlack) {
    const FirstWriteRow& r = GetParam();
    HDC dc = CreateCompatibleDC(nullptr);
    kt::Surface screenLike(1, 1);
    HBITMAP dirty = CreateCompatibleBitmap(screenLike.dc(), kW, kH);
    HGDIOBJ old = SelectObject(dc, dirty);
    PatBlt(dc, 0, 0, kW, kH, WHITENESS);
    SelectObject(dc, old);
    DeleteObject(dirty);

    HBITMAP bmp = CreateCompatibleBitmap(screenLike.dc(), kW, kH);
    old = SelectObject(dc, bmp);
    kt::Surface red(kW, kH, kRed);
    r.write(dc, red.dc());
    const std::vector<COLORREF> pixels = Read(dc, bmp, r.reader);
    ASSERT_EQ(size_t(kW * kH), pixels.size());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const POINT pt{x, y};
            EXPECT_EQ(PtInRect(&r.written, pt) ? r.colour : kBlack, pixels[size_t(y * kW + x)]) << x << "," << y;
        }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

void Nothing(HDC, HDC) {}
void RedBrush(HDC dc, int x, int y, int w, int h) {
    HGDIOBJ old = SelectObject(dc, CreateSolidBrush(kRed));
    PatBlt(dc, x, y, w, h, PATCOPY);
    DeleteObject(SelectObject(dc, old));
}
void FillSolid(HDC dc, const RECT& rc) { CDC::FromHandle(dc)->FillSolidRect(&rc, kRed); }

INSTANTIATE_TEST_SUITE_P(
    Gdi, FirstWrite,
    ::testing::Values(
        FirstWriteRow{"NothingReadAsDib", Nothing, {}, kRed, Reader::DibBits},
        FirstWriteRow{"NothingReadByPixel", Nothing, {}, kRed, Reader::Pixel},
        FirstWriteRow{"NothingBlittedOut", Nothing, {}, kRed, Reader::BlitOut},
        FirstWriteRow{"NothingReadAsBitmapBits", Nothing, {}, kRed, Reader::BitmapBits},
        FirstWriteRow{"PatternOverPart", [](HDC dc, HDC) { RedBrush(dc, 1, 1, 3, 2); }, {1, 1, 4, 3}, kRed,
                      Reader::DibBits},
        FirstWriteRow{"PatternOverAll", [](HDC dc, HDC) { RedBrush(dc, -1, -1, kW + 2, kH + 2); }, {0, 0, kW, kH},
                      kRed, Reader::DibBits},
        FirstWriteRow{"InvertedWhole", [](HDC dc, HDC) { PatBlt(dc, 0, 0, kW, kH, DSTINVERT); }, {0, 0, kW, kH},
                      kWhite, Reader::BlitOut},
        FirstWriteRow{"CopyOverPart", [](HDC dc, HDC red) { BitBlt(dc, 2, 0, 2, 3, red, 0, 0, SRCCOPY); },
                      {2, 0, 4, 3}, kRed, Reader::Pixel},
        FirstWriteRow{"CopyOverAll", [](HDC dc, HDC red) { BitBlt(dc, 0, 0, kW, kH, red, 0, 0, SRCCOPY); },
                      {0, 0, kW, kH}, kRed, Reader::DibBits},
        FirstWriteRow{"AndedWhole", [](HDC dc, HDC red) { BitBlt(dc, 0, 0, kW, kH, red, 0, 0, SRCAND); },
                      {0, 0, kW, kH}, kBlack, Reader::DibBits},
        FirstWriteRow{"StretchOverPart",
                      [](HDC dc, HDC red) { StretchBlt(dc, 0, 1, 4, 2, red, 0, 0, 2, 1, SRCCOPY); }, {0, 1, 4, 3},
                      kRed, Reader::BitmapBits},
        FirstWriteRow{"StretchOverAll",
                      [](HDC dc, HDC red) { StretchBlt(dc, 0, 0, kW, kH, red, 0, 0, 3, 2, SRCCOPY); },
                      {0, 0, kW, kH}, kRed, Reader::DibBits},
        FirstWriteRow{"KeyedOverAll",  // every source pixel is the key: nothing is drawn
                      [](HDC dc, HDC red) { TransparentBlt(dc, 0, 0, kW, kH, red, 0, 0, kW, kH, kRed); }, {},
                      kRed, Reader::DibBits},
        FirstWriteRow{"SolidFillOverPart", [](HDC dc, HDC) { FillSolid(dc, RECT{0, 0, 5, 4}); }, {0, 0, 5, 4}, kRed,
                      Reader::DibBits},
        FirstWriteRow{"SolidFillOverAll", [](HDC dc, HDC) { FillSolid(dc, RECT{0, 0, kW, kH}); }, {0, 0, kW, kH},
                      kRed, Reader::Pixel}),
    kRowName);

}  // namespace
