// GDI objects: stock objects, creation, selection into DCs, deletion, GetObject and
// bitmap bits.
//
// Index
//   1. Stock objects
//   2. Bitmaps: allocation, creation, bits
//   3. Pens, brushes, regions
//   4. DCs: creation, destruction, SaveDC/RestoreDC
//   5. SelectObject, DeleteObject, GetObject and friends
//
// Deleting an object that is still selected into a DC is a caller error on Windows;
// here DeleteObject refuses it (FALSE) and the object stays alive, so that a DC never
// points at freed memory and the leak shows in rt::GdiObjectCount.
#include <algorithm>
#include <cstring>
#include <new>

#include "gdi_private.h"

namespace gdi {
namespace {

constexpr int64_t kMaxPixels = int64_t(1) << 26;  // 64 Mpixels (256 MB): fail beyond, never allocate gigabytes

// ---- 1. Stock objects ------------------------------------------------------------------
constexpr int kStockCount = DC_PEN + 1;

template <class T>
HGDIOBJ InsertStock(std::unique_ptr<T> obj) {
    obj->stock = true;
    return Insert(std::move(obj));
}

HGDIOBJ MakeStockBrush(UINT style, COLORREF c) {
    auto b = std::make_unique<Brush>();
    b->lb = LOGBRUSH{style, c, 0};
    return InsertStock(std::move(b));
}

HGDIOBJ MakeStockPen(UINT style, COLORREF c) {
    auto p = std::make_unique<Pen>();
    p->lp = LOGPEN{style, POINT{style == PS_NULL ? 0 : 1, 0}, c};
    return InsertStock(std::move(p));
}

HGDIOBJ MakeStockFont(LONG height, LONG weight, BYTE charset, BYTE pitch, const wchar_t* face) {
    auto f = std::make_unique<Font>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = charset;
    f->lf.lfPitchAndFamily = pitch;
    wcsncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    return InsertStock(std::move(f));
}

HGDIOBJ MakeStock(int i) {
    switch (i) {
        case WHITE_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
        case LTGRAY_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
        case GRAY_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
        case DKGRAY_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
        case BLACK_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
        case NULL_BRUSH:
            return MakeStockBrush(BS_NULL, 0);
        case WHITE_PEN:
            return MakeStockPen(PS_SOLID, RGB(255, 255, 255));
        case BLACK_PEN:
            return MakeStockPen(PS_SOLID, RGB(0, 0, 0));
        case NULL_PEN:
            return MakeStockPen(PS_NULL, 0);
        case OEM_FIXED_FONT:
            return MakeStockFont(12, FW_NORMAL, 255, FIXED_PITCH | FF_MODERN, L"Terminal");
        case ANSI_FIXED_FONT:
            return MakeStockFont(12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, L"Courier");
        case ANSI_VAR_FONT:
            return MakeStockFont(12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif");
        case SYSTEM_FONT:
            return MakeStockFont(16, FW_BOLD, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, L"System");
        case DEVICE_DEFAULT_FONT:
            return MakeStockFont(16, FW_BOLD, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, L"System");
        case SYSTEM_FIXED_FONT:
            return MakeStockFont(15, FW_NORMAL, DEFAULT_CHARSET, FIXED_PITCH | FF_MODERN, L"Fixedsys");
        case DEFAULT_GUI_FONT:
            return MakeStockFont(-11, FW_NORMAL, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, L"MS Shell Dlg");
        case DC_BRUSH:
            return MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
        case DC_PEN:
            return MakeStockPen(PS_SOLID, RGB(0, 0, 0));
        default:
            return nullptr;  // DEFAULT_PALETTE and unused numbers
    }
}

HGDIOBJ& StockSlot(int i) {
    static HGDIOBJ stock[kStockCount] = {};  // the platform's stock objects, made on first use
    return stock[i];
}

}  // namespace

HBITMAP DefaultBitmap() {
    static HBITMAP bmp = [] {
        auto b = std::make_unique<Bitmap>();
        b->stock = true;
        b->Allocate(1, 1, 1, false);
        return static_cast<HBITMAP>(Insert(std::move(b)));
    }();
    return bmp;
}

bool BrushColor(HBRUSH hbr, DC* dc, COLORREF* out) {
    const uintptr_t v = reinterpret_cast<uintptr_t>(hbr);
    if (v >= 1 && v <= COLOR_MENUBAR + 1) {  // (HBRUSH)(COLOR_xxx + 1)
        *out = GetSysColor(int(v - 1));
        return true;
    }
    Brush* b = Get<Brush>(hbr);
    if (!b || b->lb.lbStyle == BS_NULL) return false;
    if (b->sysColorIndex >= 0)
        *out = GetSysColor(b->sysColorIndex);
    else if (dc && hbr == GetStockObject(DC_BRUSH))
        *out = dc->s.dcBrushColor;
    else
        *out = b->lb.lbColor;  // hatched brushes draw solid in their colour
    return true;
}

bool PenColor(DC* dc, COLORREF* out, int* width) {
    Pen* p = Get<Pen>(dc->s.pen);
    if (!p || p->lp.lopnStyle == PS_NULL) return false;
    *out = dc->s.pen == GetStockObject(DC_PEN) ? dc->s.dcPenColor : p->lp.lopnColor;
    *width = std::max<int>(1, p->lp.lopnWidth.x);
    return true;
}

// ---- 2. Bitmaps ------------------------------------------------------------------------
bool Bitmap::Allocate(int w, int h, int bpp, bool bottomUp, Clear clear) {
    if (w <= 0 || h <= 0 || int64_t(w) * h > kMaxPixels) return false;
    if (bpp != 1 && bpp != 32) return false;
    const size_t pixels = size_t(w) * size_t(h);
    if (store.capacity() < pixels) TakeStore(pixels, &store);
    try {
        store.resize(pixels);  // new pixels unwritten: cleared below or when first read
    } catch (const std::bad_alloc&) {
        return false;
    }
    blackPending = clear == Clear::WhenRead;
    if (!blackPending) memset(store.data(), 0, pixels * 4);
    width = w;
    height = h;
    bitsPixel = bpp;
    topDown = !bottomUp;
    stride = ptrdiff_t(w) * 4;
    scan0 = reinterpret_cast<uint8_t*>(store.data());
    if (bottomUp) {  // the last row in memory is the top row
        scan0 += (h - 1) * stride;
        stride = -stride;
    }
    return true;
}

void Bitmap::ClearPending() {
    memset(store.data(), 0, store.size() * 4);
    blackPending = false;
}

Bitmap::~Bitmap() {
    if (!dibSection) KeepStore(std::move(store));  // a DIB section's bits may still be read
}

DC::~DC() {
    if (Bitmap* b = Get<Bitmap>(s.bitmap); b && b->selectedIn == this) b->selectedIn = nullptr;
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font)})
        if (Object* o = Lookup(h, Kind::None)) o->selections--;
    KeepSaveStack(std::move(saved));
}

