// Helpers of the GDI tests beyond the shared kt::Surface: pixel formats, a monochrome
// surface, printable table rows and colour names.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "pixels.h"
#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace gt {

inline uint32_t Px(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF Ref(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A memory DC holding a new monochrome bitmap (read back through GetPixel).
class MonoCanvas {
public:
    MonoCanvas(int w, int h) {
        bmp_ = CreateBitmap(w, h, 1, 1, nullptr);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bmp_);
    }
    ~MonoCanvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bmp_);
    }
    MonoCanvas(const MonoCanvas&) = delete;
    MonoCanvas& operator=(const MonoCanvas&) = delete;
    HDC dc() const { return dc_; }
    bool white(int x, int y) const { return GetPixel(dc_, x, y) == RGB(255, 255, 255); }

private:
    HBITMAP bmp_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Table rows print as their name in failure messages.
#define GT_PRINT_ROW_NAME(Row)                                        \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* os) { \
        *os << row.name;                                              \
    }

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace gt
