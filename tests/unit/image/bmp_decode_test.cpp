// Decoding of valid BMP files: every depth, header size and compression, both row
// orders, checked pixel by pixel against hand-worked colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmp_builder.h"
#include "pixels.h"

namespace {

using bmptest::BmpSpec;
using bmptest::BuildBmp;
using bmptest::PackRows;
using Grid = std::vector<std::vector<COLORREF>>;  // top row first

constexpr COLORREF K = RGB(0, 0, 0);
constexpr COLORREF W = RGB(255, 255, 255);

Grid Pixels(HBITMAP h) {
    kt::Image img;
    if (!kt::ReadBitmap(h, &img)) return {};
    Grid g(size_t(img.height), std::vector<COLORREF>(size_t(img.width)));
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) g[size_t(y)][size_t(x)] = img.at(x, y);
    return g;
}

COLORREF FromRrggbb(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Palettes whose entries are easy to work out by hand.
std::vector<uint32_t> Palette16() {  // i -> RGB(17 i, 255 - 17 i, i)
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < 16; ++i) p.push_back((17 * i << 16) | ((255 - 17 * i) << 8) | i);
    return p;
}
std::vector<uint32_t> Palette256() {  // i -> RGB(i, 255 - i, i / 2)
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < 256; ++i) p.push_back((i << 16) | ((255 - i) << 8) | (i / 2));
    return p;
}

struct DecodeCase {
    const char* name;
    uint32_t headerSize;
    uint16_t bitCount;
    uint32_t compression;
    bool topDown;
    std::vector<uint32_t> palette;
    uint32_t clrUsed;
    std::vector<uint32_t> masks;
    std::vector<std::vector<uint32_t>> rawRows;  // top row first: indexes or raw pixel words
    Grid expected;
};

const std::vector<uint32_t> kTwoColours = {0x102030, 0xFFEEDD};
constexpr COLORREF A = RGB(0x10, 0x20, 0x30);
constexpr COLORREF B = RGB(0xFF, 0xEE, 0xDD);
const std::vector<uint32_t> k565 = {0xF800, 0x07E0, 0x001F};
const std::vector<std::vector<uint32_t>> k565Rows = {{0xFFFF, 0x07E0, 0x0020}, {0x8000, 0x001F, 0x0841}};
const Grid k565Expected = {{W, RGB(0, 255, 0), RGB(0, 4, 0)}, {RGB(132, 0, 0), RGB(0, 0, 255), RGB(8, 8, 8)}};
const std::vector<std::vector<uint32_t>> kIndex8Rows = {{0, 128, 255}, {7, 200, 1}};
const Grid kIndex8Expected = {{RGB(0, 255, 0), RGB(128, 127, 64), RGB(255, 0, 127)},
                              {RGB(7, 248, 3), RGB(200, 55, 100), RGB(1, 254, 0)}};
const std::vector<std::vector<uint32_t>> kRgb24Rows = {{0x112233, 0xFFFFFF, 0x000000}, {0xABCDEF, 0x010203, 0x808080}};
const Grid kRgb24Expected = {{RGB(0x11, 0x22, 0x33), W, K}, {RGB(0xAB, 0xCD, 0xEF), RGB(1, 2, 3), RGB(128, 128, 128)}};

const std::vector<std::vector<uint32_t>> kOneBitRows = {{1, 0, 1}, {0, 1, 1}};
const std::vector<std::vector<uint32_t>> kIndex4Rows = {{15, 0, 9}, {1, 2, 3}};
const Grid kIndex4Expected = {{RGB(255, 0, 15), RGB(0, 255, 0), RGB(153, 102, 9)},
                              {RGB(17, 238, 1), RGB(34, 221, 2), RGB(51, 204, 3)}};
constexpr COLORREF R = RGB(255, 0, 0), G = RGB(0, 255, 0), U = RGB(0, 0, 255);

