// Image files and screen pixels on Windows. The BMP reader is the portable one; writing
// reads a bitmap's pixels through GetDIBits and encodes PNG with zlib.
//
// Index
//   1. Pixels of a bitmap   GetDIBits into top-down 0x00RRGGBB rows
//   2. BMP                  24-bit BI_RGB, or 1-bit for monochrome bitmaps
//   3. PNG                  8-bit RGB, zlib's deflate, CRCs from zlib
//   4. The screen           the system's size; pixels as the windows print themselves
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "win32/runtime_ext.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool Succeed(std::string* error) {
    if (error) error->clear();
    return true;
}

// ---- 1. Pixels of a bitmap ----------------------------------------------------------------
struct Image {
    int width = 0;
    int height = 0;
    bool mono = false;
    std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

    const uint32_t* Row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
};

bool ReadImage(HBITMAP h, Image* out, std::string* error) {
    BITMAP bm{};
    if (!h || ::GetObjectW(h, sizeof bm, &bm) != sizeof bm) return Fail(error, "not a bitmap handle");
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return Fail(error, "the bitmap has no pixels");
    out->width = bm.bmWidth;
    out->height = bm.bmHeight;
    out->mono = bm.bmBitsPixel == 1;
    out->pixels.assign(size_t(bm.bmWidth) * size_t(bm.bmHeight), 0);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::CreateCompatibleDC(nullptr);
    const int rows = ::GetDIBits(dc, h, 0, UINT(bm.bmHeight), out->pixels.data(), &bi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    if (rows != bm.bmHeight) return Fail(error, "cannot read the bitmap's pixels");
    for (uint32_t& p : out->pixels) p &= 0xFFFFFF;
    return true;
}

bool IsWhite(uint32_t pixel) {
    return (pixel & 0xFFFFFF) != 0;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return Fail(error, "cannot create '" + path + "': " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) return Fail(error, "cannot write '" + path + "'");
    return true;
}

void Put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutBig32(std::vector<uint8_t>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

// ---- 3. PNG ---------------------------------------------------------------------------------
void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data) {
    PutBig32(out, uint32_t(data.size()));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out->data() + start, uInt(out->size() - start));
    PutBig32(out, uint32_t(crc));
}

}  // namespace

