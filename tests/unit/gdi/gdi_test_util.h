// Small surfaces for the GDI tests: a memory DC over a top-down 32-bit DIB section whose
// pixels are read and written through the bits pointer, not through GDI.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace gt {

inline uint32_t Px(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF Ref(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

class Canvas {
public:
    Canvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bmp_);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bmp_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bmp() const { return bmp_; }
    COLORREF at(int x, int y) const { return Ref(bits_[y * w_ + x]); }
    void set(int x, int y, COLORREF c) { bits_[y * w_ + x] = Px(c); }
    void Fill(COLORREF c) {
        for (int i = 0; i < w_ * h_; ++i) bits_[i] = Px(c);
    }
    // One character per pixel, rows separated by '|': legend maps colours to characters.
    std::string Ascii(const std::vector<std::pair<COLORREF, char>>& legend) const {
        std::string out;
        for (int y = 0; y < h_; ++y) {
            if (y) out += '|';
            for (int x = 0; x < w_; ++x) {
                char ch = '?';
                for (const auto& [c, k] : legend)
                    if (c == at(x, y)) ch = k;
                out += ch;
            }
        }
        return out;
    }

private:
    int w_, h_;
    HBITMAP bmp_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

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
