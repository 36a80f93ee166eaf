// Private object model of the GDI subset, shared by the gdi/, text/, image/ and
// user/ parts of the runtime. Nothing outside runtime/src includes this.
//
// Index
//   1. Handle table     every GDI object lives behind a validated handle
//   2. Objects          bitmap (surface), pen, brush, font, region, DC
//   3. Coordinates      logical -> surface mapping and the effective clip
//   4. Pixels           COLORREF <-> 0x00RRGGBB pixel conversion
//   5. Fills            the one fill routine text/ shares
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

#include "../handle_table.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"

namespace gdi {

// ---- 1. Handle table -----------------------------------------------------------------
enum class Kind : uint8_t { None = 0, DC, Bitmap, Pen, Brush, Font, Region, Count };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    // Object memory is recycled by size, so that objects made and deleted on every paint
    // (a memory DC, its bitmap, a font) stop reaching the heap once warm.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
    Kind kind;
    bool stock = false;  // stock objects ignore DeleteObject and are never counted
    HGDIOBJ handle = nullptr;
    int selections = 0;  // DCs that have this pen/brush/font selected; DeleteObject refuses while > 0
};

// Handles are (generation << 32 | kind << 24 | slot + 1): a deleted handle, or one of
// another kind, looks up as null.
struct HandleLayout {
    static constexpr int kSlotBits = 24;
    static constexpr int kGenerationShift = 32;
    static constexpr uint32_t kMaxGeneration = 0xFFFFFFFF;
    static constexpr uint32_t kMaxSlots = 0xFFFFFF;
};
// Plain data: zero before any static constructor runs, reached without a guard.
struct Handles {
    rt::HandleTable<Object, HandleLayout> table;
    int live[size_t(Kind::Count)];  // non-stock objects per kind
};
extern Handles g_handles;

HGDIOBJ Insert(std::unique_ptr<Object> obj);
inline Object* Lookup(HGDIOBJ h, Kind kind) {  // kind None accepts any kind
    const uint64_t v = reinterpret_cast<uintptr_t>(h);
    if (kind != Kind::None && Kind((v >> 24) & 0xFF) != kind) return nullptr;
    return g_handles.table.Lookup(v);
}
inline Kind KindOf(HGDIOBJ h) {
    const Object* o = Lookup(h, Kind::None);
    return o ? o->kind : Kind::None;
}
bool Remove(HGDIOBJ h);    // destroys the object; false for unknown handles
int LiveCount(Kind kind);  // live non-stock objects of that kind
template <class T>
T* Get(HGDIOBJ h) {
    return static_cast<T*>(Lookup(h, T::kKind));
}
// Pixel storage. Growing it leaves the new pixels unwritten (default-initialised): a
// bitmap decides when its pixels are cleared (Bitmap::Realize).
template <class T>
struct DefaultInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using PixelStore = std::vector<uint32_t, DefaultInitAllocator<uint32_t>>;
// Pixel storage of deleted bitmaps, kept (a few, bounded) for the next bitmaps.
void KeepStore(PixelStore&& store);
// Swaps in kept storage with room for pixels (contents unspecified); false when none fits.
bool TakeStore(size_t pixels, PixelStore* out);

// ---- 2. Objects ------------------------------------------------------------------------
struct DC;

// Every surface stores 32-bit 0x00RRGGBB pixels (B, G, R, X in memory). A monochrome
// bitmap keeps the same storage with only 0x000000 and 0xFFFFFF in it and reports
// 1 bit per pixel to callers.
struct Bitmap : Object {
    static constexpr Kind kKind = Kind::Bitmap;
    Bitmap() : Object(kKind) {}
    ~Bitmap() override;  // offers the pixel storage to the next Allocate
    int width = 0;
    int height = 0;
    int bitsPixel = 32;           // 1 or 32, as GetObject reports it
    bool dibSection = false;      // bits visible to the caller (CreateDIBSection)
    bool topDown = true;          // DIB sections only
    PixelStore store;             // owned storage, width * height pixels
    uint8_t* scan0 = nullptr;     // first byte of the top row
    ptrdiff_t stride = 0;         // bytes; negative for bottom-up DIB sections
    DC* selectedIn = nullptr;     // a bitmap sits in at most one DC
    // Black, but not yet written: the storage holds whatever it held. A paint's off-screen
    // bitmap is usually covered whole by its first fill, so its clearing is put off until
    // something reads or partly writes it (Realize) and skipped when a write covers it
    // all first (WillOverwrite).
    bool blackPending = false;