namespace {

HBITMAP NewBitmap(int w, int h, int bpp, bool dib, bool bottomUp, Bitmap::Clear clear = Bitmap::Clear::Now) {
    auto b = std::make_unique<Bitmap>();
    if (!b->Allocate(w, h, bpp, bottomUp, clear)) return nullptr;
    b->dibSection = dib;
    return static_cast<HBITMAP>(Insert(std::move(b)));
}

// Device bitmaps exchange bits in rows padded to 16 bits; DIB sections to 32 bits.
int64_t WidthBytes(const Bitmap* b) {
    if (b->IsMono()) return b->dibSection ? (int64_t(b->width) + 31) / 32 * 4 : (int64_t(b->width) + 15) / 16 * 2;
    return int64_t(b->width) * 4;
}

void UnpackRow(Bitmap* b, int y, const uint8_t* src) {
    uint32_t* row = b->Row(y);
    if (!b->IsMono()) {
        memcpy(row, src, size_t(b->width) * 4);
        return;
    }
    for (int x = 0; x < b->width; ++x) row[x] = (src[x >> 3] >> (7 - (x & 7))) & 1 ? 0xFFFFFF : 0;
}

void PackRow(const Bitmap* b, int y, uint8_t* dst) {
    const uint32_t* row = b->Row(y);
    if (!b->IsMono()) {
        memcpy(dst, row, size_t(b->width) * 4);
        return;
    }
    memset(dst, 0, size_t(WidthBytes(b)));
    for (int x = 0; x < b->width; ++x)
        if (row[x] & 0xFFFFFF) dst[x >> 3] |= uint8_t(0x80 >> (x & 7));
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (nWidth == 0 || nHeight == 0) return DefaultBitmap();  // Windows hands out its 1x1 stock bitmap
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32)) return nullptr;
    HBITMAP h = NewBitmap(nWidth, nHeight, int(nBitCount), false, false);
    if (h && lpBits) SetBitmapBits(h, ~DWORD(0), lpBits);
    return h;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return nullptr;
    if (cx == 0 || cy == 0) return DefaultBitmap();
    Bitmap* surface = dc->SurfaceShape();
    const bool mono = dc->memory && surface && surface->IsMono();
    // Its pixels are reachable through the GDI alone, so their clearing may wait.
    return NewBitmap(cx, cy, mono ? 1 : 32, false, false, Bitmap::Clear::WhenRead);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT, void** ppvBits, HANDLE hSection, DWORD) {
    if (ppvBits) *ppvBits = nullptr;
    if (!pbmi || hSection) return nullptr;
    const BITMAPINFOHEADER& bi = pbmi->bmiHeader;
    if (bi.biSize < sizeof(BITMAPINFOHEADER) || bi.biBitCount != 32 || bi.biCompression != BI_RGB ||
        bi.biHeight == INT32_MIN)
        return nullptr;
    const bool bottomUp = bi.biHeight > 0;
    HBITMAP h = NewBitmap(bi.biWidth, bottomUp ? bi.biHeight : -bi.biHeight, 32, true, bottomUp);
    if (h && ppvBits) *ppvBits = Get<Bitmap>(h)->store.data();  // memory order as the caller sees it
    return h;
}

