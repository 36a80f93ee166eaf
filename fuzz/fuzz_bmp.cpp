// Fuzz target: the BMP reader (rt::LoadBmpMemory). A bitmap it returns must describe
// itself consistently and free every GDI object when deleted.
#include <cstdio>
#include <cstdlib>

#include "driver/ElementDriver.h"
#include "win32/runtime_ext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kfuzz::RunParserInput("the BMP reader", [&](std::string* error) {
        HBITMAP bmp = rt::LoadBmpMemory(data, size, error);
        if (!bmp) return false;
        BITMAP bm{};
        if (!::GetObjectW(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
            std::fprintf(stderr, "a loaded bitmap without a size\n");
            std::abort();
        }
        // Read a pixel through a DC, as a skin user would.
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        ::GetPixel(dc, bm.bmWidth - 1, bm.bmHeight - 1);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(bmp);
        return true;
    });
    return 0;
}