const std::vector<std::vector<uint32_t>> k555Rows = {{0xFFFF, 0x7C00, 0x0010}, {0x03E0, 0x0001, 0x0000}};
const Grid k555Expected = {{W, R, RGB(0, 0, 132)}, {G, RGB(0, 0, 8), K}};
const std::vector<std::vector<uint32_t>> kXrgbRows = {{0xFF112233, 0x00ABCDEF, 0x80FFFFFF}, {0, 1, 2}};
const Grid kXrgbExpected = {{RGB(0x11, 0x22, 0x33), RGB(0xAB, 0xCD, 0xEF), W}, {K, RGB(0, 0, 1), RGB(0, 0, 2)}};
const std::vector<uint32_t> kRgbaMasks = {0x000000FF, 0x0000FF00, 0x00FF0000};
const std::vector<std::vector<uint32_t>> kRgbaRows = {{0x00332211, 0xFF0000FF, 0x00FF0000},
                                                      {0x0000FF00, 0xFF000000, 0x00FFFFFF}};
const Grid kRgbaExpected = {{RGB(0x11, 0x22, 0x33), R, U}, {G, K, W}};
const std::vector<uint32_t> k1010Masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
const std::vector<std::vector<uint32_t>> k1010Rows = {{0x3FF00000, 0x00080000, 0x000003FF},
                                                      {0x00000004, 0x40000000, 0x3FFFFFFF}};
const Grid k1010Expected = {{R, RGB(0, 128, 0), U}, {RGB(0, 0, 1), K, W}};

const DecodeCase kDecodeCases[] = {
    {"1bpp_core", 12, 1, BI_RGB, false, kTwoColours, 0, {}, kOneBitRows, {{B, A, B}, {A, B, B}}},
    // Index 1 is past a one-entry palette: black.
    {"1bpp_index_past_palette_is_black", 40, 1, BI_RGB, false, {0x102030}, 1, {}, kOneBitRows, {{K, A, K}, {A, K, K}}},
    {"4bpp_full_palette_v4_top_down", 108, 4, BI_RGB, true, Palette16(), 0, {}, kIndex4Rows, kIndex4Expected},
    {"8bpp_v5_bottom_up", 124, 8, BI_RGB, false, Palette256(), 256, {}, kIndex8Rows, kIndex8Expected},
    // 5-5-5, the top bit ignored; 5-bit channels widen by bit replication (16 -> 132, 1 -> 8).
    {"16bpp_555", 40, 16, BI_RGB, false, {}, 0, {}, k555Rows, k555Expected},
    {"16bpp_565_masks_after_info", 40, 16, BI_BITFIELDS, false, {}, 0, k565, k565Rows, k565Expected},
    {"16bpp_565_v2_header", 52, 16, BI_BITFIELDS, true, {}, 0, k565, k565Rows, k565Expected},
    {"24bpp_info_bottom_up", 40, 24, BI_RGB, false, {}, 0, {}, kRgb24Rows, kRgb24Expected},
    // The fourth byte (alpha or padding) is dropped.
    {"32bpp_rgb_drops_x_byte", 40, 32, BI_RGB, false, {}, 0, {}, kXrgbRows, kXrgbExpected},
    {"32bpp_bitfields_rgba_order", 40, 32, BI_BITFIELDS, false, {}, 0, kRgbaMasks, kRgbaRows, kRgbaExpected},
    // 10-bit channels keep their top 8 bits (512 -> 128); bits outside the masks are ignored.
    {"32bpp_bitfields_10_10_10_v5_top_down", 124, 32, BI_BITFIELDS, true, {}, 0, k1010Masks, k1010Rows, k1010Expected},
};