LONG GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
    Bitmap* b = Get<Bitmap>(hbit);
    if (!b || cb < 0) return 0;
    b->Realize();
    const int64_t rowBytes = WidthBytes(b), total = rowBytes * b->height;
    if (!lpvBits) return LONG(total);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    int64_t done = 0;
    for (int y = 0; y < b->height && done < cb; ++y) {
        PackRow(b, y, row.data());
        const int64_t n = std::min<int64_t>(rowBytes, cb - done);
        memcpy(static_cast<uint8_t*>(lpvBits) + done, row.data(), size_t(n));
        done += n;
    }
    return LONG(done);
}

LONG SetBitmapBits(HBITMAP hbm, DWORD cb, const void* pvBits) {
    Bitmap* b = Get<Bitmap>(hbm);
    if (!b || !pvBits || b->stock) return 0;
    b->Realize();
    const int64_t rowBytes = WidthBytes(b);
    const int rows = int(std::min<int64_t>(b->height, int64_t(cb) / rowBytes));  // whole rows only
    for (int y = 0; y < rows; ++y) UnpackRow(b, y, static_cast<const uint8_t*>(pvBits) + y * rowBytes);
    return LONG(rows * rowBytes);
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT) {
    Bitmap* b = Get<Bitmap>(hbm);
    if (!Get<DC>(hdc) || !b || !lpbmi) return 0;
    BITMAPINFOHEADER& bi = lpbmi->bmiHeader;
    if (bi.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (bi.biBitCount == 0) {  // the caller asks for the format
        bi.biWidth = b->width;
        bi.biHeight = b->height;
        bi.biPlanes = 1;
        bi.biBitCount = WORD(b->IsMono() ? 1 : 32);
        bi.biCompression = BI_RGB;
        bi.biSizeImage = DWORD((int64_t(b->width) * bi.biBitCount + 31) / 32 * 4 * b->height);
        return b->height;
    }
    if ((bi.biBitCount != 32 && bi.biBitCount != 24) || bi.biCompression != BI_RGB) return 0;
    b->Realize();
    const int64_t rowBytes = (int64_t(b->width) * bi.biBitCount + 31) / 32 * 4;
    if (!lpvBits) {
        bi.biSizeImage = DWORD(rowBytes * b->height);
        return b->height;
    }
    const bool topDown = bi.biHeight < 0;
    const int64_t lines = std::min<int64_t>(cLines, int64_t(b->height) - std::min<int64_t>(start, b->height));
    for (int64_t i = 0; i < lines; ++i) {
        const int64_t line = int64_t(start) + i;  // DIB scan line: from the bottom unless top-down
        const uint32_t* src = b->Row(int(topDown ? line : b->height - 1 - line));
        uint8_t* dst = static_cast<uint8_t*>(lpvBits) + i * rowBytes;
        if (bi.biBitCount == 32) {
            for (int x = 0; x < b->width; ++x) reinterpret_cast<uint32_t*>(dst)[x] = src[x] & 0xFFFFFF;
        } else {
            for (int x = 0; x < b->width; ++x) {
                dst[x * 3] = uint8_t(src[x]);
                dst[x * 3 + 1] = uint8_t(src[x] >> 8);
                dst[x * 3 + 2] = uint8_t(src[x] >> 16);
            }
        }
    }
    return int(lines);
}

// ---- 3. Pens, brushes, regions -------------------------------------------------------------
HPEN CreatePenIndirect(const LOGPEN* plpen) {
    if (!plpen || plpen->lopnStyle > PS_INSIDEFRAME) return nullptr;
    if (plpen->lopnStyle == PS_NULL) return static_cast<HPEN>(GetStockObject(NULL_PEN));
    auto p = std::make_unique<Pen>();
    p->lp = *plpen;
    p->lp.lopnWidth.x = std::max<LONG>(0, p->lp.lopnWidth.x);
    p->lp.lopnWidth.y = 0;
    return static_cast<HPEN>(Insert(std::move(p)));
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
    const LOGPEN lp{UINT(iStyle), POINT{cWidth, 0}, color};
    return CreatePenIndirect(&lp);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* plbrush) {
    if (!plbrush || plbrush->lbStyle > BS_HATCHED) return nullptr;
    if (plbrush->lbStyle == BS_NULL) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    auto b = std::make_unique<Brush>();
    b->lb = *plbrush;
    return static_cast<HBRUSH>(Insert(std::move(b)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    const LOGBRUSH lb{BS_SOLID, color, 0};
    return CreateBrushIndirect(&lb);
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) {
    auto r = std::make_unique<Region>();
    r->rc = RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    if (r->rc.left == r->rc.right || r->rc.top == r->rc.bottom)
        r->rc = RECT{0, 0, 0, 0};  // empty regions are (0,0,0,0)
    return static_cast<HRGN>(Insert(std::move(r)));
}

HRGN CreateRectRgnIndirect(const RECT* lprect) {
    return lprect ? CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom) : nullptr;
}

int GetRgnBox(HRGN hrgn, LPRECT lprc) {
    Region* r = Get<Region>(hrgn);
    if (!r || !lprc) return ERROR;
    *lprc = r->rc;
    return IsRectEmpty(&r->rc) ? NULLREGION : SIMPLEREGION;
}

// ---- 4. DCs ----------------------------------------------------------------------------
namespace gdi {

// A DC with the defaults of a new DC; the caller fills in display DC fields.

HDC NewDC(bool memory) {
    auto dc = std::make_unique<DC>();
    TakeSaveStack(&dc->saved);
    dc->memory = memory;
    dc->s.bitmap = DefaultBitmap();
    dc->s.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->s.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->s.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    for (HGDIOBJ h : {HGDIOBJ(dc->s.pen), HGDIOBJ(dc->s.brush), HGDIOBJ(dc->s.font)})
        Lookup(h, Kind::None)->selections++;
    return static_cast<HDC>(Insert(std::move(dc)));
}

}  // namespace gdi

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc && !Get<DC>(hdc)) return nullptr;
    return NewDC(true);  // every DC here is compatible with the 32-bit screen
}

