// Test helpers: surfaces and bitmap pixels (PNG files and goldens: golden.cpp).
//
// Index
//   1. Surface
//   2. Bitmap pixels
#include "pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "win32/runtime_ext.h"

namespace kt {
namespace {

uint32_t ToBits(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
COLORREF FromBits(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace

std::string Hex(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

bool UnderWine() {
#ifdef _WIN32
    // Wine's ntdll exports wine_get_version; Windows' does not.
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// ---- 1. Surface ------------------------------------------------------------------------------
Surface::Surface(int cx, int cy, COLORREF fillColor, Format format)
    : cx_(cx), cy_(cy), mono_(format == Format::Mono), bottomUp_(format == Format::BottomUp32) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = rt::TopDown32(cx, bottomUp_ ? -cy : cy);
    void* bits = nullptr;
    bmp_ = mono_ ? CreateBitmap(cx, cy, 1, 1, nullptr) : CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bmp_ || (!mono_ && !bits)) {
        ADD_FAILURE() << "kt::Surface: cannot create a " << cx << " x " << cy << " memory DC with a bitmap";
        return;
    }
    bits_ = static_cast<uint32_t*>(bits);
    old_ = SelectObject(dc_, bmp_);
    fill(fillColor);
}

Surface::~Surface() {
    if (dc_) {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bmp_) DeleteObject(bmp_);
}

HBITMAP Surface::Detach() {
    if (dc_ && old_) SelectObject(dc_, old_);
    old_ = nullptr;
    bits_ = nullptr;
    return std::exchange(bmp_, nullptr);
}

HBITMAP PaintedBitmap(int cx, int cy, const std::function<COLORREF(int x, int y)>& pixel) {
    Surface s(cx, cy);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) s.set(x, y, pixel(x, y));
    return s.Detach();
}

COLORREF Surface::at(int x, int y) const {
    if (!old_ || x < 0 || y < 0 || x >= cx_ || y >= cy_) return CLR_INVALID;
    return mono_ ? GetPixel(dc_, x, y) : FromBits(bits_[Index(x, y)]);
}

void Surface::fill(COLORREF c) {
    for (int y = 0; y < cy_; ++y)
        for (int x = 0; x < cx_; ++x) set(x, y, c);
}

void Surface::set(int x, int y, COLORREF c) {
    if (!old_ || x < 0 || y < 0 || x >= cx_ || y >= cy_) return;
    if (mono_)
        SetPixelV(dc_, x, y, c);
    else
        bits_[Index(x, y)] = ToBits(c);
}

std::string Surface::ascii(const std::vector<std::pair<COLORREF, char>>& legend) const {
    std::string out;
    for (int y = 0; y < cy_; ++y) {
        if (y) out += '|';
        for (int x = 0; x < cx_; ++x) {
            char ch = '?';
            for (const auto& entry : legend)
                if (entry.first == at(x, y)) ch = entry.second;
            out += ch;
        }
    }
    return out;
}

// ---- 2. Bitmap pixels ---------------------------------------------------------------------------
bool ReadBitmap(HBITMAP bmp, Image* out) {
    BITMAP bm{};
    if (GetObjectW(bmp, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    BITMAPINFO bmi = rt::TopDown32(bm.bmWidth, bm.bmHeight);
    std::vector<uint32_t> bits(size_t(bm.bmWidth) * size_t(bm.bmHeight));
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = GetDIBits(dc, bmp, 0, UINT(bm.bmHeight), bits.data(), &bmi, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight) return false;
    out->width = bm.bmWidth;
    out->height = bm.bmHeight;
    out->pixels.resize(bits.size());
    for (size_t i = 0; i < bits.size(); ++i) out->pixels[i] = FromBits(bits[i]);
    return true;
}

std::string OutputPath(const std::string& relative) {
    const std::filesystem::path path =
        std::filesystem::path(EnvOr("KELEM_TEST_OUTPUT_DIR", KELEM_TEST_OUTPUT_DIR)) / relative;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return path.string();
}

std::string Repeat(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace kt