namespace rt {

// ---- 2. BMP ---------------------------------------------------------------------------------
bool SaveBmpFile(HBITMAP h, const std::string& path, std::string* error) {
    Image img;
    if (!ReadImage(h, &img, error)) return false;
    const int bitCount = img.mono ? 1 : 24;
    const uint32_t paletteEntries = img.mono ? 2 : 0;
    const uint64_t rowBytes = (uint64_t(img.width) * uint64_t(bitCount) + 31) / 32 * 4;
    const uint64_t offBits = 14 + 40 + 4 * uint64_t(paletteEntries);
    const uint64_t fileBytes = offBits + rowBytes * uint64_t(img.height);
    if (fileBytes > 0xFFFFFFFFu) return Fail(error, "the bitmap is too large for a BMP file");
    std::vector<uint8_t> out;
    out.reserve(size_t(fileBytes));
    Put16(&out, 0x4D42);  // 'BM'
    Put32(&out, uint32_t(fileBytes));
    Put32(&out, 0);
    Put32(&out, uint32_t(offBits));
    Put32(&out, 40);
    Put32(&out, uint32_t(img.width));
    Put32(&out, uint32_t(img.height));  // bottom-up rows
    Put16(&out, 1);
    Put16(&out, uint32_t(bitCount));
    Put32(&out, BI_RGB);
    Put32(&out, uint32_t(rowBytes * uint64_t(img.height)));
    Put32(&out, 0);
    Put32(&out, 0);
    Put32(&out, paletteEntries);
    Put32(&out, 0);
    if (paletteEntries == 2) {
        Put32(&out, 0x000000);
        Put32(&out, 0xFFFFFF);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        const uint32_t* src = img.Row(y);
        if (img.mono) {
            uint32_t acc = 0;
            for (int x = 0; x < img.width; ++x) {
                acc = (acc << 1) | (IsWhite(src[x]) ? 1u : 0u);
                if ((x & 7) == 7) {
                    out.push_back(uint8_t(acc));
                    acc = 0;
                }
            }
            if (img.width & 7) out.push_back(uint8_t(acc << (8 - (img.width & 7))));
        } else {
            for (int x = 0; x < img.width; ++x) {
                out.push_back(uint8_t(src[x]));
                out.push_back(uint8_t(src[x] >> 8));
                out.push_back(uint8_t(src[x] >> 16));
            }
        }
        out.insert(out.end(), size_t(rowBytes) - (out.size() - start), 0);
    }
    return WriteWholeFile(path, out, error) && Succeed(error);
}

bool SavePngFile(HBITMAP h, const std::string& path, std::string* error) {
    Image img;
    if (!ReadImage(h, &img, error)) return false;
    // Each row: filter type 0 (none), then red, green, blue.
    const size_t rowBytes = 1 + size_t(img.width) * 3;
    std::vector<uint8_t> raw(rowBytes * size_t(img.height));
    for (int y = 0; y < img.height; ++y) {
        const uint32_t* src = img.Row(y);
        uint8_t* dst = raw.data() + size_t(y) * rowBytes;
        *dst++ = 0;
        for (int x = 0; x < img.width; ++x) {
            const uint32_t p = img.mono ? (IsWhite(src[x]) ? 0xFFFFFF : 0) : src[x];
            *dst++ = uint8_t(p >> 16);
            *dst++ = uint8_t(p >> 8);
            *dst++ = uint8_t(p);
        }
    }
    uLongf packedBytes = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedBytes);
    if (compress2(packed.data(), &packedBytes, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return Fail(error, "cannot compress the PNG data of '" + path + "'");
    packed.resize(packedBytes);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    PutBig32(&ihdr, uint32_t(img.width));
    PutBig32(&ihdr, uint32_t(img.height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filtering, no interlace
    PutChunk(&out, "IHDR", ihdr);
    PutChunk(&out, "IDAT", packed);
    PutChunk(&out, "IEND", {});
    if (!WriteWholeFile(path, out, error)) return false;
    return Succeed(error);
}

// ---- 4. The screen --------------------------------------------------------------------------
// The screen is the system's: its size cannot be chosen.
void SetScreenSize(int, int) {}

SIZE GetScreenSize() {
    return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

namespace {

BOOL CALLBACK CollectThreadWindow(HWND hwnd, LPARAM lParam) {
    if (::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId() && ::IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

}  // namespace

// Where the screen cannot be read (a display without a frame buffer), each visible window
// of the calling thread prints itself (WM_PRINT), bottom of the z-order first. The rest of
// the rectangle stays black, as on the runtime's own screen.
HBITMAP CopyScreenRect(const RECT& rc) {
    const int64_t w = int64_t(rc.right) - rc.left, h = int64_t(rc.bottom) - rc.top;
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = LONG(w);
    bi.bmiHeader.biHeight = -LONG(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP out = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!out) return nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, out);
    std::vector<HWND> windows;  // top of the z-order first
    ::EnumWindows(&CollectThreadWindow, reinterpret_cast<LPARAM>(&windows));
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        RECT window_rect, visible;
        ::GetWindowRect(*it, &window_rect);
        if (!::IntersectRect(&visible, &window_rect, &rc)) continue;
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, visible.left - rc.left, visible.top - rc.top, visible.right - rc.left,
                            visible.bottom - rc.top);
        ::SetViewportOrgEx(dc, window_rect.left - rc.left, window_rect.top - rc.top, nullptr);
        ::SendMessageW(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                       PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        ::RestoreDC(dc, saved);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return out;
}

}  // namespace rt
