// Test helpers: small surfaces, pixel reads and golden-image comparison.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace kt {

// A memory DC with a bitmap selected, filled with one colour: a 32-bit DIB section with
// top-down or bottom-up rows, or a monochrome device bitmap. Frees both.
class Surface {
public:
    enum class Format { TopDown32, BottomUp32, Mono };
    Surface(int cx, int cy, COLORREF fill = RGB(255, 255, 255), Format format = Format::TopDown32);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bmp_; }
    // Takes the bitmap out of the DC and hands it over; the surface is empty after.
    HBITMAP Detach();
    int width() const { return cx_; }
    int height() const { return cy_; }
    COLORREF at(int x, int y) const;  // reads a DIB section's bits directly, not through GetPixel
    void fill(COLORREF c);
    void set(int x, int y, COLORREF c);  // outside: ignored
    // Renders the surface as rows of characters separated by '|', one per pixel, using the
    // legend (colour -> char); unknown colours print as '?'.
    std::string ascii(const std::vector<std::pair<COLORREF, char>>& legend) const;

private:
    size_t Index(int x, int y) const { return size_t(bottomUp_ ? cy_ - 1 - y : y) * size_t(cx_) + size_t(x); }
    int cx_, cy_;
    bool mono_, bottomUp_;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;  // 0x00RRGGBB; null for a monochrome bitmap
};

// A 32-bit top-down DIB section cx x cy with pixel(x, y) from `pixel`; the caller owns it.
HBITMAP PaintedBitmap(int cx, int cy, const std::function<COLORREF(int x, int y)>& pixel);

// Pixels held outside GDI: what PNG files and GetDIBits give.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top-down rows
    COLORREF at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// "#RRGGBB", for messages that show a colour.
std::string Hex(COLORREF c);

// Any PNG, converted to 8-bit RGB. False with a message on failure.
bool ReadPng(const std::string& path, Image* out, std::string* error = nullptr);
bool WritePng(const Image& img, const std::string& path, std::string* error = nullptr);
// The pixels of any bitmap, through GetDIBits as 32-bit top-down rows.
bool ReadBitmap(HBITMAP bmp, Image* out);

// The environment variable's value, or the fallback when it is unset or empty.
std::string EnvOr(const char* name, const std::string& fallback);

// True when the tests run on Wine rather than on Windows or the portable runtime.
bool UnderWine();

// Skips the rest of a test under Wine, where Wine's behaviour is known to differ from
// Windows' (each use is listed in docs/windows.md with the evidence).
#define SKIP_UNDER_WINE(reason) \
    do {                          \
        if (::kt::UnderWine()) GTEST_SKIP() << "Wine differs from Windows: " << (reason); \
    } while (0)

// A path under the test output directory (KELEM_TEST_OUTPUT_DIR, from the environment
// or the build); its parent directories are created.
std::string OutputPath(const std::string& relative);

// A whole file as text ("" when it cannot be read).
std::string ReadFile(const std::string& path);

// `piece` `count` times over: the long and deep inputs of the bad-input tables.
std::string Repeat(const std::string& piece, int count);

// Compares a bitmap with the golden PNG at tests/golden/<name>.png (KELEM_GOLDEN_DIR in
// the environment overrides the folder). With KELEM_UPDATE_GOLDEN=1 in the environment
// the golden is (re)written instead. On a mismatch the actual image and a diff image are
// written under the test output directory and the message says where.
::testing::AssertionResult MatchesGolden(HBITMAP bmp, const std::string& name);

}  // namespace kt