TEST(BmpDecode, PixelsMatchHandWorkedColours) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = BuildBmp(BmpSpec{c.headerSize, int32_t(c.rawRows[0].size()),
                                                           int32_t(c.rawRows.size()) * (c.topDown ? -1 : 1), c.bitCount,
                                                           c.compression, c.clrUsed, c.palette, c.masks,
                                                           PackRows(c.bitCount, c.rawRows, c.topDown), false});
        std::string error = "stale";
        HBITMAP h = rt::LoadBmpMemory(file.data(), file.size(), &error);
        ASSERT_NE(nullptr, h) << error;
        EXPECT_EQ("", error);
        EXPECT_EQ(c.expected, Pixels(h));
        BITMAP bm{};
        ASSERT_EQ(int(sizeof bm), GetObjectW(h, sizeof bm, &bm));
        EXPECT_EQ(32, bm.bmBitsPixel);
        EXPECT_NE(nullptr, bm.bmBits) << "the result is a DIB section";
        DeleteObject(h);
    }
}

// ---- RLE ------------------------------------------------------------------------------------------
struct RleCase {
    const char* name;
    uint32_t compression;
    int width, height;
    std::vector<uint8_t> stream;
    std::vector<std::vector<int>> expectedIndexes;  // top row first; -1: skipped, stays black
    bool sizeImageZero = false;                     // biSizeImage 0: read to the end of the file
};

const RleCase kRleCases[] = {
    // Bottom row: run of 3, end of line. Next: absolute 2,3,1 (+1 pad byte), run of 1,
    // end of line. Next: run of 1, delta (+2, +1), run of 1, end of bitmap.
    {"rle8_runs_absolute_delta", BI_RLE8, 4, 4,
     {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 1, 2, 0, 0, 1, 3, 0, 2, 2, 1, 1, 1, 0, 1},
     {{-1, -1, -1, 1}, {3, -1, -1, -1}, {2, 3, 1, 2}, {1, 1, 1, -1}}},
    // Every row closed by end of line and the stream stops there: the whole image is described.
    {"rle8_ends_after_last_end_of_line", BI_RLE8, 2, 2, {2, 5, 0, 0, 1, 6, 1, 7, 0, 0}, {{6, 7}, {5, 5}}},
    {"rle8_even_absolute_run_has_no_pad", BI_RLE8, 4, 1, {0, 4, 9, 8, 7, 6, 0, 1}, {{9, 8, 7, 6}}},
    // A run of 5 alternates the two nibbles; the absolute run of 3 nibbles is 2 bytes, even.
    {"rle4_run_and_absolute", BI_RLE4, 5, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 1},
     {{3, 4, 5, 6, 7}, {1, 2, 1, 2, 1}}},
    // 5 nibbles take 3 bytes, padded to 4; then a delta straight up one row.
    {"rle4_absolute_with_pad_and_delta", BI_RLE4, 6, 2, {0, 5, 0xAB, 0xCD, 0xE0, 0, 0, 2, 0, 1, 1, 0xF0, 0, 1},
     {{-1, -1, -1, -1, -1, 15}, {10, 11, 12, 13, 14, -1}}},
    {"rle8_zero_size_image_reads_to_the_end_of_the_file", BI_RLE8, 2, 1, {2, 255, 0, 1}, {{255, 255}}, true},
};

TEST(RleDecode, PixelsMatchTheStream) {
    for (const RleCase& c : kRleCases) {
        SCOPED_TRACE(c.name);
        const bool rle8 = c.compression == BI_RLE8;
        BmpSpec spec{40, c.width, c.height, uint16_t(rle8 ? 8 : 4), c.compression, 0,
                     rle8 ? Palette256() : Palette16(), {}, c.stream, c.sizeImageZero};
        const std::vector<uint8_t> file = BuildBmp(spec);
        Grid expected;
        for (const auto& row : c.expectedIndexes) {
            expected.emplace_back();
            for (int i : row) expected.back().push_back(i < 0 ? K : FromRrggbb(spec.palette[size_t(i)]));
        }
        std::string error;
        HBITMAP h = rt::LoadBmpMemory(file.data(), file.size(), &error);
        ASSERT_NE(nullptr, h) << error;
        EXPECT_EQ(expected, Pixels(h));
        DeleteObject(h);
    }
}

}  // namespace