    uint32_t* Row(int y) {
        assert(!blackPending);
        return reinterpret_cast<uint32_t*>(scan0 + y * stride);
    }
    const uint32_t* Row(int y) const {
        assert(!blackPending);
        return reinterpret_cast<const uint32_t*>(scan0 + y * stride);
    }
    bool IsMono() const { return bitsPixel == 1; }
    // Black storage, reusing the storage of a recently deleted bitmap of about that size
    // when there is one. bottomUp lays rows out as a bottom-up DIB. Clear::WhenRead puts
    // the clearing off (blackPending); only bitmaps whose pixels no caller holds may take it.
    enum class Clear { Now, WhenRead };
    bool Allocate(int w, int h, int bpp, bool bottomUp, Clear clear = Clear::Now);
    // Makes the pixels what they are to every reader: clears a pending black.
    void Realize() {
        if (blackPending) ClearPending();
    }
    // Called before a write that sets every pixel of surface_rect without reading any:
    // a pending black that the write covers whole is never stored.
    void WillOverwrite(const RECT& surface_rect) {
        if (!blackPending) return;
        if (surface_rect.left <= 0 && surface_rect.top <= 0 && surface_rect.right >= width &&
            surface_rect.bottom >= height)
            blackPending = false;
        else
            ClearPending();
    }

private:
    void ClearPending();
};

struct Pen : Object {
    static constexpr Kind kKind = Kind::Pen;
    Pen() : Object(kKind) {}
    LOGPEN lp{};
};

struct Brush : Object {
    static constexpr Kind kKind = Kind::Brush;
    Brush() : Object(kKind) {}
    LOGBRUSH lb{};
    int sysColorIndex = -1;  // GetSysColorBrush brushes follow the system colour
};

struct FontFace;  // owned by text/, resolved lazily from the LOGFONTW
struct Font : Object {
    static constexpr Kind kKind = Kind::Font;
    Font() : Object(kKind) {}
    LOGFONTW lf{};
    std::shared_ptr<FontFace> face;  // set by text/ on first use
};

struct Region : Object {
    static constexpr Kind kKind = Kind::Region;
    Region() : Object(kKind) {}
    RECT rc{};  // rectangular regions only; left/top inclusive
};

struct DCState {  // what SaveDC/RestoreDC keep
    HBITMAP bitmap = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    int rop2 = R2_COPYPEN;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    POINT brushOrg{0, 0};
    POINT curPos{0, 0};
    bool hasClip = false;
    RECT clip{};  // device coordinates (before dcOrg), when hasClip
};

struct DC : Object {
    static constexpr Kind kKind = Kind::DC;
    DC() : Object(kKind) {}
    ~DC() override;
    DCState s;
    std::vector<DCState> saved;
    bool memory = true;   // memory DC (OBJ_MEMDC) vs display DC (OBJ_DC)
    HWND hwnd = nullptr;  // window DCs: the window they paint
    // Display DCs draw on a surface they do not select: the screen. dcOrg places
    // device (0,0) on that surface and visRect limits them to their window.
    HBITMAP displaySurface = nullptr;
    POINT dcOrg{0, 0};
    bool hasVis = false;
    RECT visRect{};  // surface coordinates

    // The bitmap drawn on, or null, its pixels realized for reading and drawing.
    Bitmap* Surface() {
        Bitmap* b = SurfaceShape();
        if (b) b->Realize();
        return b;
    }
    // The same bitmap for its size and format alone, or for a write that calls
    // WillOverwrite (or Realize) before it touches a pixel.
    Bitmap* SurfaceShape() { return Get<Bitmap>(displaySurface ? HGDIOBJ(displaySurface) : HGDIOBJ(s.bitmap)); }
};

// SaveDC stacks of deleted DCs, kept (a few, bounded) so that a new DC's SaveDC reuses
// their capacity. Take leaves out empty.
void KeepSaveStack(std::vector<DCState>&& saved);
void TakeSaveStack(std::vector<DCState>* out);

