// Malformed BMP files: each is refused with a message and without leaking a bitmap.
// Ends with a deterministic random-mutation loop (the sanitizer build makes it a
// small fuzzing run).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "pixels.h"

namespace {

using namespace bmptest;
using Bytes = std::vector<uint8_t>;

// Small valid files that the cases below break.
Bytes Palette8File() {  // 2 x 2, 8 bits, 256-entry palette
    return BuildBmp({40, 2, 2, 8, BI_RGB, 0, std::vector<uint32_t>(256, 0x336699), {},
                     PackRows(8, {{0, 1}, {2, 3}}, false)});
}
Bytes Rgb24File() {  // 3 x 2: rows of 12 bytes, 24 bytes of pixels at offset 54, 78 bytes in all
    return BuildBmp({40, 3, 2, 24, BI_RGB, 0, {}, {}, PackRows(24, {{1, 2, 3}, {4, 5, 6}}, false)});
}
Bytes CoreFile() {  // 12-byte header: the bit count is the WORD at offset 24
    return BuildBmp({12, 2, 1, 24, BI_RGB, 0, {}, {}, PackRows(24, {{1, 2}}, false)});
}
Bytes Bitfields16File(std::vector<uint32_t> masks = {0xF800, 0x07E0, 0x001F}, uint32_t headerSize = 40) {
    return BuildBmp({headerSize, 2, 1, 16, BI_BITFIELDS, 0, {}, masks, PackRows(16, {{0x1234, 0xFFFF}}, false)});
}
Bytes RleFile(uint32_t compression, int width, int height, Bytes stream) {
    const bool rle8 = compression == BI_RLE8;
    return BuildBmp({40, width, height, uint16_t(rle8 ? 8 : 4), compression, 0,
                     std::vector<uint32_t>(rle8 ? 256 : 16, 0xFFFFFF), {}, stream});
}

Bytes With(Bytes file, size_t at, uint32_t value, int bytes = 4) {
    (bytes == 2 ? PutU16 : PutU32)(file, at, value);
    return file;
}

Bytes Cut(Bytes file, size_t size) {
    file.resize(size);
    return file;
}

struct CorruptCase {
    const char* name;
    Bytes file;
    const char* expectedError;  // a part of the message
};

const CorruptCase kCorruptCases[] = {
    {"empty", Bytes{}, "file too short"},
    {"bad_magic", With(Rgb24File(), 0, 'B' | ('X' << 8), 2), "not a BMP file"},
    {"truncated_info_header", Cut(Rgb24File(), 30), "truncated info header: need 40 bytes at offset 14"},
    {"header_size_64", With(Rgb24File(), kHeaderSize, 64), "unsupported info header size 64"},
    {"zero_width", With(Rgb24File(), kWidth, 0), "bad width 0"},
    {"zero_height", With(Rgb24File(), kHeight, 0), "bad height 0"},
    {"huge_width", With(Rgb24File(), kWidth, 20000), "exceed the limit of 16384"},
    {"most_negative_height", With(Rgb24File(), kHeight, 0x80000000u), "exceed the limit"},
    {"too_many_pixels", With(With(Rgb24File(), kWidth, 16384), kHeight, 8192), "pixels"},
    {"planes_2", With(Rgb24File(), kPlanes, 2, 2), "biPlanes is 2"},
    {"bit_count_7", With(Rgb24File(), kBitCount, 7, 2), "unsupported bit count 7"},
    {"core_header_16bpp", With(CoreFile(), 24, 16, 2), "unsupported bit count 16"},
    {"compression_jpeg", With(Rgb24File(), kCompression, 4), "unsupported compression 4"},
    {"rle8_on_24bpp", With(Rgb24File(), kCompression, BI_RLE8), "RLE8 compression needs 8-bit"},
    {"bitfields_on_8bpp", With(Palette8File(), kCompression, BI_BITFIELDS), "BI_BITFIELDS needs"},
    {"truncated_palette", Cut(Palette8File(), 14 + 40 + 100),
     "truncated palette: need 1024 bytes at offset 54, file has 154"},
    {"clr_used_past_depth", With(Palette8File(), kClrUsed, 300), "biClrUsed 300 exceeds"},
    {"off_bits_past_end", With(Rgb24File(), kOffBits, 5000), "past the end of the file"},
    {"off_bits_into_headers", With(Rgb24File(), kOffBits, 20), "points into the headers"},
    {"truncated_pixels", Cut(Rgb24File(), 77), "truncated pixel data: need 24 bytes at offset 54, file has 77"},
    {"truncated_masks", Cut(Bitfields16File(), 14 + 40 + 6), "truncated bitfield masks"},
    {"masks_overlap", Bitfields16File({0xF800, 0x0FE0, 0x001F}), "overlap"},
    {"mask_not_contiguous", Bitfields16File({0xA000, 0x07E0, 0x001F}), "not contiguous"},
    {"mask_wider_than_pixel", Bitfields16File({0x1F0000, 0x07E0, 0x001F}, 108), "does not fit"},
    {"masks_all_zero", Bitfields16File({0, 0, 0}, 124), "all zero"},
    {"rle_top_down", With(RleFile(BI_RLE8, 2, 1, {2, 1, 0, 1}), kHeight, uint32_t(-1)), "must be bottom-up"},
    {"rle8_run_past_row_end", RleFile(BI_RLE8, 4, 1, {5, 1, 0, 1}), "runs past the row end"},
    {"rle4_run_past_row_end", RleFile(BI_RLE4, 3, 1, {4, 0x11, 0, 1}), "runs past the row end"},
    {"rle8_past_image_end", RleFile(BI_RLE8, 2, 1, {2, 1, 0, 0, 1, 1, 0, 1}), "past the top of the image"},
    {"rle8_delta_past_top", RleFile(BI_RLE8, 2, 2, {0, 2, 0, 2, 0, 1}), "delta moves outside"},
    {"rle8_delta_past_row_end", RleFile(BI_RLE8, 2, 2, {0, 2, 3, 0, 0, 1}), "delta moves outside"},
    {"rle8_truncated_code", RleFile(BI_RLE8, 2, 1, {2}), "truncated RLE code"},
    {"rle8_truncated_delta", RleFile(BI_RLE8, 2, 2, {0, 2, 1}), "truncated RLE delta"},
    {"rle8_truncated_absolute", RleFile(BI_RLE8, 4, 1, {0, 4, 1, 2}), "truncated RLE absolute run"},
    {"rle8_missing_end_of_bitmap", RleFile(BI_RLE8, 2, 2, {2, 1}), "without an end-of-bitmap"},
    {"rle_size_image_past_end", With(RleFile(BI_RLE8, 2, 1, {2, 1, 0, 1}), kSizeImage, 1000),
     "truncated RLE data: need 1000 bytes"},
    {"rle_implausibly_short", RleFile(BI_RLE8, 16384, 1024, {0, 1}), "implausibly short"},
};

TEST(BmpCorrupt, RefusedWithAMessageAndNoLeak) {
    const int bitmapsBefore = rt::GdiObjectCount(OBJ_BITMAP);
    for (const CorruptCase& c : kCorruptCases) {
        std::string error;
        HBITMAP h = rt::LoadBmpMemory(c.file.data(), c.file.size(), &error);
        EXPECT_EQ(nullptr, h) << c.name;
        EXPECT_NE(std::string::npos, error.find(c.expectedError)) << c.name << ": " << error;
        if (h) DeleteObject(h);
    }
    EXPECT_EQ(bitmapsBefore, rt::GdiObjectCount(OBJ_BITMAP));
}

TEST(BmpCorrupt, NullDataAndNullErrorAreSafe) {
    std::string error;
    EXPECT_EQ(nullptr, rt::LoadBmpMemory(nullptr, 0, &error));
    EXPECT_NE(std::string::npos, error.find("file too short")) << error;
    EXPECT_EQ(nullptr, rt::LoadBmpMemory(nullptr, 100, &error));
    EXPECT_EQ("no data", error);
    const Bytes bad = Cut(Rgb24File(), 77);
    EXPECT_EQ(nullptr, rt::LoadBmpMemory(bad.data(), bad.size()));
}

TEST(BmpCorrupt, FileErrorsCarryThePathAndTheReason) {
    std::string error;
    EXPECT_EQ(nullptr, rt::LoadBmpFile("/nonexistent/dir/x.bmp", &error));
    EXPECT_NE(std::string::npos, error.find("/nonexistent/dir/x.bmp")) << error;
    const std::string path = kt::OutputPath("image/corrupt/truncated.bmp");
    const Bytes bad = Cut(Rgb24File(), 77);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), std::streamsize(bad.size()));
    EXPECT_EQ(nullptr, rt::LoadBmpFile(path, &error));
    EXPECT_EQ(path + ": truncated pixel data: need 24 bytes at offset 54, file has 77", error);
}

}  // namespace
