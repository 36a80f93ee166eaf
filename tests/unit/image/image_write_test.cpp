// Writing BMP and PNG files, reading them back, LoadImageW, and the golden-image
// comparison of the test support.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "pixels.h"
#include "utf8.h"

namespace {

// A pattern where every pixel differs from its neighbours and the row order matters.
void DrawPattern(kt::Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.set(x, y, RGB(x * 40, y * 50, (x * 7 + y * 13) & 0xFF));
}

kt::Image ImageOf(const kt::Surface& s) {
    kt::Image img;
    img.width = s.width();
    img.height = s.height();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) img.pixels.push_back(s.at(x, y));
    return img;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

// A 1-bit device bitmap with the given rows ('#' white, '.' black).
HBITMAP MonoBitmap(const std::vector<std::string>& rows) {
    const int w = int(rows[0].size()), h = int(rows.size());
    const int rowBytes = (w + 15) / 16 * 2;  // device bitmaps pad rows to 16 bits
    std::vector<uint8_t> bits(size_t(rowBytes * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (rows[size_t(y)][size_t(x)] == '#') bits[size_t(y * rowBytes + x / 8)] |= uint8_t(0x80 >> (x % 8));
    return CreateBitmap(w, h, 1, 1, bits.data());
}

// ---- round trips ------------------------------------------------------------------------------
struct SizeCase {
    const char* name;
    int width, height;  // widths 1..5 cover every 24-bit row padding
};
void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}
const SizeCase kSizes[] = {{"1x1", 1, 1}, {"2x3", 2, 3}, {"3x2", 3, 2}, {"5x4", 5, 4}, {"17x9", 17, 9}};

class ImageRoundTrip : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ImageRoundTrip, BmpSavedThenLoadedIsIdentical) {
    kt::Surface s(GetParam().width, GetParam().height);
    DrawPattern(s);
    const std::string path = kt::OutputPath(std::string("image/roundtrip/") + GetParam().name + ".bmp");
    std::string error = "stale";
    ASSERT_TRUE(rt::SaveBmpFile(s.bitmap(), path, &error)) << error;
    EXPECT_EQ("", error);

