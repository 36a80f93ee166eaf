// Test helpers: PNG files and golden comparison (libpng; the Linux build only).
//
// Index
//   1. PNG files
//   2. Golden images
#include "pixels.h"

#include <png.h>

#include <cstring>
#include <filesystem>

namespace kt {

// ---- 1. PNG files --------------------------------------------------------------------------------
// libpng's simplified API reports errors through image.message instead of longjmp,
// which would skip C++ destructors.
bool ReadPng(const std::string& path, Image* out, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    auto fail = [&](const std::string& what) {
        if (error) *error = path + ": " + what + (image.message[0] ? std::string(" (") + image.message + ")" : "");
        png_image_free(&image);
        return false;
    };
    if (!png_image_begin_read_from_file(&image, path.c_str())) return fail("cannot read PNG");
    if (uint64_t(image.width) * image.height > 64u * 1024 * 1024) return fail("image too large");
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return fail("cannot decode PNG");
    out->width = int(image.width);
    out->height = int(image.height);
    out->pixels.resize(size_t(out->width) * size_t(out->height));
    for (size_t i = 0; i < out->pixels.size(); ++i) out->pixels[i] = RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    png_image_free(&image);
    return true;
}

bool WritePng(const Image& img, const std::string& path, std::string* error) {
    std::vector<uint8_t> rgb(img.pixels.size() * 3);
    for (size_t i = 0; i < img.pixels.size(); ++i) {
        rgb[3 * i] = GetRValue(img.pixels[i]);
        rgb[3 * i + 1] = GetGValue(img.pixels[i]);
        rgb[3 * i + 2] = GetBValue(img.pixels[i]);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(img.width);
    image.height = uint32_t(img.height);
    image.format = PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
    if (!ok && error) *error = path + ": cannot write PNG (" + image.message + ")";
    png_image_free(&image);
    return ok;
}

// ---- 2. Golden images ----------------------------------------------------------------------------
namespace {

// Differing pixels in red over a faded copy of the actual image.
Image DiffImage(const Image& golden, const Image& actual) {
    Image diff = actual;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
        const COLORREF a = actual.pixels[i];
        diff.pixels[i] = a != golden.pixels[i]
                             ? RGB(255, 0, 0)
                             : RGB(170 + GetRValue(a) / 3, 170 + GetGValue(a) / 3, 170 + GetBValue(a) / 3);
    }
    return diff;
}

}  // namespace

::testing::AssertionResult MatchesGolden(HBITMAP bmp, const std::string& name) {
    Image actual;
    if (!ReadBitmap(bmp, &actual))
        return ::testing::AssertionFailure() << "MatchesGolden(" << name << "): cannot read the bitmap's pixels";
    const std::filesystem::path goldenPath =
        std::filesystem::path(EnvOr("KELEM_GOLDEN_DIR", KELEM_SOURCE_DIR "/tests/golden")) / (name + ".png");
    std::string error;
    if (EnvOr("KELEM_UPDATE_GOLDEN", "") == "1") {
        std::error_code ec;
        std::filesystem::create_directories(goldenPath.parent_path(), ec);
        if (!WritePng(actual, goldenPath.string(), &error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "wrote golden " << goldenPath.string();
    }
    if (!std::filesystem::exists(goldenPath))
        return ::testing::AssertionFailure() << "golden " << goldenPath.string()
                                             << " is missing: run the test with KELEM_UPDATE_GOLDEN=1 to create it, "
                                                "then review and commit it";
    Image golden;
    if (!ReadPng(goldenPath.string(), &golden, &error)) return ::testing::AssertionFailure() << error;

    const std::string actualPath = OutputPath(name + ".actual.png");
    if (golden.width != actual.width || golden.height != actual.height) {
        WritePng(actual, actualPath);
        return ::testing::AssertionFailure() << "size differs from golden " << goldenPath.string() << ": golden "
                                             << golden.width << " x " << golden.height << ", actual " << actual.width
                                             << " x " << actual.height << "; actual written to " << actualPath;
    }
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        if (actual.pixels[i] == golden.pixels[i]) continue;
        if (differing++ == 0) first = i;
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    const std::string diffPath = OutputPath(name + ".diff.png");
    WritePng(actual, actualPath);
    WritePng(DiffImage(golden, actual), diffPath);
    const int x = int(first % size_t(actual.width)), y = int(first / size_t(actual.width));
    return ::testing::AssertionFailure() << differing << " pixel(s) differ from golden " << goldenPath.string()
                                         << "; first at (" << x << ", " << y << "): golden " << Hex(golden.at(x, y))
                                         << ", actual " << Hex(actual.at(x, y)) << "; wrote " << actualPath << " and "
                                         << diffPath;
}

}  // namespace kt
