// Writing BMP and PNG files, their failures, and the golden-image comparison of the test
// support.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "pixels.h"

namespace {

// A pattern where every pixel differs from its neighbours and the row order matters.
void DrawPattern(kt::Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.set(x, y, RGB(x * 40, y * 50, (x * 7 + y * 13) & 0xFF));
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

TEST(ImageWrite, MonochromeIsOneBitBmpAndBlackAndWhitePng) {
    HBITMAP mono = MonoBitmap({"#.#.#.#.#", "..##..##.", "#########"});
    ASSERT_NE(nullptr, mono);
    const std::string path = kt::OutputPath("image/mono.bmp");
    std::string error;
    ASSERT_TRUE(rt::SaveBmpFile(mono, path, &error)) << error;

    const std::vector<uint8_t> file = FileBytes(path);
    ASSERT_EQ(62u + 3 * 4, file.size());  // 2 palette entries; 9 pixels fit a 4-byte row
    EXPECT_EQ(1u, uint32_t(file[28])) << "1 bit per pixel";
    EXPECT_EQ(62u, U32At(file, 10)) << "bfOffBits";
    EXPECT_EQ(0xFFFFFFu, U32At(file, 58)) << "index 1 white";
    // Bottom row first: "#########" is 0xFF 0x80; the top row "#.#.#.#.#" is 0xAA 0x80.
    EXPECT_EQ(0x80FFu, U32At(file, 62) & 0xFFFF);
    EXPECT_EQ(0x80AAu, U32At(file, 70) & 0xFFFF);

    HBITMAP loaded = rt::LoadBmpFile(path, &error);
    ASSERT_NE(nullptr, loaded) << error;
    kt::Image original, back;
    ASSERT_TRUE(kt::ReadBitmap(mono, &original));
    ASSERT_TRUE(kt::ReadBitmap(loaded, &back));
    EXPECT_EQ(original.pixels, back.pixels);
    EXPECT_EQ(RGB(255, 255, 255), back.at(0, 0));
    DeleteObject(loaded);
    ASSERT_TRUE(rt::SavePngFile(mono, path + ".png", &error)) << error;  // 8-bit RGB, black and white
    ASSERT_TRUE(kt::ReadPng(path + ".png", &back, &error)) << error;
    EXPECT_EQ(original.pixels, back.pixels);
    DeleteObject(mono);
}

TEST(ImageWrite, FailuresComeWithAMessage) {
    struct Row {
        bool png;
        bool validBitmap;
        const char* path;
        const char* expectedError;
    } rows[] = {
        {false, false, "image/never.bmp", "not a bitmap handle"},
        {true, false, "image/never.png", "not a bitmap handle"},
        {false, true, "/nonexistent/dir/x.bmp", "cannot create '/nonexistent/dir/x.bmp'"},
        {true, true, "/nonexistent/dir/x.png", "cannot write PNG '/nonexistent/dir/x.png'"},
    };
    kt::Surface s(2, 2);
    for (const Row& c : rows) {
        HBITMAP bmp = c.validBitmap ? s.bitmap() : reinterpret_cast<HBITMAP>(uintptr_t(0x7777));
        const std::string path = c.path[0] == '/' ? c.path : kt::OutputPath(c.path);
        std::string error;
        EXPECT_FALSE(c.png ? rt::SavePngFile(bmp, path, &error) : rt::SaveBmpFile(bmp, path, &error)) << c.path;
        EXPECT_NE(std::string::npos, error.find(c.expectedError)) << error;
    }
}

// ---- golden images --------------------------------------------------------------------------------
// The comparison of the test support, pointed at a scratch folder: a missing golden says how to
// make one, an update writes it, and a difference is counted and located.
TEST(Golden, MissingUpdatedMatchedAndDiffering) {
    const std::string scratch = std::filesystem::path(kt::OutputPath("image/golden_scratch/x")).parent_path().string();
    std::filesystem::remove_all(scratch);
    struct Environment {  // puts back what it changed, however the test ends
        std::map<std::string, std::pair<bool, std::string>> saved;  // had a value, which
        void operator()(const std::string& name, const std::string& value) {
            const char* old = std::getenv(name.c_str());
            if (!saved.count(name)) saved[name] = {old != nullptr, old ? old : ""};
            setenv(name.c_str(), value.c_str(), 1);
        }
        ~Environment() {
            for (const auto& [name, old] : saved)
                old.first ? setenv(name.c_str(), old.second.c_str(), 1) : unsetenv(name.c_str());
        }
    } set;
    set("KELEM_GOLDEN_DIR", scratch + "/golden");
    set("KELEM_TEST_OUTPUT_DIR", scratch + "/out");
    set("KELEM_UPDATE_GOLDEN", "");
    kt::Surface s(4, 3);
    DrawPattern(s);
    const ::testing::AssertionResult missing = kt::MatchesGolden(s.bitmap(), "area/case");
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string::npos, std::string(missing.message()).find("KELEM_UPDATE_GOLDEN=1")) << missing.message();
    set("KELEM_UPDATE_GOLDEN", "1");
    ASSERT_TRUE(kt::MatchesGolden(s.bitmap(), "area/case"));
    set("KELEM_UPDATE_GOLDEN", "");
    EXPECT_TRUE(kt::MatchesGolden(s.bitmap(), "area/case"));

    s.set(2, 1, RGB(1, 2, 3));
    s.set(3, 2, RGB(4, 5, 6));
    const std::string message = kt::MatchesGolden(s.bitmap(), "area/case").message();
    EXPECT_NE(std::string::npos, message.find("2 pixel(s) differ from golden")) << message;
    EXPECT_NE(std::string::npos, message.find("first at (2, 1)")) << message;
    kt::Image diff;
    ASSERT_TRUE(kt::ReadPng(scratch + "/out/area/case.diff.png", &diff));
    EXPECT_EQ(RGB(255, 0, 0), diff.at(3, 2));
    kt::Surface wider(5, 3);
    const std::string sized = kt::MatchesGolden(wider.bitmap(), "area/case").message();
    EXPECT_NE(std::string::npos, sized.find("golden 4 x 3, actual 5 x 3")) << sized;
}

}  // namespace
