// Image lists: rows of equally sized images kept as plain pixels (no GDI objects), each
// with a mask when the list has ILC_MASK, drawn pixel by pixel through the DC so that its
// mapping and clipping apply.
//
// Index
//   1. Handle table
//   2. Reading bitmaps
//   3. API
#include <map>
#include <memory>

#include "afx/atlgdi.h"
#include "menu/menu_private.h"
#include "win32/commctrl.h"

namespace {

// ---- 1. Handle table -----------------------------------------------------------------------
struct ImageList {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF bk = CLR_NONE;
    std::vector<std::vector<uint32_t>> images;  // 0x00RRGGBB, cx * cy each
    std::vector<std::vector<bool>> masks;       // true: transparent

    bool HasMask() const { return (flags & ILC_MASK) != 0; }
};

struct Lists {
    std::map<uintptr_t, std::unique_ptr<ImageList>> live;
    uintptr_t next = 1;  // values are never reused, so a destroyed list stays invalid
};

Lists& lists() {
    static Lists l;  // common-control objects of the process
    return l;
}

ImageList* Find(HIMAGELIST himl) {
    Lists& l = lists();
    const auto it = l.live.find(reinterpret_cast<uintptr_t>(himl));
    return it == l.live.end() ? nullptr : it->second.get();
}

// ---- 2. Reading bitmaps ----------------------------------------------------------------------
// The pixels of a bitmap, top row first, as 0x00RRGGBB.
bool ReadPixels(HBITMAP hbm, int* width, int* height, std::vector<uint32_t>* pixels) {
    BITMAP bm{};
    if (!hbm || !GetObjectW(hbm, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    pixels->assign(size_t(bm.bmWidth) * size_t(bm.bmHeight), 0);
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const int lines = GetDIBits(CScreenDC(), hbm, 0, UINT(bm.bmHeight), pixels->data(), &bi, DIB_RGB_COLORS);
    for (uint32_t& p : *pixels) p &= 0x00FFFFFF;
    return lines == bm.bmHeight;
}

uint32_t ToPixel(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

COLORREF ToColor(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Cuts a bitmap into images; a null mask source with ILC_MASK masks nothing.
int AddImages(ImageList* list, const std::vector<uint32_t>& image_px, int width, int height,
              const std::vector<bool>* mask_of_bitmap) {
    const int count = width / list->cx;
    if (count <= 0) return -1;
    const int first = int(list->images.size());
    for (int n = 0; n < count; ++n) {
        std::vector<uint32_t> image(size_t(list->cx) * size_t(list->cy), 0);
        std::vector<bool> mask(image.size(), false);
        for (int y = 0; y < list->cy && y < height; ++y) {
            for (int x = 0; x < list->cx; ++x) {
                const size_t src = size_t(y) * size_t(width) + size_t(n * list->cx + x);
                const size_t dst = size_t(y) * size_t(list->cx) + size_t(x);
                image[dst] = image_px[src];
                if (list->HasMask() && mask_of_bitmap) mask[dst] = (*mask_of_bitmap)[src];
            }
        }
        list->images.push_back(std::move(image));
        list->masks.push_back(std::move(mask));
    }
    return first;
}

uint32_t Blend(uint32_t p, uint32_t with, int parts_of_4) {  // parts_of_4 of `with`
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (p >> shift) & 0xFF, b = (with >> shift) & 0xFF;
        out |= (((4 - uint32_t(parts_of_4)) * a + uint32_t(parts_of_4) * b) / 4) << shift;
    }
    return out;
}

}  // namespace

namespace rt {
int ImageListObjectCount() {
    Lists& l = lists();
    return int(l.live.size());
}
}  // namespace rt

// ---- 3. API -------------------------------------------------------------------------------------
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0) return nullptr;
    auto list = std::make_unique<ImageList>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    Lists& l = lists();
    const uintptr_t value = l.next++;
    l.live[value] = std::move(list);
    return reinterpret_cast<HIMAGELIST>(value);
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
    Lists& l = lists();
    return l.live.erase(reinterpret_cast<uintptr_t>(himl)) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
    const ImageList* list = Find(himl);
    return list ? int(list->images.size()) : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount) {
    ImageList* list = Find(himl);
    if (!list) return FALSE;
    const size_t area = size_t(list->cx) * size_t(list->cy);
    list->images.resize(uNewCount, std::vector<uint32_t>(area, 0));
    list->masks.resize(uNewCount, std::vector<bool>(area, false));
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    const ImageList* list = Find(himl);
    if (!list || !cx || !cy) return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
    ImageList* list = Find(himl);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (!list || !ReadPixels(hbmImage, &width, &height, &pixels)) return -1;
    std::vector<bool> mask;
    int mask_w = 0, mask_h = 0;
    std::vector<uint32_t> mask_px;
    if (hbmMask && ReadPixels(hbmMask, &mask_w, &mask_h, &mask_px)) {
        mask.assign(pixels.size(), false);
        for (int y = 0; y < height && y < mask_h; ++y)
            for (int x = 0; x < width && x < mask_w; ++x)
                mask[size_t(y) * size_t(width) + size_t(x)] = mask_px[size_t(y) * size_t(mask_w) + size_t(x)] != 0;
    }
    return AddImages(list, pixels, width, height, mask.empty() ? nullptr : &mask);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
    ImageList* list = Find(himl);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (!list || !ReadPixels(hbmImage, &width, &height, &pixels)) return -1;
    std::vector<bool> mask(pixels.size(), false);
    if (list->HasMask() && crMask != CLR_NONE) {
        const uint32_t key = ToPixel(crMask);
        for (size_t i = 0; i < pixels.size(); ++i) {
            mask[i] = pixels[i] == key;
            if (mask[i]) pixels[i] = 0;  // stored black under the mask
        }
    }
    return AddImages(list, pixels, width, height, &mask);
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
    ImageList* list = Find(himl);
    if (!list) return FALSE;
    if (i == -1) {
        list->images.clear();
        list->masks.clear();
        return TRUE;
    }
    if (i < 0 || size_t(i) >= list->images.size()) return FALSE;
    list->images.erase(list->images.begin() + i);
    list->masks.erase(list->masks.begin() + i);
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
    ImageList* list = Find(himl);
    if (!list) return CLR_NONE;
    const COLORREF old = list->bk;
    list->bk = clrBk;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
    const ImageList* list = Find(himl);
    return list ? list->bk : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    const ImageList* list = Find(himl);
    if (!list || i < 0 || size_t(i) >= list->images.size() || !hdcDst) return FALSE;
    const std::vector<uint32_t>& image = list->images[size_t(i)];
    const std::vector<bool>& mask = list->masks[size_t(i)];
    const bool masked = list->HasMask();
    const uint32_t highlight = ToPixel(GetSysColor(COLOR_HIGHLIGHT));
    const int blend = (fStyle & ILD_BLEND50) ? 2 : (fStyle & ILD_BLEND25) ? 1 : 0;
    for (int row = 0; row < list->cy; ++row) {
        for (int col = 0; col < list->cx; ++col) {
            const size_t k = size_t(row) * size_t(list->cx) + size_t(col);
            const bool transparent = masked && mask[k];
            if (fStyle & ILD_MASK) {
                SetPixel(hdcDst, x + col, y + row, transparent ? RGB(255, 255, 255) : RGB(0, 0, 0));
                continue;
            }
            if (transparent) {
                if ((fStyle & ILD_TRANSPARENT) || list->bk == CLR_NONE) continue;
                SetPixel(hdcDst, x + col, y + row, list->bk);
                continue;
            }
            const uint32_t p = blend ? Blend(image[k], highlight, blend) : image[k];
            SetPixel(hdcDst, x + col, y + row, ToColor(p));
        }
    }
    return TRUE;
}

HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR lpbmp, int cx, int, COLORREF crMask, UINT uType, UINT uFlags) {
    if (uType != IMAGE_BITMAP || cx <= 0 || !lpbmp) return nullptr;
    HBITMAP hbm = nullptr;
    if (uFlags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(lpbmp)) return nullptr;
        std::string path;
        for (const wchar_t* p = lpbmp; *p; ++p) path.push_back(char(*p));
        hbm = rt::LoadBmpFile(path);
    } else {
        hbm = LoadBitmapW(hi, lpbmp);
    }
    BITMAP bm{};
    if (!hbm || !GetObjectW(hbm, sizeof bm, &bm)) {
        if (hbm) DeleteObject(hbm);
        return nullptr;
    }
    HIMAGELIST himl = ImageList_Create(cx, bm.bmHeight, ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0), 0, 0);
    const int first = himl ? ImageList_AddMasked(himl, hbm, crMask) : -1;
    DeleteObject(hbm);
    if (first < 0) {
        ImageList_Destroy(himl);
        return nullptr;
    }
    return himl;
}
