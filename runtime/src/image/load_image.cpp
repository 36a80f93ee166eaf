// LoadImageW for bitmap files. Resources do not exist here, so only LR_LOADFROMFILE
// with IMAGE_BITMAP succeeds. As on Windows, LR_CREATEDIBSECTION gives a DIB section
// and without it the result is a device-dependent (here: 32-bit top-down) bitmap;
// a cx/cy other than 0 or the file's size resamples nearest-neighbour.
#include <memory>
#include <string>

#include "gdi/gdi_private.h"
#include "utf8.h"
#include "win32/runtime_ext.h"
#include "win32/winuser.h"

namespace {

struct Conversion {
    int width;
    int height;
    bool dibSection;
};

// A new bitmap with the loaded pixels scaled to the requested size and kind.
HBITMAP Convert(HBITMAP loaded, const Conversion& to) {
    const gdi::Bitmap* src = gdi::Get<gdi::Bitmap>(loaded);
    constexpr int64_t kMaxDimension = 16384, kMaxPixels = 64 * 1024 * 1024;  // the limits of the BMP reader
    if (to.width > kMaxDimension || to.height > kMaxDimension || int64_t(to.width) * to.height > kMaxPixels)
        return nullptr;
    auto dst = std::make_unique<gdi::Bitmap>();
    const bool bottomUp = to.dibSection && !src->topDown;  // a DIB section keeps the file's row order
    if (!dst->Allocate(to.width, to.height, 32, bottomUp)) return nullptr;
    dst->dibSection = to.dibSection;
    for (int dst_y = 0; dst_y < to.height; ++dst_y) {
        const uint32_t* srcRow = src->Row(int(int64_t(dst_y) * src->height / to.height));
        uint32_t* dstRow = dst->Row(dst_y);
        for (int dst_x = 0; dst_x < to.width; ++dst_x) dstRow[dst_x] = srcRow[int64_t(dst_x) * src->width / to.width];
    }
    return static_cast<HBITMAP>(gdi::Insert(std::move(dst)));
}

}  // namespace

HANDLE LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (type != IMAGE_BITMAP || !(fuLoad & LR_LOADFROMFILE) || !name || IS_INTRESOURCE(name)) return nullptr;
    if (cx < 0 || cy < 0) return nullptr;
    // A name no file can have (a lone surrogate, a value past U+10FFFF) opens nothing:
    // it does not survive the way to UTF-8 and back.
    const std::wstring wide(name);
    const std::string path = rt::WideToUtf8(wide);
    if (rt::Utf8ToWide(path) != wide) return nullptr;
    HBITMAP loaded = rt::LoadBmpFile(path);
    if (!loaded) return nullptr;
    const gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(loaded);
    const Conversion to{cx ? cx : bmp->width, cy ? cy : bmp->height, (fuLoad & LR_CREATEDIBSECTION) != 0};
    if (to.dibSection && to.width == bmp->width && to.height == bmp->height) return loaded;
    HBITMAP converted = Convert(loaded, to);
    gdi::Remove(loaded);
    return converted;
}
