// Test helpers: small surfaces, pixel reads and golden-image comparison.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace kt {

// A memory DC with a 32-bit DIB section selected, filled with one colour. Frees both.
class Surface {
public:
    Surface(int cx, int cy, COLORREF fill = RGB(255, 255, 255));
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bmp_; }
    int width() const { return cx_; }
    int height() const { return cy_; }
    COLORREF at(int x, int y) const;   // reads the bits directly, not through GetPixel
    void fill(COLORREF c);
    // Renders the surface as rows of characters, one per pixel, using the legend
    // (colour -> char); unknown colours print as '?'. Handy in failure messages.
    std::string ascii(const std::initializer_list<std::pair<COLORREF, char>>& legend) const;

private:
    int cx_, cy_;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Compares a bitmap with the golden PNG at tests/golden/<name>.png. With
// KELEM_UPDATE_GOLDEN=1 in the environment the golden is (re)written instead. On a
// mismatch the actual image and a diff image are written under the test output
// directory and the message says where.
::testing::AssertionResult MatchesGolden(HBITMAP bmp, const std::string& name);

}  // namespace kt
