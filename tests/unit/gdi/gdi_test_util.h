// Helpers of the GDI tests beyond the shared kt::Surface: a monochrome surface, named
// table rows and colour names.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "pixels.h"

namespace gt {

// A memory DC holding a new monochrome bitmap (read back through GetPixel).
class MonoCanvas {
public:
    MonoCanvas(int w, int h) : bmp_(CreateBitmap(w, h, 1, 1, nullptr)), dc_(CreateCompatibleDC(nullptr)) {
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
    HBITMAP bmp_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// Table rows print as their name in failure messages and name their instance.
#define GT_PRINT_ROW_NAME(Row) \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
constexpr auto kRowName = [](const auto& info) { return std::string(info.param.name); };

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255);

}  // namespace gt