BOOL DeleteDC(HDC hdc) {
    return Get<DC>(hdc) && Remove(hdc);
}

int SaveDC(HDC hdc) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return 0;
    dc->saved.push_back(dc->s);
    return int(dc->saved.size());
}

namespace {

// Puts a saved object back; one deleted (or taken by another DC) since falls back to the default.
void Reselect(HDC hdc, HGDIOBJ want, int fallbackStock) {
    if (!SelectObject(hdc, want)) SelectObject(hdc, GetStockObject(fallbackStock));
}

}  // namespace

BOOL RestoreDC(HDC hdc, int nSavedDC) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return FALSE;
    const int depth = int(dc->saved.size());
    const int level = nSavedDC < 0 ? depth + 1 + nSavedDC : nSavedDC;
    if (nSavedDC == 0 || level < 1 || level > depth) return FALSE;
    const DCState want = dc->saved[size_t(level - 1)];
    dc->saved.resize(size_t(level - 1));
    if (!SelectObject(hdc, want.bitmap)) SelectObject(hdc, DefaultBitmap());
    Reselect(hdc, want.pen, BLACK_PEN);
    Reselect(hdc, want.brush, WHITE_BRUSH);
    Reselect(hdc, want.font, SYSTEM_FONT);
    const DCState now = dc->s;
    dc->s = want;
    dc->s.bitmap = now.bitmap;
    dc->s.pen = now.pen;
    dc->s.brush = now.brush;
    dc->s.font = now.font;
    return TRUE;
}

