// The virtual screen: one 32-bit surface that GetDC(NULL) and window DCs draw on.
#include <algorithm>
#include <cstring>

#include "gdi_private.h"
#include "win32/runtime_ext.h"

namespace gdi {

HBITMAP ScreenBitmap() {
    static HBITMAP screen = [] {
        auto b = std::make_unique<Bitmap>();
        b->stock = true;  // part of the platform, never counted or deleted
        b->Allocate(1280, 800, 32, false);
        return static_cast<HBITMAP>(Insert(std::move(b)));
    }();
    return screen;
}

void SetScreenSize(int cx, int cy) {
    Bitmap* b = Get<Bitmap>(ScreenBitmap());
    if (cx == b->width && cy == b->height) return;
    Bitmap fresh;  // allocate first: a size that cannot be allocated leaves the screen as it was
    if (!fresh.Allocate(cx, cy, 32, false)) return;
    b->store.swap(fresh.store);  // the buffer moves with its pointers
    b->width = fresh.width;
    b->height = fresh.height;
    b->scan0 = fresh.scan0;
    b->stride = fresh.stride;
}

HDC CreateDisplayDC(HWND hwnd, POINT dcOrg, const RECT* visRect) {
    HDC hdc = NewDC(false);
    DC* dc = Get<DC>(hdc);
    if (!dc) return nullptr;
    dc->hwnd = hwnd;
    dc->displaySurface = ScreenBitmap();
    dc->dcOrg = dcOrg;
    dc->hasVis = visRect != nullptr;
    if (visRect) dc->visRect = *visRect;
    return hdc;
}

HDC CreateScreenDC() {
    return CreateDisplayDC(nullptr, POINT{0, 0}, nullptr);
}

}  // namespace gdi

using namespace gdi;

// Only the screen is handled here; a window-aware GetDC defined elsewhere in the runtime
// takes precedence over this weak one and calls gdi::CreateScreenDC for a null window.
__attribute__((weak)) HDC GetDC(HWND hWnd) {
    return hWnd ? nullptr : CreateScreenDC();
}

HWND WindowFromDC(HDC hDC) {
    const DC* dc = Get<DC>(hDC);
    return dc ? dc->hwnd : nullptr;
}

int ReleaseDC(HWND, HDC hDC) {
    DC* dc = Get<DC>(hDC);
    if (!dc || dc->memory) return 0;
    return Remove(hDC) ? 1 : 0;
}

namespace rt {

void SetScreenSize(int cx, int cy) {
    gdi::SetScreenSize(cx, cy);
}

SIZE GetScreenSize() {
    const Bitmap* b = Get<Bitmap>(ScreenBitmap());
    return SIZE{b->width, b->height};
}

HBITMAP CopyScreenRect(const RECT& rc) {
    const int64_t w = int64_t(rc.right) - rc.left, h = int64_t(rc.bottom) - rc.top;
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HBITMAP out = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    if (!out) return nullptr;
    const Bitmap* screen = Get<Bitmap>(ScreenBitmap());
    Bitmap* dst = Get<Bitmap>(out);
    RECT src_rect;  // the part of rc on the screen; the rest stays black
    if (ClipRect64(Rect64{rc.left, rc.top, rc.right, rc.bottom}, RECT{0, 0, screen->width, screen->height},
                   &src_rect)) {
        for (int y = src_rect.top; y < src_rect.bottom; ++y)
            memcpy(dst->Row(int(y - rc.top)) + (src_rect.left - rc.left), screen->Row(y) + src_rect.left,
                   size_t(src_rect.right - src_rect.left) * 4);
    }
    return out;
}

}  // namespace rt