// The virtual screen surface; GetDC(NULL) and window DCs draw on it.
HBITMAP ScreenBitmap();
void SetScreenSize(int cx, int cy);
// A DC on the screen: device (0,0) at dcOrg, drawing limited to visRect (surface
// coordinates) when given. ReleaseDC (or DeleteDC) frees it.
HDC CreateDisplayDC(HWND hwnd, POINT dcOrg, const RECT* visRect);
// GetDC(NULL): a display DC over the whole screen. A GetDC that handles windows
// should call this for a null window.
HDC CreateScreenDC();
// A new DC with the default objects and attributes (memory or display).
HDC NewDC(bool memory);
// The shared 1x1 monochrome bitmap that new memory DCs hold.
HBITMAP DefaultBitmap();

// ---- 3. Coordinates ----------------------------------------------------------------------
// Logical -> device (MM_TEXT): device = logical - windowOrg + viewportOrg.
// Device -> surface: + dcOrg. Blit and fill loops work in surface coordinates.
// Sums are taken in 64 bits; LogicalToSurface saturates to the int range.
struct Point64 {
    int64_t x, y;
};
struct Rect64 {  // left/top inclusive, right/bottom exclusive; may be empty
    int64_t left, top, right, bottom;
};
inline Point64 LogicalToSurface64(const DC* dc, int64_t x, int64_t y) {
    return Point64{x - dc->s.windowOrg.x + dc->s.viewportOrg.x + dc->dcOrg.x,
                   y - dc->s.windowOrg.y + dc->s.viewportOrg.y + dc->dcOrg.y};
}
inline int SaturateInt(int64_t v) {
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int(v);
}
inline POINT LogicalToSurface(const DC* dc, int x, int y) {
    const Point64 p = LogicalToSurface64(dc, x, y);
    return POINT{SaturateInt(p.x), SaturateInt(p.y)};
}
// The rectangle as given (not normalised), mapped to surface coordinates.
inline Rect64 LogicalRectToSurface(const DC* dc, const RECT& rc) {
    const Point64 a = LogicalToSurface64(dc, rc.left, rc.top);
    const Point64 b = LogicalToSurface64(dc, rc.right, rc.bottom);
    return Rect64{a.x, a.y, b.x, b.y};
}
// The pixels a PatBlt from p of a width and height covers: a negative size runs left or
// up from the pixel after p, [p + size + 1, p + 1).
inline Rect64 PatBltRect(Point64 p, int64_t w, int64_t h) {
    return Rect64{w >= 0 ? p.x : p.x + w + 1, h >= 0 ? p.y : p.y + h + 1, w >= 0 ? p.x + w : p.x + 1,
                  h >= 0 ? p.y + h : p.y + 1};
}
// Intersects with clip (a surface rectangle); false when nothing is left. Not normalised:
// a rectangle with right <= left is empty.
bool ClipRect64(const Rect64& rc, const RECT& clip, RECT* out);
// The rectangle of the surface that drawing on this DC may touch (may be empty).
RECT EffectiveClip(DC* dc);
// surface: dc->Surface(), already looked up. Inline, worked edge by edge in scalars:
// every blit and fill starts here.
inline RECT EffectiveClip(DC* dc, Bitmap* surface) {
    if (!dc || !surface) return RECT{0, 0, 0, 0};
    int64_t left = 0, top = 0, right = surface->width, bottom = surface->height;
    if (dc->hasVis) {
        left = std::max<int64_t>(left, dc->visRect.left);
        top = std::max<int64_t>(top, dc->visRect.top);
        right = std::min<int64_t>(right, dc->visRect.right);
        bottom = std::min<int64_t>(bottom, dc->visRect.bottom);
    }
    if (dc->s.hasClip) {  // device coordinates: dcOrg places them on the surface
        const RECT& c = dc->s.clip;
        left = std::max<int64_t>(left, int64_t(c.left) + dc->dcOrg.x);
        top = std::max<int64_t>(top, int64_t(c.top) + dc->dcOrg.y);
        right = std::min<int64_t>(right, int64_t(c.right) + dc->dcOrg.x);
        bottom = std::min<int64_t>(bottom, int64_t(c.bottom) + dc->dcOrg.y);
    }
    if (left >= right || top >= bottom) return RECT{0, 0, 0, 0};
    return RECT{LONG(left), LONG(top), LONG(right), LONG(bottom)};
}
// Normalises and intersects; returns false when the result is empty.
bool ClipRect(RECT& rc, const RECT& clip);