    const std::vector<uint8_t> file = FileBytes(path);
    const uint32_t rowBytes = (uint32_t(GetParam().width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(54 + rowBytes * uint32_t(GetParam().height), file.size());
    EXPECT_EQ(file.size(), U32At(file, 2)) << "bfSize";
    EXPECT_EQ(24u, uint32_t(file[28])) << "24 bits per pixel";
    EXPECT_EQ(uint32_t(GetParam().height), U32At(file, 22)) << "bottom-up rows";

    const int bitmapsBefore = rt::GdiObjectCount(OBJ_BITMAP);
    HBITMAP loaded = rt::LoadBmpFile(path, &error);
    ASSERT_NE(nullptr, loaded) << error;
    kt::Image back;
    ASSERT_TRUE(kt::ReadBitmap(loaded, &back));
    EXPECT_EQ(ImageOf(s).pixels, back.pixels);
    DeleteObject(loaded);
    EXPECT_EQ(bitmapsBefore, rt::GdiObjectCount(OBJ_BITMAP));
}

TEST_P(ImageRoundTrip, PngSavedThenReadIsIdentical) {
    kt::Surface s(GetParam().width, GetParam().height);
    DrawPattern(s);
    const std::string path = kt::OutputPath(std::string("image/roundtrip/") + GetParam().name + ".png");
    std::string error;
    ASSERT_TRUE(rt::SavePngFile(s.bitmap(), path, &error)) << error;
    kt::Image back;
    ASSERT_TRUE(kt::ReadPng(path, &back, &error)) << error;
    EXPECT_EQ(GetParam().width, back.width);
    EXPECT_EQ(GetParam().height, back.height);
    EXPECT_EQ(ImageOf(s).pixels, back.pixels);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImageRoundTrip, ::testing::ValuesIn(kSizes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageWrite, MonochromeBmpIsOneBitBlackAndWhite) {
    HBITMAP mono = MonoBitmap({"#.#.#.#.#", "..##..##.", "#########"});
    ASSERT_NE(nullptr, mono);
    const std::string path = kt::OutputPath("image/mono.bmp");
    std::string error;
    ASSERT_TRUE(rt::SaveBmpFile(mono, path, &error)) << error;

    const std::vector<uint8_t> file = FileBytes(path);
    ASSERT_EQ(62u + 3 * 4, file.size());  // 2 palette entries; 9 pixels fit a 4-byte row
    EXPECT_EQ(1u, uint32_t(file[28])) << "1 bit per pixel";
    EXPECT_EQ(62u, U32At(file, 10)) << "bfOffBits";
    EXPECT_EQ(0x000000u, U32At(file, 54)) << "index 0 black";
    EXPECT_EQ(0xFFFFFFu, U32At(file, 58)) << "index 1 white";
    // Bottom row first: "#########" is 0xFF 0x80; the top row "#.#.#.#.#" is 0xAA 0x80.
    EXPECT_EQ(0xFF, file[62]);
    EXPECT_EQ(0x80, file[63]);
    EXPECT_EQ(0xAA, file[70]);
    EXPECT_EQ(0x80, file[71]);

    HBITMAP loaded = rt::LoadBmpFile(path, &error);
    ASSERT_NE(nullptr, loaded) << error;
    kt::Image original, back;
    ASSERT_TRUE(kt::ReadBitmap(mono, &original));
    ASSERT_TRUE(kt::ReadBitmap(loaded, &back));
    EXPECT_EQ(original.pixels, back.pixels);
    EXPECT_EQ(RGB(255, 255, 255), back.at(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), back.at(1, 0));
    DeleteObject(loaded);
    DeleteObject(mono);
}

TEST(ImageWrite, MonochromePngIsBlackAndWhiteRgb) {
    HBITMAP mono = MonoBitmap({"#..", ".#."});
    ASSERT_NE(nullptr, mono);
    const std::string path = kt::OutputPath("image/mono.png");
    std::string error;
    ASSERT_TRUE(rt::SavePngFile(mono, path, &error)) << error;
    kt::Image back;
    ASSERT_TRUE(kt::ReadPng(path, &back, &error)) << error;
    const COLORREF w = RGB(255, 255, 255), k = RGB(0, 0, 0);
    EXPECT_EQ((std::vector<COLORREF>{w, k, k, k, w, k}), back.pixels);
    DeleteObject(mono);
}

struct WriteErrorCase {
    const char* name;
    bool png;
    bool validBitmap;
    const char* path;
    const char* expectedError;
};
void PrintTo(const WriteErrorCase& c, std::ostream* os) {
    *os << c.name;
}
const WriteErrorCase kWriteErrors[] = {
    {"bmp_bad_handle", false, false, "image/never.bmp", "not a bitmap handle"},
    {"png_bad_handle", true, false, "image/never.png", "not a bitmap handle"},
    {"bmp_missing_dir", false, true, "/nonexistent/dir/x.bmp", "cannot create '/nonexistent/dir/x.bmp'"},
    {"png_missing_dir", true, true, "/nonexistent/dir/x.png", "cannot write PNG '/nonexistent/dir/x.png'"},
};

class ImageWriteError : public ::testing::TestWithParam<WriteErrorCase> {};

TEST_P(ImageWriteError, FailsWithAMessage) {
    const WriteErrorCase& c = GetParam();
    kt::Surface s(2, 2);
    HBITMAP bmp = c.validBitmap ? s.bitmap() : reinterpret_cast<HBITMAP>(uintptr_t(0x7777));
    const std::string path = c.path[0] == '/' ? c.path : kt::OutputPath(c.path);
    std::string error;
    const bool ok = c.png ? rt::SavePngFile(bmp, path, &error) : rt::SaveBmpFile(bmp, path, &error);
    EXPECT_FALSE(ok);
    EXPECT_NE(std::string::npos, error.find(c.expectedError)) << error;
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageWriteError, ::testing::ValuesIn(kWriteErrors),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- LoadImageW ---------------------------------------------------------------------------------
class LoadImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        kt::Surface s(2, 2);
        s.set(0, 0, RGB(255, 0, 0));
        s.set(1, 0, RGB(0, 255, 0));
        s.set(0, 1, RGB(0, 0, 255));
        s.set(1, 1, RGB(9, 9, 9));
        // A non-ASCII name proves the wide path reaches the file system as UTF-8.
        path_ = kt::OutputPath("image/load_image_\xC3\xBC\xE2\x82\xAC.bmp");
        ASSERT_TRUE(rt::SaveBmpFile(s.bitmap(), path_));
    }
    const wchar_t* widePath() {
        wide_ = rt::Utf8ToWide(path_);
        return wide_.c_str();
    }
    std::string path_;
    std::wstring wide_;
};

TEST_F(LoadImageTest, SectionOrDeviceBitmapAtTheRequestedSize) {
    const COLORREF r = RGB(255, 0, 0), g = RGB(0, 255, 0), b = RGB(0, 0, 255), d = RGB(9, 9, 9);
    struct Row {
        const char* name;
        UINT flags;
        int cx, cy;
        bool section;  // a DIB section, else a device bitmap
        std::vector<COLORREF> pixels;
    };
    const Row rows[] = {
        {"DIB section", LR_LOADFROMFILE | LR_CREATEDIBSECTION, 0, 0, true, {r, g, b, d}},
        {"device bitmap", LR_LOADFROMFILE, 0, 0, false, {r, g, b, d}},
        {"resampled nearest neighbour", LR_LOADFROMFILE | LR_CREATEDIBSECTION, 4, 2, true, {r, r, g, g, b, b, d, d}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int bitmapsBefore = rt::GdiObjectCount(OBJ_BITMAP);
        HBITMAP h = static_cast<HBITMAP>(LoadImageW(nullptr, widePath(), IMAGE_BITMAP, row.cx, row.cy, row.flags));
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(bitmapsBefore + 1, rt::GdiObjectCount(OBJ_BITMAP)) << "an intermediate DIB section is freed";
        BITMAP bm{};
        ASSERT_NE(0, GetObjectW(h, sizeof bm, &bm));
        EXPECT_EQ(row.section, bm.bmBits != nullptr);
        kt::Image img;
        ASSERT_TRUE(kt::ReadBitmap(h, &img));
        EXPECT_EQ(row.pixels, img.pixels);
        DeleteObject(h);
    }
}

TEST_F(LoadImageTest, RefusesWhatItCannotLoad) {
    const int bitmapsBefore = rt::GdiObjectCount(OBJ_BITMAP);
    EXPECT_EQ(nullptr, LoadImageW(nullptr, widePath(), IMAGE_BITMAP, 0, 0, 0)) << "resources do not exist";
    EXPECT_EQ(nullptr, LoadImageW(nullptr, widePath(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(nullptr, LoadImageW(nullptr, L"/nonexistent.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(nullptr, LoadImageW(nullptr, MAKEINTRESOURCEW(1), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    const wchar_t loneSurrogate[] = {L'/', wchar_t(0xD800), 0};
    EXPECT_EQ(nullptr, LoadImageW(nullptr, loneSurrogate, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(nullptr, LoadImageW(nullptr, widePath(), IMAGE_BITMAP, 20000, 1, LR_LOADFROMFILE));
    EXPECT_EQ(bitmapsBefore, rt::GdiObjectCount(OBJ_BITMAP));
}

// ---- golden images --------------------------------------------------------------------------------
// Points the golden and output folders at a scratch directory for the test's duration.
class GoldenTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = kt::OutputPath("image/golden_scratch/x");
        scratch_ = std::filesystem::path(scratch_).parent_path().string();
        std::filesystem::remove_all(scratch_);
        Override("KELEM_GOLDEN_DIR", scratch_ + "/golden");
        Override("KELEM_TEST_OUTPUT_DIR", scratch_ + "/out");
        Override("KELEM_UPDATE_GOLDEN", "");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value.second)
                setenv(name.c_str(), value.first.c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void Override(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        if (!saved_.count(name)) saved_[name] = {old ? old : "", old != nullptr};
        setenv(name.c_str(), value.c_str(), 1);
    }
    std::string scratch_;
    std::map<std::string, std::pair<std::string, bool>> saved_;
};

TEST_F(GoldenTest, MissingGoldenSaysHowToCreateIt) {
    kt::Surface s(3, 2);
    const ::testing::AssertionResult r = kt::MatchesGolden(s.bitmap(), "area/missing");
    EXPECT_FALSE(r);
    EXPECT_NE(std::string::npos, std::string(r.message()).find("KELEM_UPDATE_GOLDEN=1")) << r.message();
}

TEST_F(GoldenTest, UpdateWritesThenMatchesThenReportsTheDifference) {
    kt::Surface s(4, 3);
    DrawPattern(s);
    Override("KELEM_UPDATE_GOLDEN", "1");
    ASSERT_TRUE(kt::MatchesGolden(s.bitmap(), "area/case"));
    ASSERT_TRUE(std::filesystem::exists(scratch_ + "/golden/area/case.png"));
    Override("KELEM_UPDATE_GOLDEN", "");
    EXPECT_TRUE(kt::MatchesGolden(s.bitmap(), "area/case"));

    s.set(2, 1, RGB(1, 2, 3));
    s.set(3, 2, RGB(4, 5, 6));
    const ::testing::AssertionResult r = kt::MatchesGolden(s.bitmap(), "area/case");
    EXPECT_FALSE(r);
    const std::string message = r.message();
    EXPECT_NE(std::string::npos, message.find("2 pixel(s) differ")) << message;
    EXPECT_NE(std::string::npos, message.find("first at (2, 1)")) << message;

    kt::Image actual, diff;
    ASSERT_TRUE(kt::ReadPng(scratch_ + "/out/area/case.actual.png", &actual));
    EXPECT_EQ(ImageOf(s).pixels, actual.pixels);
    ASSERT_TRUE(kt::ReadPng(scratch_ + "/out/area/case.diff.png", &diff));
    EXPECT_EQ(RGB(255, 0, 0), diff.at(2, 1));
    EXPECT_EQ(RGB(255, 0, 0), diff.at(3, 2));
    // Matching pixels are faded: 170 + channel / 3.
    const COLORREF p = s.at(0, 0);
    EXPECT_EQ(RGB(170 + GetRValue(p) / 3, 170 + GetGValue(p) / 3, 170 + GetBValue(p) / 3), diff.at(0, 0));
}

TEST_F(GoldenTest, SizeMismatchIsReported) {
    kt::Surface small(2, 2), large(3, 2);
    Override("KELEM_UPDATE_GOLDEN", "1");
    ASSERT_TRUE(kt::MatchesGolden(small.bitmap(), "sized"));
    Override("KELEM_UPDATE_GOLDEN", "");
    const ::testing::AssertionResult r = kt::MatchesGolden(large.bitmap(), "sized");
    EXPECT_FALSE(r);
    EXPECT_NE(std::string::npos, std::string(r.message()).find("golden 2 x 2, actual 3 x 2")) << r.message();
}

TEST(Surface, AsciiUsesTheLegend) {
    kt::Surface s(3, 2, RGB(255, 255, 255));
    s.set(1, 0, RGB(0, 0, 0));
    s.set(2, 1, RGB(5, 5, 5));
    EXPECT_EQ(".#.|..?", s.ascii({{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}}));
    EXPECT_EQ(CLR_INVALID, s.at(3, 0));
}

}  // namespace