// ---- 5. Selection, deletion, queries ---------------------------------------------------------
namespace {

template <class H>
HGDIOBJ SwapSelected(H& slot, HGDIOBJ h) {
    Object* prev = Lookup(slot, Kind::None);
    if (prev) prev->selections--;
    Lookup(h, Kind::None)->selections++;
    HGDIOBJ old = slot;
    slot = static_cast<H>(h);
    return old;
}

HGDIOBJ SelectBitmap(DC* dc, HBITMAP h) {
    Bitmap* b = Get<Bitmap>(h);
    const bool screen = b->stock && h != DefaultBitmap();  // the only other stock bitmap
    if (!dc->memory || screen || (b->selectedIn && b->selectedIn != dc)) return nullptr;
    if (Bitmap* prev = Get<Bitmap>(dc->s.bitmap); prev && prev->selectedIn == dc) prev->selectedIn = nullptr;
    if (!b->stock) b->selectedIn = dc;
    HBITMAP old = dc->s.bitmap;
    dc->s.bitmap = h;
    return old;
}

}  // namespace

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return nullptr;
    switch (KindOf(h)) {
        case Kind::Bitmap:
            return SelectBitmap(dc, static_cast<HBITMAP>(h));
        case Kind::Pen:
            return SwapSelected(dc->s.pen, h);
        case Kind::Brush:
            return SwapSelected(dc->s.brush, h);
        case Kind::Font:
            return SwapSelected(dc->s.font, h);
        case Kind::Region: {
            const int type = SelectClipRgn(hdc, static_cast<HRGN>(h));
            return type == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(intptr_t(type));
        }
        default:
            return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ ho) {
    Object* o = Lookup(ho, Kind::None);
    if (!o || o->kind == Kind::DC) return FALSE;
    if (o->stock) return TRUE;
    if (o->selections > 0) return FALSE;
    if (o->kind == Kind::Bitmap && static_cast<Bitmap*>(o)->selectedIn) return FALSE;
    return Remove(ho);
}

HGDIOBJ GetStockObject(int i) {
    if (i < 0 || i >= kStockCount) return nullptr;
    HGDIOBJ& slot = StockSlot(i);
    if (!slot) slot = MakeStock(i);
    return slot;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DC* dc = Get<DC>(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN:
            return dc->s.pen;
        case OBJ_BRUSH:
            return dc->s.brush;
        case OBJ_FONT:
            return dc->s.font;
        case OBJ_BITMAP:
            return dc->s.bitmap;
        default:
            return nullptr;
    }
}

DWORD GetObjectType(HGDIOBJ h) {
    Object* o = Lookup(h, Kind::None);
    if (!o) return 0;
    switch (o->kind) {
        case Kind::DC:
            return static_cast<DC*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
        case Kind::Bitmap:
            return OBJ_BITMAP;
        case Kind::Pen:
            return OBJ_PEN;
        case Kind::Brush:
            return OBJ_BRUSH;
        case Kind::Font:
            return OBJ_FONT;
        case Kind::Region:
            return OBJ_REGION;
        default:
            return 0;
    }
}

namespace {

template <class T>
int CopyOut(const T& value, int c, LPVOID pv, bool partialOk = false) {
    if (!pv) return int(sizeof(T));
    if (c < 0 || (!partialOk && size_t(c) < sizeof(T))) return 0;
    const size_t n = std::min(size_t(c), sizeof(T));
    memcpy(pv, &value, n);
    return int(n);
}

BITMAP DescribeBitmap(Bitmap* b) {
    BITMAP bm{};
    bm.bmWidth = b->width;
    bm.bmHeight = b->height;
    bm.bmWidthBytes = LONG(WidthBytes(b));
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(b->bitsPixel);
    bm.bmBits = b->dibSection ? b->store.data() : nullptr;
    return bm;
}

}  // namespace

int GetObjectW(HANDLE h, int c, LPVOID pv) {
    Object* o = Lookup(h, Kind::None);
    if (!o) return 0;
    switch (o->kind) {
        case Kind::Pen:
            return CopyOut(static_cast<Pen*>(o)->lp, c, pv);
        case Kind::Brush:
            return CopyOut(static_cast<Brush*>(o)->lb, c, pv);
        case Kind::Font:
            return CopyOut(static_cast<Font*>(o)->lf, c, pv, true);
        case Kind::Bitmap: {
            Bitmap* b = static_cast<Bitmap*>(o);
            if (!b->dibSection || (pv && size_t(c) < sizeof(DIBSECTION))) return CopyOut(DescribeBitmap(b), c, pv);
            DIBSECTION ds{};
            ds.dsBm = DescribeBitmap(b);
            ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
            ds.dsBmih.biWidth = b->width;
            ds.dsBmih.biHeight = b->topDown ? -b->height : b->height;
            ds.dsBmih.biPlanes = 1;
            ds.dsBmih.biBitCount = WORD(b->bitsPixel);
            ds.dsBmih.biCompression = BI_RGB;
            ds.dsBmih.biSizeImage = DWORD(WidthBytes(b) * b->height);
            return CopyOut(ds, c, pv);
        }
        default:
            return 0;
    }
}