// ---- 4. Pixels ---------------------------------------------------------------------------
inline uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ToColorRef(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
// System colour indexes passed as (HBRUSH)(index + 1) stand for that colour.
// False for null/hollow brushes and invalid handles.
bool BrushColor(HBRUSH hbr, DC* dc, COLORREF* out);
// The selected pen's colour (DC_PEN follows SetDCPenColor); false for PS_NULL.
bool PenColor(DC* dc, COLORREF* out, int* width);
// Monochrome surfaces keep the nearer of black and white.
inline uint32_t MonoPixel(uint32_t p) {
    return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) > 382 ? 0xFFFFFF : 0;
}
inline uint32_t SurfacePixel(const Bitmap* bmp, COLORREF c) {
    return bmp->IsMono() ? MonoPixel(ToPixel(c)) : ToPixel(c);
}

// ---- 5. Fills and row copies shared with text/ ----------------------------------------------
// Stores count copies of one pixel. Four pixels per store (a 16-byte memcpy becomes one
// unaligned vector store), sixteen per turn of the loop, the last one to three pixels one
// more store overlapping pixels already written. Runs of 64 or more (a narrow background
// stretched over a strip, a wide fill row) go to the C library's wmemset, which fills
// 32-bit units with the widest stores the processor has (wchar_t is 32-bit here).
inline void FillPixels(uint32_t* d, size_t count, uint32_t pixel) {
    static_assert(sizeof(wchar_t) == sizeof(uint32_t));
    if (count >= 64) {
        std::wmemset(reinterpret_cast<wchar_t*>(d), static_cast<wchar_t>(pixel), count);
        return;
    }
    if (count < 4) {
        for (size_t i = 0; i < count; ++i) d[i] = pixel;
        return;
    }
    const uint32_t quad[4] = {pixel, pixel, pixel, pixel};
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        std::memcpy(d + i, quad, sizeof quad);
        std::memcpy(d + i + 4, quad, sizeof quad);
        std::memcpy(d + i + 8, quad, sizeof quad);
        std::memcpy(d + i + 12, quad, sizeof quad);
    }
    for (; i + 4 <= count; i += 4) std::memcpy(d + i, quad, sizeof quad);
    if (i < count) std::memcpy(d + count - 4, quad, sizeof quad);
}

// Fills a surface rectangle (left/top inclusive) clipped to EffectiveClip(dc). The pixel
// is 0x00RRGGBB; on a monochrome surface it becomes black or white.
void FillSurfaceRect(DC* dc, RECT surface_rect, uint32_t pixel);

// Short rows (a narrow element's rows) move in 16-byte pieces instead of a library call
// per row; pieces may overlap. Up to 64 bytes it is four pieces without a loop.
inline void CopyRow(uint8_t* d, const uint8_t* s, size_t bytes) {
    if (bytes < 16 || bytes > 128) {
        memcpy(d, s, bytes);
        return;
    }
    if (bytes <= 64) {
        struct Piece {
            uint64_t lo, hi;
        };
        const size_t o1 = bytes < 32 ? bytes - 16 : 16, o2 = bytes < 48 ? bytes - 16 : 32, o3 = bytes - 16;
        Piece p0, p1, p2, p3;
        memcpy(&p0, s, 16);
        memcpy(&p1, s + o1, 16);
        memcpy(&p2, s + o2, 16);
        memcpy(&p3, s + o3, 16);
        memcpy(d, &p0, 16);
        memcpy(d + o1, &p1, 16);
        memcpy(d + o2, &p2, 16);
        memcpy(d + o3, &p3, 16);
        return;
    }
    for (size_t i = 0; i + 16 < bytes; i += 16) memcpy(d + i, s + i, 16);
    memcpy(d + bytes - 16, s + bytes - 16, 16);
}

// Rows 1..rows-1 (stride bytes apart, may be negative) take row 0's first rowBytes bytes.
// Contiguous rows (stride == rowBytes) copy in doubling blocks: a full-width fill or a
// vertical stretch costs a few copies instead of one per row.
void RepeatFirstRow(uint8_t* first, ptrdiff_t stride, size_t rowBytes, int rows);

}  // namespace gdi
