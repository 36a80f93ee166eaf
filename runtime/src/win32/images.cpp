// Image files and screen pixels on Windows. The BMP reader and the encoders
// (image_encode.h) are the portable ones; writing reads a bitmap's pixels through GetDIBits.
//
// Index
//   1. Image files   GetDIBits into top-down 0x00RRGGBB rows, then the portable encoders
//   2. The screen    the system's size; pixels as the windows print themselves
#include <cstdint>
#include <string>
#include <vector>

#include "image/image_encode.h"
#include "win32/runtime_ext.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// ---- 1. Image files -------------------------------------------------------------------------
bool ReadPixels(HBITMAP h, std::vector<uint32_t>* store, imagefile::Pixels* out, std::string* error) {
    BITMAP bm{};
    if (!h || ::GetObjectW(h, sizeof bm, &bm) != sizeof bm) return Fail(error, "not a bitmap handle");
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return Fail(error, "the bitmap has no pixels");
    store->assign(size_t(bm.bmWidth) * size_t(bm.bmHeight), 0);
    BITMAPINFO bi = rt::TopDown32(bm.bmWidth, bm.bmHeight);
    HDC dc = ::CreateCompatibleDC(nullptr);
    const int rows = ::GetDIBits(dc, h, 0, UINT(bm.bmHeight), store->data(), &bi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    if (rows != bm.bmHeight) return Fail(error, "cannot read the bitmap's pixels");
    for (uint32_t& p : *store) p &= 0xFFFFFF;
    out->width = bm.bmWidth;
    out->height = bm.bmHeight;
    out->mono = bm.bmBitsPixel == 1;
    out->scan0 = reinterpret_cast<const uint8_t*>(store->data());
    out->stride = ptrdiff_t(bm.bmWidth) * 4;
    return true;
}

}  // namespace

namespace rt {

bool SaveBmpFile(HBITMAP h, const std::string& path, std::string* error) {
    std::vector<uint32_t> store;
    imagefile::Pixels pixels;
    return ReadPixels(h, &store, &pixels, error) && imagefile::Save(pixels, imagefile::Format::Bmp, path, error);
}

bool SavePngFile(HBITMAP h, const std::string& path, std::string* error) {
    std::vector<uint32_t> store;
    imagefile::Pixels pixels;
    return ReadPixels(h, &store, &pixels, error) && imagefile::Save(pixels, imagefile::Format::Png, path, error);
}

// ---- 2. The screen --------------------------------------------------------------------------
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
    const BITMAPINFO bi = TopDown32(LONG(w), LONG(h));
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
